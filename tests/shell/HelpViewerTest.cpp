// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTranslator>
#include <map>
#include <optional>
#include <vector>

#include "RecordingHelp.h"
#include "RecordingLauncher.h"
#include "SettingsTable.h"

namespace vantrel {
namespace {

struct Page {
  QSet<QString> anchors;
  QStringList links;  // href of every link, as written
};

Page ReadPage(QTextDocument& document) {
  Page page;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      for (const QString& name : format.anchorNames()) {
        page.anchors.insert(name);
      }
      if (format.isAnchor() && !format.anchorHref().isEmpty()) {
        page.links << format.anchorHref();
      }
    }
  }
  return page;
}

Page LoadPage(HelpViewer& viewer, const QUrl& url) {
  viewer.Browser()->setSource(url);
  return ReadPage(*viewer.Browser()->document());
}

QString Anchor(std::string_view a) {
  return QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size()));
}

TEST(HelpBook, EachContextHasItsPlaceAndOthersGetTheContents) {
  const struct {
    int context;
    const char* url;
  } rows[] = {
      {10, "qrc:/help/main-window.html#main-window"},
      {210, "qrc:/help/menus.html#file-menu"},
      {220, "qrc:/help/menus.html#help-menu"},
      {230, "qrc:/help/lookup.html#lookup-window"},
      {0, "qrc:/help/index.html"},
      {-1, "qrc:/help/index.html"},
      {11, "qrc:/help/index.html"},
      {999, "qrc:/help/index.html"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.context);
    EXPECT_EQ(HelpUrl(row.context), QUrl(QString::fromLatin1(row.url)));
  }
}

TEST(HelpBook, EveryContextAnchorIsInItsPage) {
  HelpViewer viewer;
  for (const HelpTopic& topic : kHelpTopics) {
    SCOPED_TRACE(topic.context);
    const Page page = LoadPage(viewer, HelpUrl(topic.context));
    EXPECT_FALSE(viewer.Browser()->document()->isEmpty());
    EXPECT_TRUE(page.anchors.contains(Anchor(topic.anchor)));
  }
}

// The book's three languages: the English pages at the root, the others in folders.
const QStringList kBookFolders{QString(), QStringLiteral("de/"), QStringLiteral("fr/")};

QStringList PagesOf(const QString& folder) {
  return QDir(QStringLiteral(":/help/") + folder).entryList({QStringLiteral("*.html")});
}

