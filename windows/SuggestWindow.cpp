// SPDX-License-Identifier: GPL-3.0-or-later
#include "SuggestWindow.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Codepage.h"
#include "DialogParts.h"
#include "HelpViewer.h"
#include "SettingsTable.h"
#include "Texts.h"
#include "VantrelGlobal.h"
#include "WindowPlace.h"

namespace vantrel {

namespace {

constexpr PlaceSettings kSuggestPlace{Setting::kSuggestTop, Setting::kSuggestLeft,
                                      Setting::kSuggestWidth, Setting::kSuggestHeight};

// What the plan's prefix is, kept: "toll-free code kept".
QString PrefixKept(const NumberingPlan& plan, const Translator& translator) {
  if (plan.kind == PlanKind::kNone) {
    return translator.Text("digits kept at the start");
  }
  switch (plan.code) {
    case CodeKind::kArea:
      return translator.Text(plan.countryCode ? "country and area code kept" : "area code kept");
    case CodeKind::kTollFree:
      return translator.Text(plan.countryCode ? "country and toll-free code kept"
                                              : "toll-free code kept");
    case CodeKind::kMobile:
      return translator.Text(plan.countryCode ? "country and mobile code kept"
                                              : "mobile code kept");
    case CodeKind::kService:
      return translator.Text(plan.countryCode ? "country and service code kept"
                                              : "service code kept");
    case CodeKind::kNone:
      break;
  }
  return translator.Text("country code kept");
}

}  // namespace

QString SuggestionReason(const Suggestion& s, const Translator& translator) {
  QStringList parts;
  if (s.rank.letteredPrefix > 0) {
    parts << translator.Text("prefix in letters");
  } else if (s.prefixDigits > 0) {
    parts << PrefixKept(s.plan, translator);
  }
  if (s.leadingDigits > 0) {
    parts << translator.Text("digits kept before the words");
  }
  if (s.middleDigits > s.toOrFor) {
    parts << translator.Text("digits between words");
  }
  if (s.toOrFor > 0) {
    parts << translator.Text("2 or 4 read as to or for");
  }
  if (s.trailingDigits > 0) {
    parts << translator.Text("end kept");
  }
  parts << (s.rank.words == 1 ? translator.Text("1 word")
                              : QString::number(s.rank.words) + translator.Text(" words"));
  if (s.pairs > 0) {
    parts << translator.Text("words that go together");
  }
  // The least common word says how common the whole is.
  if (s.withName) {
    parts << translator.Text("with a name");
  } else if (s.leastCommon < kFamiliarWord) {
    parts << translator.Text("rare");
  } else if (s.leastCommon < kCommonWord) {
    parts << translator.Text("less common");
  } else {
    parts << translator.Text("common");
  }
  return parts.join(QStringLiteral(", "));
}

SuggestWindow::SuggestWindow(MainModel& model, Services& services, QWidget* parent)
    : QDialog(parent), model_(model), services_(services) {
  setObjectName(QStringLiteral("SuggestWindow"));
  setWindowTitle(SourceText("Vantrel - Suggestions"));

  list_ = new QTableWidget(0, 3, this);
  list_->setObjectName(QStringLiteral("SuggestionList"));
  list_->setAccessibleName(SourceText("Suggestions"));
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->verticalHeader()->hide();
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setTabKeyNavigation(false);
  list_->setWordWrap(false);
  list_->setColumnWidth(0, RowOf(Setting::kSuggestPhraseWidth).design);
  list_->setColumnWidth(1, RowOf(Setting::kSuggestVanityWidth).design);

  countLabel_ = new QLabel(this);
  countLabel_->setObjectName(QStringLiteral("CountLabel"));
  countLabel_->setTextFormat(Qt::PlainText);

  okBtn_ = OkButton(this, "OkBtn", SourceText("OK"));
  cancelBtn_ = MakeButton(this, "CancelBtn", SourceText("Cancel"));
  moreBtn_ = MakeButton(this, "MoreBtn", SourceText("More"));

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(countLabel_);
  bottom->addStretch(1);
  bottom->addWidget(moreBtn_);
  bottom->addWidget(okBtn_);
  bottom->addWidget(cancelBtn_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  outer->addWidget(list_, 1);
  outer->addLayout(bottom);

  connect(okBtn_, &QPushButton::clicked, this, [this] { Choose(list_->currentRow()); });
  connect(cancelBtn_, &QPushButton::clicked, this, &SuggestWindow::reject);
  connect(moreBtn_, &QPushButton::clicked, this, &SuggestWindow::ShowMore);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { Choose(row); });
  InstallHelpKey(this, services_.help, kHelpSuggestWindow);
  FormCreate();
  services_.translator.KeepTranslated(*this);
}

void SuggestWindow::FormCreate() {
  // The place and size the window has when nothing is stored, or when reading stops early.
  move(RowOf(Setting::kSuggestLeft).design, RowOf(Setting::kSuggestTop).design);
  resize(RowOf(Setting::kSuggestWidth).design, RowOf(Setting::kSuggestHeight).design);
  RestoreSettings(services_.settings, kSuggestWindowReadOrder,
                  [this](Setting setting, const SettingValue& value) {
                    if (ApplyPlace(*this, kSuggestPlace, setting, value)) {
                      return;
                    }
                    if (setting == Setting::kSuggestPhraseWidth) {
                      list_->setColumnWidth(0, StoredColumnWidth(value.integer, setting));
                    } else if (setting == Setting::kSuggestVanityWidth) {
                      list_->setColumnWidth(1, StoredColumnWidth(value.integer, setting));
                    }
                  });
  resize(SizeOnScreen(WindowSize(*this), {RowOf(Setting::kSuggestWidth).design,
                                          RowOf(Setting::kSuggestHeight).design}));
  move(PlaceOnScreen(pos(), WindowSize(*this),
                     DesignPlace(Setting::kSuggestLeft, Setting::kSuggestTop)));
}

std::optional<SettingValue> SuggestWindow::Stored(Setting setting) const {
  if (setting == Setting::kSuggestPhraseWidth) {
    return SettingValue::Integer(PhraseWidth());
  }
  if (setting == Setting::kSuggestVanityWidth) {
    return SettingValue::Integer(VanityWidth());
  }
  return StoredPlace(*this, kSuggestPlace, setting);
}

int SuggestWindow::PhraseWidth() const {
  return list_->columnWidth(0);
}

int SuggestWindow::VanityWidth() const {
  return list_->columnWidth(1);
}

bool SuggestWindow::ShowSuggestions() {
  services_.state.NoteUserActivity();
  shown_ = kDefaultSuggestions;
  if (!List()) {
    return false;
  }
  list_->setFocus();
  open();
  return true;
}

void SuggestWindow::ShowMore() {
  services_.state.NoteUserActivity();
  const int row = list_->currentRow();
  shown_ = std::min(shown_ + kDefaultSuggestions, kMaxSuggestions);
  if (List()) {
    // The row the user stood on stays current, and the first new one is shown.
    list_->setCurrentCell(std::max(row, 0), 0);
    list_->scrollToItem(list_->item(std::min(row + 1, list_->rowCount() - 1), 0));
  }
}

bool SuggestWindow::List() {
  suggestions_.clear();
  list_->setRowCount(0);
  // Header items are no properties of the window: written in the current language here.
  list_->setHorizontalHeaderLabels({services_.translator.Text("Phrase"),
                                    services_.translator.Text("Vanity Text"),
                                    services_.translator.Text("Why")});
  std::unique_ptr<ByteSource> source = model_.Dictionary().Reopen();
  if (source == nullptr) {
    services_.dialogs.Warning(
        parentWidget(),
        services_.translator.Message({Tr("Can Not Open "), Lit(model_.Dictionary().name)}));
    return false;
  }
  ShowBusyPointer(true);
  const Status result = Suggest(*source, model_.EntryText(), shown_, suggestions_);
  ShowBusyPointer(false);
  if (!result.IsOk()) {
    services_.dialogs.Warning(
        parentWidget(), services_.translator.Message(
                            {Tr("Error Reading Dictionary "), Lit(model_.Dictionary().name)}));
    return false;
  }

  list_->setRowCount(static_cast<int>(suggestions_.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    const Suggestion& s = suggestions_[static_cast<std::size_t>(row)];
    auto* phrase = new QTableWidgetItem(FromCp1252(s.phrase));
    auto* vanity = new QTableWidgetItem(QString::fromStdString(s.vanity));
    list_->setItem(row, 0, phrase);
    list_->setItem(row, 1, vanity);
    // The reason may be wider than its column: the tool tip shows it whole.
    auto* why = new QTableWidgetItem(SuggestionReason(s, services_.translator));
    why->setToolTip(why->text());
    list_->setItem(row, 2, why);
  }
  if (suggestions_.empty()) {
    countLabel_->setText(services_.translator.Text("No phrase covers every free digit."));
  } else {
    countLabel_->setText(QString());
    list_->setCurrentCell(0, 0);
  }
  // An empty label would be a control with nothing to read for a screen reader.
  countLabel_->setVisible(suggestions_.empty());
  okBtn_->setEnabled(!suggestions_.empty());
  // Fewer than asked for: the list is whole.
  moreBtn_->setEnabled(static_cast<int>(suggestions_.size()) == shown_ && shown_ < kMaxSuggestions);
  return true;
}

void SuggestWindow::Choose(int row) {
  services_.state.NoteUserActivity();
  if (row < 0 || row >= static_cast<int>(suggestions_.size())) {
    return;
  }
  const Suggestion chosen = suggestions_[static_cast<std::size_t>(row)];
  accept();
  model_.ApplySuggestion(chosen);
}

}  // namespace vantrel
