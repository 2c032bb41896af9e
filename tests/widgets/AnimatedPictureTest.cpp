// SPDX-License-Identifier: GPL-3.0-or-later
// The animated picture player: the played delays, the loop count, the layout walk that
// refuses damaged files, and the control playing, hiding and drawing see-through. Test
// pictures are written with the drawing tool's GIF writer.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "AnimatedPicture.h"
#include "GifLayout.h"
#include "PixelPictures.h"

namespace vantrel {
namespace {

// A 4 by 3 picture whose frames differ in one pixel; pixel (3, 2) is see-through.
pictures::Picture TestPicture(const std::vector<int>& delays, std::optional<int> loops) {
  pictures::Picture picture;
  picture.fileName = "test.gif";
  picture.width = 4;
  picture.height = 3;
  picture.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  picture.transparent = true;
  picture.loops = loops;
  for (std::size_t i = 0; i < delays.size(); ++i) {
    std::vector<std::uint8_t> pixels(12, 1);
    pixels[11] = 0;
    pixels[0] = static_cast<std::uint8_t>(1 + i % 3);
    picture.frames.push_back({pixels, delays[i]});
  }
  return picture;
}

QByteArray GifBytes(const pictures::Picture& picture) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("picture.gif"));
  EXPECT_TRUE(pictures::WriteGif(picture, path.toStdString()).IsOk());
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

Result<AnimationFrames> DecodeResult(QByteArray bytes) {
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return DecodeAnimation(buffer, QStringLiteral("test.gif"));
}

AnimationFrames Decode(const QByteArray& bytes) {
  Result<AnimationFrames> frames = DecodeResult(bytes);
  EXPECT_TRUE(frames.IsOk()) << frames.status;
  return std::move(frames.value);
}

// Empty when the bytes decode; a refusal must be kMalformed and say why.
std::string LoadProblem(const QByteArray& bytes) {
  const Result<AnimationFrames> frames = DecodeResult(bytes);
  if (!frames.IsOk()) {
    EXPECT_EQ(frames.status.Code(), StatusCode::kMalformed) << frames.status;
  }
  return frames.status.Reason();
}

TEST(PlayedDelay, StoredHundredthsPlayAsTwelveMillisecondsWithTheShortDelaysRaised) {
  struct Row {
    int stored;
    int played;
  };
  for (const Row& row :
       {Row{0, 120}, Row{1, 36}, Row{2, 36}, Row{3, 36}, Row{4, 48}, Row{10, 120}, Row{25, 300},
        Row{30, 360}, Row{300, 3600}, Row{1500, 18000}, Row{65535, 786420}, Row{-1, 120}}) {
    SCOPED_TRACE(row.stored);
    EXPECT_EQ(PlayedDelayMs(row.stored), row.played);
  }
}

TEST(GifWriter, APixelOutsideThePaletteIsRefused) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("picture.gif")).toStdString();
  for (const int index : {3, 4, 255}) {
    SCOPED_TRACE(index);
    pictures::Picture picture = TestPicture({10}, std::nullopt);  // four colours
    picture.frames[0].pixels[5] = static_cast<std::uint8_t>(index);
    if (index < 4) {
      EXPECT_TRUE(pictures::WriteGif(picture, path).IsOk());
    } else {
      EXPECT_EQ(
          pictures::WriteGif(picture, path),
          Status(StatusCode::kMalformed, path + ": a pixel uses a colour outside the palette"));
    }
  }
}

TEST(DecodeAnimation, EveryStoredDelayIsPlayedAsStored) {
  const std::vector<int> stored = {0, 1, 2, 3, 7, 30, 255, 1500, 65535};
  const AnimationFrames frames = Decode(GifBytes(TestPicture(stored, 0)));
  ASSERT_EQ(frames.images.size(), stored.size());
  for (std::size_t i = 0; i < stored.size(); ++i) {
    SCOPED_TRACE(stored[i]);
    EXPECT_EQ(PlayedDelayMs(frames.storedDelays[i]), PlayedDelayMs(stored[i]));
  }
  EXPECT_EQ(frames.images[0].size(), QSize(4, 3));
  EXPECT_EQ(qAlpha(frames.images[0].pixel(3, 2)), 0);
  EXPECT_EQ(frames.images[0].pixel(1, 0), qRgb(255, 0, 0));
}

