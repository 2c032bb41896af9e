// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a window comes back at the next start. A stored place is used only while the
// desktop still shows it: after a monitor has been unplugged, or with a hand-edited
// value, the window would otherwise open where nobody can see it or reach its title bar.
// A stored column width too narrow to see or to grab takes the design width.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>
#include <optional>

#include "SettingsTable.h"

class QWidget;

namespace vantrel {

// How much of a window's top edge must lie on one screen, in pixels across, for the user
// to see the window and drag it by its title bar.
inline constexpr int kShownWidth = 40;
// The strip along the top edge that must lie on that screen from top to bottom.
inline constexpr int kTitleStrip = 20;
// Narrower stored columns take their design width.
inline constexpr int kMinStoredColumnWidth = 10;

// The place for a window of the stored place and size, given the available areas of the
// screens (the primary one first): the stored place when enough of its top edge is on one
// of them, otherwise the design place, moved onto the primary screen when even that is
// off it.
QPoint PlaceOnScreens(QPoint stored, QSize size, QPoint design, const QList<QRect>& screens);

// No window is made larger than this where no screen is known.
inline constexpr int kMaxWindowExtent = 8192;

// The size for a window of the stored size: a width or height larger than the largest
// screen's area (a hand-edited value, or one from a far larger monitor) is replaced by
// the design value, for a window that large would take the memory of its picture and be
// of no use.
QSize SizeOnScreens(QSize stored, QSize design, const QList<QRect>& screens);
// The same on the screens of this desktop.
QSize SizeOnScreen(QSize stored, QSize design);

// The size of a window, also while its place lies at the edge of the integers, where
// QWidget::size() would overflow.
QSize WindowSize(const QWidget& window);

// The same on the screens of this desktop.
QPoint PlaceOnScreen(QPoint stored, QSize size, QPoint design);

int StoredColumnWidth(qint32 stored, int design);
// The same with the design width of the setting.
int StoredColumnWidth(qint32 stored, Setting setting);

// The design place of a window: the design values of its left and top settings.
QPoint DesignPlace(Setting left, Setting top);

// The settings that keep a window's place, and its size where it keeps one.
struct PlaceSettings {
  Setting top;
  Setting left;
  std::optional<Setting> width;
  std::optional<Setting> height;
};

// Moves or resizes the window as a stored value of its place says; false for a setting
// that is no part of the place, which the window applies itself.
bool ApplyPlace(QWidget& window, const PlaceSettings& place, Setting setting,
                const SettingValue& value);
// What the window's place gives for the setting: its top and left edges, its width and
// height where it keeps them; nothing for any other setting.
std::optional<SettingValue> StoredPlace(const QWidget& window, const PlaceSettings& place,
                                        Setting setting);

// A window that keeps values between runs. The main window writes them all at its close,
// in the table's order, asking each window for the values it owns (those the window reads
// at its start); a window not made yet gives none, and the design value is written.
class KeepsSettings {
 public:
  // What the window would store now for the setting; nothing when it owns no such value.
  virtual std::optional<SettingValue> Stored(Setting setting) const = 0;

 protected:
  ~KeepsSettings() = default;
};

}  // namespace vantrel
