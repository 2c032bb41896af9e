// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// AnimatedPicture: a picture control that plays an animated GIF. Qt's GIF reader decodes
// every frame when the picture is loaded, so a damaged file is refused there and then,
// never half-way through playing. The frames are drawn at the control's top left corner
// over whatever lies beneath (see-through pixels stay see-through), and the control takes
// no mouse input: a click goes to what lies under it.
//
// Playing runs on the GUI thread, one timer per picture. Stop() has ended the playing
// when it returns, and stopping a picture that does not play costs a flag test. A hidden
// picture (or one whose window is hidden) keeps its place in the animation but draws and
// wakes nothing until it is shown again.

#include <QImage>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "Status.h"

class QIODevice;

namespace vantrel {

// How long a frame is shown, in milliseconds, for its stored delay d (hundredths of a
// second): d × 12 ms, a delay of 0 counting as 10 and one below 3 as 3. So the quick
// frames of a file keep a pace the eye can follow.
int PlayedDelayMs(int storedDelay);

struct AnimationFrames {
  std::vector<QImage> images;
  // Per frame, in hundredths of a second, as stored in the file.
  std::vector<int> storedDelays;
  // How often the animation repeats after its first run; -1 for ever.
  int loopCount = 0;
};

// Decodes every frame. name is used in the messages only. A picture that cannot be used
// is a Status whose reason names the picture and says why: kCannotOpen for a file that
// cannot be opened, kMalformed for data that is no picture Qt can read, holds no frame,
// or ends before its last frame does.
Result<AnimationFrames> DecodeAnimation(QIODevice& device, const QString& name);
Result<AnimationFrames> DecodeAnimation(const QString& path);

// Which frame shows and for how long, and when the animation ends: the bookkeeping of
// playing, without a timer.
class AnimationPlayback {
 public:
  // loopCount: how often the animation repeats after its first run; -1 for ever.
  void SetFrames(std::vector<int> storedDelays, int loopCount);

  // Back to the first frame, playing when there is more than one frame.
  void Restart();
  void Stop() { playing_ = false; }
  // Moves on from the current frame once its time is over. After the last frame the next
  // run starts at the first, or, when no run is left, playing ends on the last frame.
  void Advance();

  bool Playing() const { return playing_; }
  int Frame() const { return frame_; }
  int FrameCount() const { return static_cast<int>(delays_.size()); }
  // How long the current frame stays, in milliseconds.
  int DelayMs() const;
  // Runs begun so far, the first included.
  int Run() const { return run_; }

 private:
  std::vector<int> delays_;
  int loopCount_ = 0;
  int frame_ = 0;
  int run_ = 0;
  bool playing_ = false;
};

class AnimatedPicture : public QWidget {
  Q_OBJECT

 public:
  explicit AnimatedPicture(QWidget* parent = nullptr);

  // Decodes a picture and shows its first frame, stopped. On failure it keeps the picture
  // it had and returns why (as DecodeAnimation does).
  Status Load(const QString& path);
  void SetFrames(AnimationFrames frames);
  // Keeps the path and decodes the picture the first time it is shown or restarted, so
  // that a picture which may never show costs nothing while its window is built. A
  // picture that cannot be used then is reported as a warning and shows nothing.
  void LoadWhenShown(const QString& path);

  // Plays from the first frame, also when it was playing.
  void Restart();
  // Ends the playing; the frame shown stays.
  void Stop();

  bool IsPlaying() const { return playback_.Playing(); }
  int CurrentFrame() const { return playback_.Frame(); }
  int FrameCount() const { return playback_.FrameCount(); }
  int CurrentDelayMs() const { return playback_.DelayMs(); }
  int LoopCount() const { return frames_.loopCount; }
  const AnimationFrames& Frames() const { return frames_; }
  QSize PictureSize() const;
  QImage CurrentImage() const;

  QSize sizeHint() const override { return PictureSize(); }

 signals:
  // A new frame has become the current one (also the first, at a restart).
  void FrameShown(int frame);
  // The last run has ended; the last frame stays.
  void Finished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void FrameTimeOver();
  void StartFrameTimer();
  void LoadPending();

  AnimationFrames frames_;
  QString pending_;
  AnimationPlayback playback_;
  QTimer timer_;
};

}  // namespace vantrel