// Sets the default locale, which the book follows, for one test.
class BookLanguage {
 public:
  explicit BookLanguage(const QLocale& locale) { QLocale::setDefault(locale); }
  ~BookLanguage() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

TEST(HelpBook, EveryLinkLeadsToAPageAndPlaceOfTheBook) {
  HelpViewer viewer;
  for (const QString& folder : kBookFolders) {
    const QStringList files = PagesOf(folder);
    ASSERT_GE(files.size(), 7);
    for (const QString& file : files) {
      const QUrl base(QStringLiteral("qrc:/help/") + folder + file);
      const QStringList links = LoadPage(viewer, base).links;
      for (const QString& link : links) {
        SCOPED_TRACE((folder + file + QStringLiteral(" -> ") + link).toStdString());
        const QUrl target = base.resolved(QUrl(link));
        ASSERT_EQ(target.scheme(), QStringLiteral("qrc"));
        ASSERT_TRUE(QFile::exists(QLatin1Char(':') + target.path()));
        // A translated page links to pages of its own language.
        EXPECT_TRUE(target.path().startsWith(QStringLiteral("/help/") + folder));
        if (target.hasFragment()) {
          QUrl page = target;
          page.setFragment(QString());
          EXPECT_TRUE(LoadPage(viewer, page).anchors.contains(target.fragment()));
        }
      }
    }
  }
}

// A German or French page is the English page translated: the same file names, the same
// places to link to and the same links, so that help contexts and links work in every
// language.
TEST(HelpBook, EachLanguageHasEveryPageWithTheSameAnchorsAndLinks) {
  HelpViewer viewer;
  const QStringList english = PagesOf(QString());
  for (const QString& folder : {QStringLiteral("de/"), QStringLiteral("fr/")}) {
    SCOPED_TRACE(folder.toStdString());
    EXPECT_EQ(PagesOf(folder), english);
    for (const QString& file : english) {
      SCOPED_TRACE(file.toStdString());
      const Page original = LoadPage(viewer, QUrl(QStringLiteral("qrc:/help/") + file));
      const QString originalText = viewer.Browser()->document()->toPlainText();
      const Page translated = LoadPage(viewer, QUrl(QStringLiteral("qrc:/help/") + folder + file));
      EXPECT_EQ(translated.anchors, original.anchors);
      EXPECT_EQ(translated.links, original.links);
      EXPECT_NE(viewer.Browser()->document()->toPlainText(), originalText);
    }
  }
}

TEST(HelpBook, TheBookFollowsTheProgramsLanguage) {
  const struct {
    QLocale locale;
    const char* contents;
    const char* lookup;
  } rows[] = {
      {QLocale(QLocale::German, QLocale::Germany), "qrc:/help/de/index.html",
       "qrc:/help/de/lookup.html#lookup-window"},
      {QLocale(QLocale::German, QLocale::Austria), "qrc:/help/de/index.html",
       "qrc:/help/de/lookup.html#lookup-window"},
      {QLocale(QLocale::French, QLocale::France), "qrc:/help/fr/index.html",
       "qrc:/help/fr/lookup.html#lookup-window"},
      {QLocale(QLocale::English, QLocale::UnitedKingdom), "qrc:/help/index.html",
       "qrc:/help/lookup.html#lookup-window"},
      {QLocale(QLocale::Spanish, QLocale::Spain), "qrc:/help/index.html",
       "qrc:/help/lookup.html#lookup-window"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.locale.name().toStdString());
    BookLanguage language(row.locale);
    EXPECT_EQ(HelpContentsUrl(), QUrl(QString::fromLatin1(row.contents)));
    EXPECT_EQ(HelpUrl(kHelpLookupWindow), QUrl(QString::fromLatin1(row.lookup)));
    EXPECT_EQ(InCurrentLanguage(QUrl(QStringLiteral("qrc:/help/fr/lookup.html#lookup-window"))),
              QUrl(QString::fromLatin1(row.lookup)));
  }
  // Anything outside the book stays as it is.
  BookLanguage german(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(InCurrentLanguage(QUrl(QStringLiteral("https://vantrel.example/"))),
            QUrl(QStringLiteral("https://vantrel.example/")));
}

// Stands in for the program's translator: the German texts of the help window.
class GermanHelpTexts : public QTranslator {
 public:
  QString translate(const char*, const char* source, const char*, int) const override {
    if (!on) {
      return {};
    }
    const std::string text(source);
    if (text == "Vantrel Help")
      return QStringLiteral("Vantrel-Hilfe");
    if (text == "&Contents")
      return QStringLiteral("&Inhalt");
    if (text == "&Back")
      return QStringLiteral("&Zurück");
    if (text == "&Forward")
      return QStringLiteral("&Vor");
    return {};
  }
  bool isEmpty() const override { return false; }
  bool on = false;
};

TEST(HelpViewer, ALanguageChangeTranslatesTheWindowAndShowsThePageInTheNewLanguage) {
  GermanHelpTexts translator;
  QCoreApplication::installTranslator(&translator);
  {
    HelpViewer viewer;
    viewer.ShowContents();
    viewer.ShowContext(kHelpLookupWindow);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Vantrel Help"));
    auto* contents = viewer.findChild<QPushButton*>(QStringLiteral("ContentsBtn"));
    auto* back = viewer.findChild<QPushButton*>(QStringLiteral("BackBtn"));
    auto* forward = viewer.findChild<QPushButton*>(QStringLiteral("ForwardBtn"));
    ASSERT_TRUE(contents && back && forward);
    EXPECT_EQ(contents->text(), QStringLiteral("&Contents"));
    EXPECT_TRUE(back->isEnabled());

    translator.on = true;
    BookLanguage language(QLocale(QLocale::German, QLocale::Germany));
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&viewer, &change);
    EXPECT_EQ(viewer.windowTitle(), QStringLiteral("Vantrel-Hilfe"));
    EXPECT_EQ(contents->text(), QStringLiteral("&Inhalt"));
    EXPECT_EQ(back->text(), QStringLiteral("&Zurück"));
    EXPECT_EQ(forward->text(), QStringLiteral("&Vor"));
    EXPECT_EQ(viewer.Browser()->source(),
              QUrl(QStringLiteral("qrc:/help/de/lookup.html#lookup-window")));
    EXPECT_TRUE(viewer.Browser()->document()->toPlainText().contains(
        QStringLiteral("Ein Wort nachschlagen")));
    // Back would lead to a page of the old language: the history starts again.
    EXPECT_FALSE(back->isEnabled());
  }
  QCoreApplication::removeTranslator(&translator);
}

// A screen reader finds the help as a window holding a document: the page's title, its
// text, and its links as links that it can follow, in the book's language.
TEST(HelpViewer, AScreenReaderReadsThePageAsADocumentWithLinksItCanFollow) {
  const struct {
    QLocale locale;
    const char* contentsTitle;
    const char* firstLink;
    const char* followed;
    const char* followedTitle;
  } rows[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), "Vantrel Help", "The main window",
       "qrc:/help/main-window.html", "The main window"},
      {QLocale(QLocale::German, QLocale::Germany), "Vantrel-Hilfe", "Das Hauptfenster",
       "qrc:/help/de/main-window.html", "Das Hauptfenster"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.locale.name().toStdString());
    BookLanguage language(row.locale);
    HelpViewer viewer;
    viewer.ShowContents();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&viewer);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), viewer.windowTitle());

    QAccessibleInterface* page = QAccessible::queryAccessibleInterface(viewer.Browser());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->role(), QAccessible::Document);
    EXPECT_EQ(page->text(QAccessible::Name).toStdString(), row.contentsTitle);
    EXPECT_TRUE(page->state().readOnly);
    EXPECT_NE(window->indexOfChild(page), -1);
    QAccessibleTextInterface* text = page->textInterface();
    ASSERT_NE(text, nullptr);
    const QString plain = viewer.Browser()->document()->toPlainText();
    ASSERT_EQ(text->characterCount(), plain.size());
    // The same words; the page's fixed blanks stay fixed blanks for the screen reader.
    EXPECT_EQ(text->text(0, text->characterCount()).replace(QChar::Nbsp, u' '), plain);

    const Page shown = ReadPage(*viewer.Browser()->document());
    ASSERT_EQ(page->childCount(), shown.links.size());
    ASSERT_GT(page->childCount(), 0);
    for (int i = 0; i < page->childCount(); ++i) {
      QAccessibleInterface* link = page->child(i);
      ASSERT_NE(link, nullptr);
      SCOPED_TRACE(link->text(QAccessible::Name).toStdString());
      EXPECT_EQ(link->role(), QAccessible::Link);
      EXPECT_TRUE(link->state().linked);
      EXPECT_EQ(link->parent(), page);
      EXPECT_EQ(page->indexOfChild(link), i);
      EXPECT_EQ(link->childCount(), 0);
      QAccessibleHyperlinkInterface* target = link->hyperlinkInterface();
      ASSERT_NE(target, nullptr);
      EXPECT_EQ(target->anchorTarget(), shown.links[i]);
      EXPECT_EQ(text->text(target->startIndex(), target->endIndex()).simplified(),
                link->text(QAccessible::Name));
      EXPECT_FALSE(link->text(QAccessible::Name).isEmpty());
    }
    QAccessibleInterface* first = page->child(0);
    EXPECT_EQ(first->text(QAccessible::Name).toStdString(), row.firstLink);

    // Followed as a click follows it: the page changes, and Back leads back.
    ASSERT_NE(first->actionInterface(), nullptr);
    EXPECT_EQ(first->actionInterface()->actionNames(),
              QStringList{QAccessibleActionInterface::pressAction()});
    first->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(viewer.Browser()->source(), QUrl(QString::fromLatin1(row.followed)));
    EXPECT_EQ(page->text(QAccessible::Name).toStdString(), row.followedTitle);
    // The links are the new page's, none left from the page before.
    const Page followed = ReadPage(*viewer.Browser()->document());
    ASSERT_EQ(page->childCount(), followed.links.size());
    for (int i = 0; i < page->childCount(); ++i) {
      ASSERT_NE(page->child(i), nullptr);
      ASSERT_NE(page->child(i)->hyperlinkInterface(), nullptr);
      EXPECT_EQ(page->child(i)->hyperlinkInterface()->anchorTarget(), followed.links[i]);
    }
    EXPECT_TRUE(viewer.findChild<QPushButton*>(QStringLiteral("BackBtn"))->isEnabled());
  }
}

