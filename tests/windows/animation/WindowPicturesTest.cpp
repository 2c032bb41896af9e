// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the program carries and the windows that show them: the worms' frames,
// timing and loops as the program plays them, the kept files being what the drawing tool
// draws, the About window's frog following the animation switch, and the still pictures
// of the About, test and affix windows.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <numeric>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "AnimatedPicture.h"
#include "FindControl.h"
#include "Main.h"
#include "Notify.h"
#include "Pictures.h"
#include "PixelPictures.h"
#include "TestPanel.h"
#include "side/SideTesting.h"

namespace vantrel {
namespace {

using testing::ShowActive;
using testing::TestServices;

TEST(Pictures, TheWormsPlayTheirTwentyTwoFramesWithTheDesignTiming) {
  struct Row {
    const char* file;
    QSize size;
    int loopCount;  // -1: for ever
  };
  for (const Row& row : {Row{"worm-left.gif", {33, 23}, -1}, Row{"worm-right.gif", {33, 23}, -1},
                         Row{"worm-top.gif", {23, 33}, 0}, Row{"worm-bottom.gif", {23, 33}, -1}}) {
    SCOPED_TRACE(row.file);
    const AnimationFrames frames = DecodeAnimation(PicturePath(row.file)).value;
    ASSERT_EQ(frames.images.size(), 22u);
    EXPECT_EQ(frames.loopCount, row.loopCount);
    std::vector<int> played;
    for (std::size_t i = 0; i < frames.images.size(); ++i) {
      EXPECT_EQ(frames.images[i].size(), row.size);
      played.push_back(PlayedDelayMs(frames.storedDelays[i]));
      EXPECT_EQ(played.back(), PlayedDelayMs(pictures::kWormDelays[i])) << "frame " << i + 1;
    }
    // Moving for about 8.6 seconds, then resting on the last frame for 18.
    EXPECT_EQ(std::accumulate(played.begin(), played.end() - 1, 0), 8580);
    EXPECT_EQ(played.back(), 18000);
    // See-through around the worm, and a worm there in the end.
    const QImage& last = frames.images.back();
    EXPECT_EQ(qAlpha(last.pixel(0, 0)), 0);
    int opaque = 0;
    for (int y = 0; y < last.height(); ++y) {
      for (int x = 0; x < last.width(); ++x) {
        opaque += qAlpha(last.pixel(x, y)) == 255 ? 1 : 0;
      }
    }
    EXPECT_GT(opaque, last.width() * last.height() / 5);
  }
}

TEST(Pictures, TheKeptFilesAreWhatTheDrawingToolDraws) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::vector<pictures::Picture> drawn = pictures::DrawAllPictures();
  EXPECT_EQ(drawn.size(), 8u);
  for (const pictures::Picture& picture : drawn) {
    SCOPED_TRACE(picture.fileName);
    const QString written = dir.filePath(QString::fromStdString(picture.fileName));
    ASSERT_TRUE(pictures::WriteGif(picture, written.toStdString()).IsOk());
    QFile fresh(written);
    QFile kept(PicturePath(picture.fileName.c_str()));
    ASSERT_TRUE(fresh.open(QIODevice::ReadOnly));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly))
        << "run vantrel-drawgifs assets/pictures and add the file to the resources";
    EXPECT_TRUE(fresh.readAll() == kept.readAll())
        << "run vantrel-drawgifs assets/pictures after changing a drawing";
  }
}

