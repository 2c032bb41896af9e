// SPDX-License-Identifier: GPL-3.0-or-later
#include "Pictures.h"

#include <QImageReader>
#include <QtGlobal>

#include "AnimatedPicture.h"
#include "DialogParts.h"

// The pictures are compiled into a static library; nothing refers to them by symbol, so
// the linker would drop them unless they are registered by name.
static void RegisterPictures() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(vantrel_pictures);
    return true;
  }();
  (void)registered;
}

namespace vantrel {

QString PicturePath(const char* fileName) {
  RegisterPictures();
  return QStringLiteral(":/pictures/") + QLatin1String(fileName);
}

QPixmap StillPicture(const char* fileName) {
  const QString path = PicturePath(fileName);
  QImageReader reader(path);
  const QImage image = reader.read();
  if (image.isNull()) {
    qWarning("The picture %s cannot be read: %s", qPrintable(path),
             qPrintable(reader.errorString()));
    return QPixmap();
  }
  return QPixmap::fromImage(image);
}

AnimatedPicture* NewAnimatedPicture(QWidget* parent, const char* objectName, const char* fileName,
                                    QSize size) {
  auto* picture = new AnimatedPicture(parent);
  picture->setObjectName(QLatin1String(objectName));
  picture->hide();
  // The program's animations only decorate; a screen reader has nothing to say of them.
  HideFromScreenReader(picture);
  if (size.isValid()) {
    picture->setFixedSize(size);
    picture->LoadWhenShown(PicturePath(fileName));
    return picture;
  }
  if (const Status loaded = picture->Load(PicturePath(fileName)); !loaded.IsOk()) {
    qWarning("%s", loaded.Reason().c_str());
  }
  picture->setFixedSize(picture->PictureSize().expandedTo(QSize(0, 0)));
  return picture;
}

}  // namespace vantrel