// Tab moves from link to link; the screen reader is told which one has the focus: the link
// Tab has moved to, and no other.
TEST(HelpViewer, AScreenReaderIsToldWhichLinkTabHasMovedTo) {
  HelpViewer viewer;
  viewer.ShowContents();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
  QTextBrowser* browser = viewer.Browser();
  browser->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(browser->hasFocus());
  QAccessibleInterface* page = QAccessible::queryAccessibleInterface(browser);
  ASSERT_NE(page, nullptr);
  ASSERT_GE(page->childCount(), 3);

  const auto focusedLinks = [&] {
    std::vector<int> focused;
    for (int i = 0; i < page->childCount(); ++i) {
      if (page->child(i)->state().focused) {
        focused.push_back(i);
      }
    }
    return focused;
  };
  EXPECT_EQ(focusedLinks(), std::vector<int>{});
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE(step);
    QTest::keyClick(browser, Qt::Key_Tab);
    ASSERT_TRUE(browser->textCursor().hasSelection());
    // The links in the order of the page, the first Tab on the first one.
    EXPECT_EQ(focusedLinks(), std::vector<int>{step});
    QAccessibleInterface* link = page->child(step);
    EXPECT_EQ(link->text(QAccessible::Name), browser->textCursor().selectedText().simplified());
    EXPECT_TRUE(link->state().focusable);
  }
  // Without the focus in the page, no link has it either.
  viewer.findChildren<QPushButton*>().front()->setFocus(Qt::OtherFocusReason);
  EXPECT_EQ(focusedLinks(), std::vector<int>{});
}

