// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnimatedPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <utility>

#include "GifLayout.h"

namespace vantrel {

int PlayedDelayMs(int storedDelay) {
  constexpr int kMillisecondsPerUnit = 12;
  if (storedDelay <= 0) {
    storedDelay = 10;
  } else if (storedDelay < 3) {
    storedDelay = 3;
  }
  // A delay is at most 65535 hundredths in a file; larger values come from no file.
  return std::min(storedDelay, 65535) * kMillisecondsPerUnit;
}

Result<AnimationFrames> DecodeAnimation(QIODevice& device, const QString& name) {
  auto fail = [&name](const QString& why) -> Result<AnimationFrames> {
    return {{}, {StatusCode::kMalformed, (name + QLatin1Char(' ') + why).toStdString()}};
  };
  const QByteArray data = device.readAll();
  const GifLayout layout = ScanGifLayout(std::string_view(data.constData(), data.size()));
  if (!layout.Whole()) {
    return fail(QString::fromStdString(layout.status.Reason()));
  }

  QByteArray copy = data;
  QBuffer buffer(&copy);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "gif");
  AnimationFrames frames;
  frames.loopCount = reader.loopCount();
  // The delays as stored: Qt's reader reports 1 hundredth as 100 milliseconds, which
  // would play it as slowly as 10.
  frames.storedDelays = layout.delays;
  while (static_cast<int>(frames.images.size()) < layout.frames) {
    QImage image = reader.read();
    if (image.isNull()) {
      return fail(QStringLiteral("cannot be decoded at frame %1: %2")
                      .arg(frames.images.size() + 1)
                      .arg(reader.errorString()));
    }
    frames.images.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  }
  return {std::move(frames), Status()};
}

Result<AnimationFrames> DecodeAnimation(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {{},
            {StatusCode::kCannotOpen,
             (path + QStringLiteral(" cannot be opened: ") + file.errorString()).toStdString()}};
  }
  return DecodeAnimation(file, path);
}

// ----- playback -----

void AnimationPlayback::SetFrames(std::vector<int> storedDelays, int loopCount) {
  delays_ = std::move(storedDelays);
  loopCount_ = loopCount;
  frame_ = 0;
  run_ = 0;
  playing_ = false;
}

void AnimationPlayback::Restart() {
  frame_ = 0;
  run_ = 1;
  playing_ = delays_.size() > 1;
}

int AnimationPlayback::DelayMs() const {
  return delays_.empty() ? 0 : PlayedDelayMs(delays_[static_cast<std::size_t>(frame_)]);
}

void AnimationPlayback::Advance() {
  if (!playing_) {
    return;
  }
  if (frame_ + 1 < FrameCount()) {
    ++frame_;
    return;
  }
  // The end of a run: the loop count says how many more follow.
  if (loopCount_ < 0 || run_ <= loopCount_) {
    ++run_;
    frame_ = 0;
    return;
  }
  playing_ = false;
}

// ----- the control -----

AnimatedPicture::AnimatedPicture(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // Only the picture's own pixels are drawn; what lies beneath shows through the rest.
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &AnimatedPicture::FrameTimeOver);
}

Status AnimatedPicture::Load(const QString& path) {
  Result<AnimationFrames> frames = DecodeAnimation(path);
  if (frames.IsOk()) {
    SetFrames(std::move(frames.value));
  }
  return std::move(frames.status);
}

void AnimatedPicture::LoadWhenShown(const QString& path) {
  pending_ = path;
}

void AnimatedPicture::LoadPending() {
  if (pending_.isEmpty()) {
    return;
  }
  const QString path = std::exchange(pending_, QString());
  if (const Status loaded = Load(path); !loaded.IsOk()) {
    qWarning("%s", loaded.Reason().c_str());
  }
}

void AnimatedPicture::SetFrames(AnimationFrames frames) {
  pending_.clear();
  timer_.stop();
  frames_ = std::move(frames);
  playback_.SetFrames(frames_.storedDelays, frames_.loopCount);
  updateGeometry();
  update();
}

QSize AnimatedPicture::PictureSize() const {
  return frames_.images.empty() ? QSize() : frames_.images.front().size();
}

QImage AnimatedPicture::CurrentImage() const {
  return frames_.images.empty() ? QImage()
                                : frames_.images[static_cast<std::size_t>(playback_.Frame())];
}

void AnimatedPicture::Restart() {
  LoadPending();
  playback_.Restart();
  StartFrameTimer();
  update();
  emit FrameShown(playback_.Frame());
}

void AnimatedPicture::Stop() {
  // Called at every tick for every worm, playing or not: nothing to do is the usual case.
  if (!playback_.Playing()) {
    return;
  }
  playback_.Stop();
  timer_.stop();
}

void AnimatedPicture::StartFrameTimer() {
  if (playback_.Playing() && isVisible()) {
    timer_.start(playback_.DelayMs());
  } else {
    timer_.stop();
  }
}

void AnimatedPicture::FrameTimeOver() {
  playback_.Advance();
  StartFrameTimer();
  if (playback_.Playing()) {
    update();
    emit FrameShown(playback_.Frame());
  } else {
    emit Finished();
  }
}

void AnimatedPicture::paintEvent(QPaintEvent* event) {
  if (frames_.images.empty()) {
    return;
  }
  QPainter painter(this);
  painter.setClipRegion(event->region());
  painter.drawImage(0, 0, CurrentImage());
}

void AnimatedPicture::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  LoadPending();
  // The frame shown when the picture was hidden gets its whole time again.
  StartFrameTimer();
}

void AnimatedPicture::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  timer_.stop();
}

}  // namespace vantrel
