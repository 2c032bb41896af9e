// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help book lives in the program's resources as HTML pages under qrc:/help/. Each help
// context that a window or menu asks for is an anchor in one of the pages; HelpViewer is
// the window that shows them. Windows take a Help& when they are built, so a test can
// record what F1 asked for instead of opening a window.

#include <QUrl>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include "WindowPlace.h"

class QMenu;
class QPushButton;
class QTextBrowser;

namespace vantrel {

inline constexpr int kHelpMainWindow = 10;
inline constexpr int kHelpFileMenu = 210;
inline constexpr int kHelpHelpMenu = 220;
inline constexpr int kHelpLookupWindow = 230;
inline constexpr int kHelpAffixWindow = 240;
inline constexpr int kHelpNotifyWindow = 250;
inline constexpr int kHelpSuggestWindow = 260;

struct HelpTopic {
  int context;
  std::string_view page;    // file name under qrc:/help/
  std::string_view anchor;  // <a name="..."> in that page
};

inline constexpr std::string_view kHelpContentsPage = "index.html";

inline constexpr std::array<HelpTopic, 7> kHelpTopics{{
    {kHelpMainWindow, "main-window.html", "main-window"},
    {kHelpFileMenu, "menus.html", "file-menu"},
    {kHelpHelpMenu, "menus.html", "help-menu"},
    {kHelpLookupWindow, "lookup.html", "lookup-window"},
    {kHelpAffixWindow, "affixes.html", "joined"},
    {kHelpNotifyWindow, "menus.html", "notification"},
    {kHelpSuggestWindow, "suggest.html", "suggestions"},
}};

// The book is written in English, German and French: the English pages under qrc:/help/,
// the others under qrc:/help/de/ and qrc:/help/fr/, each with the same file names and
// anchors. The language is the program's, which the translation layer makes the default
// locale; any other language reads the English book.
QString HelpLanguageFolder();

QUrl HelpContentsUrl();
// The page and anchor of a context; a context the book does not know gives the contents.
QUrl HelpUrl(int context);
// The same page and anchor of the book in the current language.
QUrl InCurrentLanguage(const QUrl& url);

// The help keeps its window's place between runs, as the other windows do; a help that
// has no window to keep (a test's) keeps nothing.
class Help : public KeepsSettings {
 public:
  virtual ~Help() = default;
  virtual void ShowContents() = 0;
  virtual void ShowContext(int context) = 0;
  std::optional<SettingValue> Stored(Setting /*setting*/) const override { return std::nullopt; }
};

// A window of its own, kept for the whole run and brought to the front on each request.
// With settings, it comes up where it was at the end of the last run (within the screens),
// else at its design place.
class HelpViewer : public QWidget, public Help {
  Q_OBJECT

 public:
  explicit HelpViewer(QWidget* parent = nullptr, SettingsStore* settings = nullptr);

  void ShowContents() override;
  void ShowContext(int context) override;
  std::optional<SettingValue> Stored(Setting setting) const override;

  QTextBrowser* Browser() const { return browser_; }

 protected:
  // A change of the program's language translates the window's own texts and shows the
  // page in the new language, keeping the place in the book.
  void changeEvent(QEvent* event) override;

 private:
  void Present(const QUrl& url);
  void TranslateTexts();

  QTextBrowser* browser_;
  QPushButton* contents_;
  QPushButton* back_;
  QPushButton* forward_;
};

// The program's help: the window is made on the first request, so that a run that never
// asks for help never lays out a page of the book.
// The window's place is read from settings when the window is made and written back at
// the main window's close; settings must outlive the book.
class HelpBook final : public Help {
 public:
  explicit HelpBook(SettingsStore* settings = nullptr);
  ~HelpBook() override;
  HelpBook(const HelpBook&) = delete;
  HelpBook& operator=(const HelpBook&) = delete;

  void ShowContents() override;
  void ShowContext(int context) override;
  // The window's place and size; a run that never asked for help makes the window (unseen)
  // to give back the place it read, so that the next run finds it where it was.
  std::optional<SettingValue> Stored(Setting setting) const override;

  // Null until help was first asked for.
  HelpViewer* Viewer() const { return viewer_.get(); }

 private:
  HelpViewer& MadeViewer() const;

  SettingsStore* settings_;
  // Made on the first request, also from Stored, which is const.
  mutable std::unique_ptr<HelpViewer> viewer_;
};

// F1 anywhere in window asks help for context. The help must outlive the window.
void InstallHelpKey(QWidget* window, Help& help, int context);
// F1 while the menu is open closes it and asks help for the menu's context.
void InstallHelpKey(QMenu* menu, Help& help, int context);

}  // namespace vantrel