TEST(Pictures, TheFrogPlaysForEverAndTheStillPicturesAreSingleFrames) {
  const AnimationFrames frog = DecodeAnimation(PicturePath("frog.gif")).value;
  EXPECT_GT(frog.images.size(), 4u);
  EXPECT_EQ(frog.loopCount, -1);
  for (const char* file : {"about.gif", "banner.gif", "caution.gif"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(DecodeAnimation(PicturePath(file)).value.images.size(), 1u);
    EXPECT_FALSE(StillPicture(file).isNull());
  }
}

class SideWindowPicturesTest : public ::testing::Test {
 protected:
  TestServices env;
  TAboutForm about{env.services};
  TTestForm test{env.services};

  void SetUp() override { test.SetAboutForm(&about); }

  // OK in the test window with the check box ticked or not.
  void SwitchInTestWindow(bool on) {
    test.ShowModeless();
    ASSERT_TRUE(ShowActive(test));
    if (testing::Find<QCheckBox>(test, "AnimationCheckBox")->isChecked() != on) {
      QTest::mouseClick(
          testing::Find<QCheckBox>(test, "AnimationCheckBox"), Qt::LeftButton, {},
          QPoint(6, testing::Find<QCheckBox>(test, "AnimationCheckBox")->height() / 2));
    }
    QTest::mouseClick(testing::Find<QPushButton>(test, "OKBtn"), Qt::LeftButton);
    ASSERT_EQ(env.state.AnimationOn, on);
  }
};

TEST_F(SideWindowPicturesTest, TheFrogPlaysWhileTheAnimationIsOnAndIsHiddenWhileItIsOff) {
  AnimatedPicture* frog = testing::Find<AnimatedPicture>(about, "Frog");
  // Read when it first shows, so that a run without the animation never decodes it.
  EXPECT_EQ(frog->FrameCount(), 0);
  EXPECT_TRUE(frog->testAttribute(Qt::WA_TransparentForMouseEvents));

  about.ShowModal();
  EXPECT_FALSE(frog->isVisibleTo(&about));
  EXPECT_FALSE(frog->IsPlaying());

  SwitchInTestWindow(true);
  EXPECT_TRUE(frog->isVisibleTo(&about));
  EXPECT_TRUE(frog->IsPlaying());
  EXPECT_EQ(frog->FrameCount(), 15);
  EXPECT_EQ(frog->size(), frog->PictureSize()) << "the frog's place fits its picture";

  // At a showing of the About window the frog moves from one frame to the next.
  env.dialogs.onExec.push_back([frog](QDialog& dialog) {
    dialog.show();
    EXPECT_TRUE(frog->isVisible());
    EXPECT_EQ(frog->CurrentFrame(), 0);
    EXPECT_TRUE(QTest::qWaitFor([frog] { return frog->CurrentFrame() > 0; }, 4000));
    dialog.accept();
  });
  about.ShowModal();

  SwitchInTestWindow(false);
  EXPECT_FALSE(frog->isVisibleTo(&about));
  EXPECT_FALSE(frog->IsPlaying());

  // Switched on behind the test window's back: the next showing follows it.
  env.state.AnimationOn = true;
  about.ShowModal();
  EXPECT_TRUE(frog->isVisibleTo(&about));
}

TEST_F(SideWindowPicturesTest, TheAboutAndTestWindowsShowTheirPictures) {
  const QLabel* icon = about.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->pixmap().size(), StillPicture("about.gif").size());
  const QLabel* banner = test.findChild<QLabel*>(QStringLiteral("Banner"));
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->pixmap().size(), QSize(112, 34));
  const QLabel* caution = test.findChild<QLabel*>(QStringLiteral("CautionImage"));
  ASSERT_NE(caution, nullptr);
  EXPECT_EQ(caution->pixmap().toImage(), StillPicture("caution.gif").toImage());
}

TEST_F(SideWindowPicturesTest, TheTestWindowsNoteNamesTheSettingsFileAndTheValue) {
  const QPlainTextEdit* note = test.findChild<QPlainTextEdit*>(QStringLiteral("AnimationMemo"));
  ASSERT_NE(note, nullptr);
  const QStringList lines = note->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("If animation  causes problems")));
  EXPECT_TRUE(lines[1].contains(QStringLiteral("\"Animation On\"")));
  EXPECT_TRUE(lines[1].contains(QStringLiteral("dword:00000000")));
  EXPECT_EQ(lines[2], env.store.FilePath());
  EXPECT_EQ(lines[3], QStringLiteral(" "));
  EXPECT_TRUE(note->isReadOnly());
}

TEST(AffixWindowPicture, TheAffixWindowShowsTheCautionPicture) {
  TestServices env;
  TMainForm form(env.services);
  TAffixForm affix(form.Model(), env.services, &form);
  const QLabel* caution = affix.findChild<QLabel*>(QStringLiteral("CautionImage"));
  ASSERT_NE(caution, nullptr);
  EXPECT_EQ(caution->pixmap().toImage(), StillPicture("caution.gif").toImage());
}

}  // namespace
}  // namespace vantrel