TEST(DecodeAnimation, TheLoopBlockGivesTheRepeats) {
  struct Row {
    std::optional<int> stored;
    int loopCount;
  };
  for (const Row& row : {Row{std::nullopt, 0}, Row{0, -1}, Row{1, 1}, Row{2, 2}}) {
    SCOPED_TRACE(row.stored.value_or(-100));
    EXPECT_EQ(Decode(GifBytes(TestPicture({5, 5}, row.stored))).loopCount, row.loopCount);
  }
}

TEST(DecodeAnimation, EveryCutOfAFileIsRefusedWithItsReason) {
  const QByteArray whole = GifBytes(TestPicture({5, 5, 5}, 0));
  ASSERT_EQ(Decode(whole).images.size(), 3u);
  for (qsizetype length = 0; length < whole.size(); ++length) {
    SCOPED_TRACE(length);
    const std::string problem = LoadProblem(whole.left(length));
    ASSERT_FALSE(problem.empty());
    EXPECT_EQ(problem.rfind("test.gif ", 0), 0u) << problem;
  }
  EXPECT_EQ(LoadProblem(whole.left(whole.size() - 1)),
            "test.gif ends after frame 3 without its end mark");
  // Bytes after the end mark are no part of the picture.
  EXPECT_EQ(Decode(whole + QByteArray("trailing bytes")).images.size(), 3u);
}

TEST(GifLayout, DamagedLayoutsAreNamed) {
  const QByteArray whole = GifBytes(TestPicture({5, 5, 5}, 0));
  const std::string_view bytes(whole.constData(), static_cast<std::size_t>(whole.size()));
  const GifLayout good = ScanGifLayout(bytes);
  EXPECT_TRUE(good.Whole());
  EXPECT_EQ(good.frames, 3);
  EXPECT_EQ(good.width, 4);
  EXPECT_EQ(good.height, 3);
  EXPECT_EQ(good.delays, (std::vector<int>{5, 5, 5}));

  // Where the frames start: the header, the screen and its four colours, the loop block.
  const std::size_t firstBlock = 6 + 7 + 12 + 19;
  ASSERT_EQ(whole[static_cast<qsizetype>(firstBlock)], '\x21');
  std::string noFrames(bytes.substr(0, 6 + 7 + 12));
  noFrames += '\x3b';
  std::string noSize(bytes);
  noSize[6] = noSize[7] = 0;
  std::string strayBlock(bytes);
  strayBlock[firstBlock] = '\x99';
  struct Row {
    const char* name;
    std::string data;
    std::string problem;
  };
  const std::vector<Row> rows = {
      {"empty", "", "is not a GIF picture"},
      {"a PNG", "\x89PNG\r\n\x1a\n", "is not a GIF picture"},
      {"the header alone", "GIF89a", "ends inside its header"},
      {"cut in the colours", std::string(bytes.substr(0, 20)), "ends inside its colour table"},
      {"no frame", noFrames, "holds no frame"},
      {"no size", noSize, "has no size"},
      {"a stray block", strayBlock, "is damaged before frame 1"},
      {"cut in the loop block", std::string(bytes.substr(0, firstBlock + 5)),
       "ends inside a block before frame 1"},
      {"cut before the first frame", std::string(bytes.substr(0, firstBlock)),
       "ends before its first frame"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ScanGifLayout(row.data).status, Status(StatusCode::kMalformed, row.problem));
  }
  // Cut before the end of the last frame's pixels.
  const GifLayout cut = ScanGifLayout(bytes.substr(0, bytes.size() - 2));
  EXPECT_EQ(cut.status, Status(StatusCode::kMalformed, "ends inside frame 3"));
}

TEST(DecodeAnimation, AFileThatCannotBeOpenedSaysSo) {
  const Result<AnimationFrames> frames = DecodeAnimation(QStringLiteral("/nonexistent/worm.gif"));
  EXPECT_EQ(frames.status.Code(), StatusCode::kCannotOpen);
  EXPECT_NE(frames.status.Reason().find("/nonexistent/worm.gif cannot be opened"),
            std::string::npos)
      << frames.status;
}