// The pages take their look from the one stylesheet of the book: a page that lost its
// link, or a stylesheet missing from the resources, shows plain black headings.
TEST(HelpBook, EveryPageTakesTheSharedStylesheet) {
  HelpViewer viewer;
  QStringList files;
  for (const QString& folder : kBookFolders) {
    for (const QString& file : PagesOf(folder)) {
      files << folder + file;
    }
  }
  ASSERT_GE(files.size(), 21);
  for (const QString& file : files) {
    SCOPED_TRACE(file.toStdString());
    viewer.Browser()->setSource(QUrl(QStringLiteral("qrc:/help/") + file));
    const QTextDocument& document = *viewer.Browser()->document();
    bool sawHeading = false;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      if (block.blockFormat().headingLevel() == 1) {
        sawHeading = true;
        ASSERT_FALSE(block.begin().atEnd());
        EXPECT_EQ(block.begin().fragment().charFormat().foreground().color(),
                  QColor(0x1f, 0x3f, 0x6f));
        break;
      }
    }
    EXPECT_TRUE(sawHeading);
  }
}

TEST(HelpViewer, AContextIsShownAtItsAnchor) {
  HelpViewer viewer;
  // Small enough that the Help menu's section starts below the first screenful.
  viewer.resize(320, 200);
  viewer.ShowContext(kHelpHelpMenu);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_EQ(viewer.Browser()->source(), HelpUrl(kHelpHelpMenu));
  EXPECT_GT(viewer.Browser()->verticalScrollBar()->value(), 0);

  viewer.ShowContents();
  EXPECT_EQ(viewer.Browser()->source(), HelpContentsUrl());
}

// The program's help makes its window when help is first asked for, and keeps it.
TEST(HelpBook, TheWindowIsMadeAtTheFirstRequestAndKept) {
  HelpBook book;
  EXPECT_EQ(book.Viewer(), nullptr);
  book.ShowContext(kHelpHelpMenu);
  HelpViewer* viewer = book.Viewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->Browser()->source(), HelpUrl(kHelpHelpMenu));
  viewer->close();
  book.ShowContents();
  EXPECT_EQ(book.Viewer(), viewer);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->Browser()->source(), HelpContentsUrl());
}

