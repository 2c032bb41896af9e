// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window keeps between runs: read at its creation, written at its close
// with the values of the other windows, and what the user is told when the settings file
// cannot be read or written.
#include <QSplitter>
#include <algorithm>

#include "AffixUnit.h"
#include "LayerGrid.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "SettingsTable.h"
#include "SuggestWindow.h"
#include "Texts.h"
#include "WindowPlace.h"

namespace vantrel {

QString BadLinesText(const Translator& translator, const std::vector<std::size_t>& lines) {
  if (lines.size() == 1) {
    return translator.Text(" could not be read in line ") + QString::number(lines.front());
  }
  // A handful of lines by number, the rest counted: the kept file holds them all.
  constexpr std::size_t kNamed = 5;
  const std::size_t named = std::min(lines.size(), kNamed);
  QString text = translator.Text(" could not be read in lines ");
  for (std::size_t i = 0; i < named; ++i) {
    if (i > 0) {
      text +=
          i + 1 == named && lines.size() == named ? translator.Text(" and ") : QStringLiteral(", ");
    }
    text += QString::number(lines[i]);
  }
  if (lines.size() > named) {
    text +=
        translator.Text(" and ") + QString::number(lines.size() - named) + translator.Text(" more");
  }
  return text;
}

RestoreResult TMainForm::RestoreWindowSettings() {
  const RestoreResult restored = RestoreSettings(
      services_.settings, kMainWindowReadOrder, [this](Setting setting, const SettingValue& value) {
        switch (setting) {
          case Setting::kLanguage:
            // The window follows as at every change of language (FollowLanguage).
            services_.translator.SelectLanguage(value.text);
            dictionary_.SetNoneInUse(Translate("No Dictionary Open"));
            break;
          case Setting::kDictionary:
            // A stored "No Dictionary Open" is the text shown while none is open; it
            // names no dictionary, even when a file of that name happens to exist. Nor
            // does a value longer than any path the system opens (a damaged or
            // hand-made file): it would fill the caption and the Open dialog, and be
            // stored again at every close.
            if (!value.text.isEmpty() && value.text != QLatin1String("No Dictionary Open") &&
                value.text.size() < kLongestPath && value.text.toStdString() != dictionary_.name) {
              dictionary_.SetInUse(value.text.toStdString());
            }
            break;
          case Setting::kFormTop:
            move(x(), value.integer);
            break;
          case Setting::kFormLeft:
            move(value.integer, y());
            break;
          case Setting::kFormWidth:
            resize(std::max(value.integer, kMinWidth), height());
            break;
          case Setting::kFormHeight:
            resize(width(), std::max(value.integer, kMinHeight));
            break;
          case Setting::kSelectedPanelHeight: {
            const int total = panel4_->sizes().value(0) + panel4_->sizes().value(1);
            const int selected = std::max(value.integer, selectedPanel_->minimumHeight());
            panel4_->setSizes({std::max(total - selected, 54), selected});
            selectedPanel_->resize(selectedPanel_->width(), selected);
            break;
          }
          case Setting::kWordWidth:
            possibleGrid_->SetColWidth(0, StoredColumnWidth(value.integer, Setting::kWordWidth));
            selectedGrid_->SetColWidth(0, possibleGrid_->ColWidth(0));
            break;
          case Setting::kNumberWidth:
            possibleGrid_->SetColWidth(1, StoredColumnWidth(value.integer, Setting::kNumberWidth));
            break;
          case Setting::kAnimationOn:
            services_.state.AnimationOn = value.IsOn();
            break;
          default:
            break;
        }
      });
  if (restored.Complete()) {
    selectedGrid_->SetColWidth(1, possibleGrid_->ColWidth(1));
  }
  resize(SizeOnScreen(WindowSize(*this),
                      {RowOf(Setting::kFormWidth).design, RowOf(Setting::kFormHeight).design}));
  move(PlaceOnScreen(pos(), WindowSize(*this), DesignPlace(Setting::kFormLeft, Setting::kFormTop)));
  for (const SettingsFileNotice& notice : services_.settings.TakeFileNotices()) {
    // A settings file that cannot be used is kept, never overwritten unnoticed.
    QString text = services_.translator.Text("The settings file ") + notice.filePath;
    if (!notice.badLines.empty() && !notice.keptAs.isEmpty()) {
      text += BadLinesText(services_.translator, notice.badLines) +
              services_.translator.Text(
                  ". Every other setting was kept; the original file was kept as ") +
              notice.keptAs;
    } else {
      text +=
          notice.keptAs.isEmpty()
              ? services_.translator.Text(" could not be read and was left as it is")
              : services_.translator.Text(" could not be read and was kept as ") + notice.keptAs;
    }
    services_.dialogs.Warning(this,
                              text + QStringLiteral(" (") + notice.reason + QStringLiteral(")"));
  }
  return restored;
}

void TMainForm::FormClose() {
  // The side windows' places are written with the others, so they must exist by now; the
  // suggestions' window too, which reads the place it had stored when it is made.
  MakeSideWindows();
  MakeSuggestWindow();
  const std::array<const KeepsSettings*, 5> keepers{this, lookupForm_, affixForm_, suggestForm_,
                                                    &services_.help};
  try {
    SaveSettings(services_.settings, kMainWindowWriteOrder, [&](Setting setting) {
      for (const KeepsSettings* keeper : keepers) {
        if (keeper != nullptr) {
          if (std::optional<SettingValue> value = keeper->Stored(setting)) {
            return *value;
          }
        }
      }
      return SettingDesignValue(setting);
    });
    if (notifyForm_ != nullptr) {
      notifyForm_->ShowNotifyForm();
    }
  } catch (const SettingsWriteError& error) {
    // A read-only or full disk is no fault of the program: the user is told which file
    // could not be written and why, and the run ends as it would have. The countdown does
    // not run, as its count could not be stored either.
    services_.dialogs.Warning(this, SettingsWriteWarning(services_.translator, error));
  }
}

std::optional<SettingValue> TMainForm::Stored(Setting setting) const {
  // The place is the frame's, the size the window's own, so that a restart puts the
  // window back exactly, whatever frame the desktop draws around it.
  switch (setting) {
    case Setting::kDictionary:
      return SettingValue::Text(QString::fromStdString(model_.KeptDictionary()));
    case Setting::kFormTop:
      return SettingValue::Integer(pos().y());
    case Setting::kFormLeft:
      return SettingValue::Integer(pos().x());
    case Setting::kFormWidth:
      return SettingValue::Integer(size().width());
    case Setting::kFormHeight:
      return SettingValue::Integer(size().height());
    case Setting::kSelectedPanelHeight:
      return SettingValue::Integer(selectedPanel_->height());
    case Setting::kWordWidth:
      return SettingValue::Integer(possibleGrid_->ColWidth(0));
    case Setting::kNumberWidth:
      return SettingValue::Integer(possibleGrid_->ColWidth(1));
    case Setting::kAnimationOn:
      return SettingValue::Switch(services_.state.AnimationOn);
    case Setting::kLanguage:
      return SettingValue::Text(currentLanguage_);
    default:
      return std::nullopt;
  }
}

}  // namespace vantrel