// ----- playback -----

std::vector<int> FramesUntilTheEnd(AnimationPlayback& playback, int limit) {
  std::vector<int> frames{playback.Frame()};
  for (int i = 0; i < limit && playback.Playing(); ++i) {
    playback.Advance();
    if (playback.Playing()) {
      frames.push_back(playback.Frame());
    }
  }
  return frames;
}

TEST(AnimationPlayback, TheLoopCountSaysHowOftenTheFramesRepeat) {
  struct Row {
    int loopCount;
    std::vector<int> frames;
  };
  for (const Row& row :
       {Row{0, {0, 1, 2}}, Row{1, {0, 1, 2, 0, 1, 2}}, Row{2, {0, 1, 2, 0, 1, 2, 0, 1, 2}}}) {
    SCOPED_TRACE(row.loopCount);
    AnimationPlayback playback;
    playback.SetFrames({5, 5, 5}, row.loopCount);
    EXPECT_FALSE(playback.Playing());
    playback.Restart();
    EXPECT_EQ(FramesUntilTheEnd(playback, 100), row.frames);
    // It ends on the last frame.
    EXPECT_FALSE(playback.Playing());
    EXPECT_EQ(playback.Frame(), 2);
  }
  AnimationPlayback endless;
  endless.SetFrames({5, 5, 5}, -1);
  endless.Restart();
  EXPECT_EQ(FramesUntilTheEnd(endless, 10000).size(), 10001u);
  EXPECT_TRUE(endless.Playing());
}

TEST(AnimationPlayback, AWormsFramesTakeEightAndAHalfSecondsThenRestEighteen) {
  AnimationPlayback playback;
  playback.SetFrames(pictures::kWormDelays, 0);
  playback.Restart();
  int moving = 0;
  for (int frame = 0; frame < 21; ++frame) {
    ASSERT_EQ(playback.Frame(), frame);
    moving += playback.DelayMs();
    playback.Advance();
  }
  EXPECT_EQ(moving, 8580);
  EXPECT_EQ(playback.Frame(), 21);
  EXPECT_EQ(playback.DelayMs(), 18000);
}

TEST(AnimationPlayback, RestartGoesBackToTheFirstFrameAndTheFirstRun) {
  AnimationPlayback playback;
  playback.SetFrames({5, 5, 5}, 1);
  playback.Restart();
  for (int i = 0; i < 4; ++i) {
    playback.Advance();
  }
  ASSERT_EQ(playback.Run(), 2);
  playback.Restart();
  EXPECT_EQ(playback.Frame(), 0);
  EXPECT_EQ(playback.Run(), 1);
  EXPECT_EQ(FramesUntilTheEnd(playback, 100).size(), 6u);

  AnimationPlayback still;
  still.SetFrames({0}, -1);
  still.Restart();
  EXPECT_FALSE(still.Playing());
}

// ----- the control -----

class AnimatedPictureControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath(QStringLiteral("fast.gif"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GifBytes(TestPicture({3, 3, 3}, 1)));  // 36 ms a frame, two runs
    file.close();
    parent.resize(40, 30);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, QColor(10, 200, 30));
    parent.setPalette(palette);
    picture = new AnimatedPicture(&parent);
    EXPECT_TRUE(picture->Load(path).IsOk());
    picture->setGeometry(5, 5, 10, 10);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  }

  QTemporaryDir dir;
  QString path;
  QWidget parent;
  AnimatedPicture* picture = nullptr;
};

TEST_F(AnimatedPictureControlTest, PlaysEveryFrameOfEveryRunAtItsPaceAndStopsOnTheLast) {
  QSignalSpy shown(picture, &AnimatedPicture::FrameShown);
  QSignalSpy finished(picture, &AnimatedPicture::Finished);
  QElapsedTimer clock;
  clock.start();
  picture->Restart();
  ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 5000));
  // Six frames of 36 ms each, the last one's time included.
  EXPECT_GE(clock.elapsed(), 6 * 36 - 10);
  std::vector<int> frames;
  for (const QList<QVariant>& signal : shown) {
    frames.push_back(signal.at(0).toInt());
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 0, 1, 2}));
  EXPECT_FALSE(picture->IsPlaying());
  EXPECT_EQ(picture->CurrentFrame(), 2);
}