// The help window keeps its place and size between runs as the other windows do. A run
// that never asks for help writes back what it read; a place off every screen gives way
// to the design place; a book without settings keeps nothing.
TEST(HelpBook, TheWindowComesBackWhereItWas) {
  QTemporaryDir folder;
  SettingsStore store(folder.path());
  const std::map<Setting, int> stored = {{Setting::kHelpTop, 60},
                                         {Setting::kHelpLeft, 90},
                                         {Setting::kHelpWidth, 500},
                                         {Setting::kHelpHeight, 380}};
  SaveSettings(store, kHelpWindowReadOrder,
               [&](Setting s) { return SettingValue::Integer(stored.at(s)); });
  // What the book would store: left, top, width, height.
  auto stores = [](const HelpBook& book) {
    std::vector<std::optional<int>> values;
    for (Setting s :
         {Setting::kHelpLeft, Setting::kHelpTop, Setting::kHelpWidth, Setting::kHelpHeight}) {
      const std::optional<SettingValue> value = book.Stored(s);
      values.push_back(value ? std::optional<int>(value->integer) : std::nullopt);
    }
    return values;
  };
  using Values = std::vector<std::optional<int>>;
  {
    HelpBook unseen(&store);
    EXPECT_EQ(stores(unseen), (Values{90, 60, 500, 380}));
    EXPECT_FALSE(unseen.Viewer()->isVisible());
    EXPECT_EQ(unseen.Stored(Setting::kSuggestTop), std::nullopt);
  }
  {
    HelpBook book(&store);
    book.ShowContents();
    HelpViewer* viewer = book.Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->pos(), QPoint(90, 60));
    EXPECT_EQ(viewer->size(), QSize(500, 380));
    viewer->move(30, 40);
    viewer->resize(450, 300);
    EXPECT_EQ(stores(book), (Values{30, 40, 450, 300}));
  }
  SaveSettings(store, kHelpWindowReadOrder, [&](Setting s) {
    return SettingValue::Integer(s == Setting::kHelpLeft ? 50000 : stored.at(s));
  });
  {
    HelpBook book(&store);
    book.ShowContents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(book.Viewer()->pos())) << book.Viewer()->x();
  }
  HelpBook none;
  EXPECT_EQ(stores(none), (Values{std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
}

TEST(HelpViewer, EscClosesItWhereverTheFocusIs) {
  HelpViewer viewer;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    viewer.ShowContents();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
    QWidget* focus = round == 0 ? static_cast<QWidget*>(viewer.Browser())
                                : viewer.findChildren<QPushButton*>().front();
    focus->setFocus(Qt::TabFocusReason);
    QTest::keyClick(focus, Qt::Key_Escape);
    EXPECT_FALSE(viewer.isVisible());
  }
}

TEST(HelpKey, F1AsksForTheContextOfTheWindowOrOpenMenu) {
  RecordingHelp help;
  QWidget window;
  QMenu menu(&window);
  menu.addAction(QStringLiteral("Open"));
  InstallHelpKey(&window, help, kHelpMainWindow);
  InstallHelpKey(&menu, help, kHelpFileMenu);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  QTest::keyClick(&window, Qt::Key_F1);
  menu.popup(window.geometry().center());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QTest::keyClick(&menu, Qt::Key_F1);

  EXPECT_EQ(help.Asked(), (std::vector<int>{kHelpMainWindow, kHelpFileMenu}));
  EXPECT_FALSE(menu.isVisible()) << "the menu makes way for the help window";
}

TEST(Launcher, TheRecorderKeepsAddressesAndAnswersAsTold) {
  RecordingLauncher launcher;
  Launcher& seam = launcher;
  const QUrl mail(QStringLiteral("mailto:support@example.com?subject=Vantrel Error&body=a b"));
  EXPECT_TRUE(seam.Open(mail));
  launcher.SetSucceeds(false);
  EXPECT_FALSE(seam.Open(QUrl(QStringLiteral("https://example.com/"))));
  ASSERT_EQ(launcher.Opened().size(), 2u);
  EXPECT_EQ(launcher.Opened()[0], mail);
}

}  // namespace
}  // namespace vantrel
