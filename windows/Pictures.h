// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures, kept in its resources (drawn by tools/vantrel-drawgifs into
// assets/pictures/).

#include <QPixmap>
#include <QString>

class QWidget;

namespace vantrel {

class AnimatedPicture;

// The resource path of a picture: ":/pictures/" and its file name.
QString PicturePath(const char* fileName);

// A still picture, or an empty one (with a warning on the console) when it cannot be read.
QPixmap StillPicture(const char* fileName);

// A hidden picture control holding an animated picture, stopped on its first frame and as
// large as the picture, or as size when that is given; with a size, the picture is decoded
// only when the control is first shown. A picture that cannot be read leaves the control
// empty, with a warning on the console.
AnimatedPicture* NewAnimatedPicture(QWidget* parent, const char* objectName, const char* fileName,
                                    QSize size = QSize());

}  // namespace vantrel