TEST_F(AnimatedPictureControlTest, StopEndsThePlayingAtOnceAndIsHarmlessWhenStopped) {
  picture->Stop();
  EXPECT_FALSE(picture->IsPlaying());
  picture->Restart();
  ASSERT_TRUE(QTest::qWaitFor([&] { return picture->CurrentFrame() == 1; }, 3000));
  picture->Stop();
  QSignalSpy shown(picture, &AnimatedPicture::FrameShown);
  QTest::qWait(150);
  EXPECT_EQ(shown.count(), 0);
  EXPECT_EQ(picture->CurrentFrame(), 1);
  picture->Restart();
  EXPECT_EQ(picture->CurrentFrame(), 0);
  EXPECT_TRUE(picture->IsPlaying());
}

TEST_F(AnimatedPictureControlTest, AHiddenPictureWaitsAndGoesOnWhenShownAgain) {
  picture->Restart();
  picture->hide();
  QSignalSpy shown(picture, &AnimatedPicture::FrameShown);
  QTest::qWait(150);
  EXPECT_EQ(shown.count(), 0);
  EXPECT_TRUE(picture->IsPlaying());
  picture->show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return shown.count() > 0; }, 3000));
}

TEST_F(AnimatedPictureControlTest, DrawsSeeThroughAndLetsClicksPass) {
  EXPECT_TRUE(picture->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(parent.childAt(6, 6), nullptr);
  const QImage shot = parent.grab().toImage();
  // The picture's red at its top, its see-through corner showing the green beneath, and
  // the rest of the control, beyond the picture, the same.
  EXPECT_EQ(shot.pixelColor(5 + 1, 5), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(5 + 3, 5 + 2), QColor(10, 200, 30));
  EXPECT_EQ(shot.pixelColor(5 + 8, 5 + 8), QColor(10, 200, 30));
}

TEST_F(AnimatedPictureControlTest, ADamagedFileIsRefusedAndThePictureKept) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.resize(file.size() - 30);
  file.close();
  EXPECT_EQ(picture->Load(path).Code(), StatusCode::kMalformed);
  EXPECT_EQ(picture->FrameCount(), 3);
  EXPECT_EQ(picture->PictureSize(), QSize(4, 3));
}

// A picture loaded when shown costs nothing until then, whichever way it comes into sight:
// shown in its window, restarted while its window is hidden, or shown with its window.
TEST_F(AnimatedPictureControlTest, APictureLoadedWhenShownIsReadAtItsFirstSightOnly) {
  struct Way {
    const char* name;
    void (*show)(QWidget& window, AnimatedPicture& later);
  };
  const Way ways[] = {
      {"shown in its shown window",
       [](QWidget& window, AnimatedPicture& later) {
         window.show();
         later.show();
       }},
      {"restarted", [](QWidget&, AnimatedPicture& later) { later.Restart(); }},
      {"shown with its window",
       [](QWidget& window, AnimatedPicture& later) {
         later.show();
         window.show();
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    QWidget window;
    auto* later = new AnimatedPicture(&window);
    later->hide();
    later->LoadWhenShown(path);
    EXPECT_EQ(later->FrameCount(), 0) << "decoded before it was shown";
    way.show(window, *later);
    EXPECT_EQ(later->FrameCount(), 3);
    EXPECT_EQ(later->PictureSize(), QSize(4, 3));
  }

  // A file gone by then leaves the picture empty, with a warning instead of an error.
  QWidget window;
  auto* later = new AnimatedPicture(&window);
  later->LoadWhenShown(dir.filePath(QStringLiteral("gone.gif")));
  window.show();
  later->Restart();
  EXPECT_EQ(later->FrameCount(), 0);
  EXPECT_FALSE(later->IsPlaying());
}

}  // namespace
}  // namespace vantrel
