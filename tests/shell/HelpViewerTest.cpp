#include "HelpViewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "RecordingHelp.h"
#include "RecordingLauncher.h"

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

TEST(HelpBook, EveryLinkLeadsToAPageAndPlaceOfTheBook) {
  HelpViewer viewer;
  const QStringList files = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  ASSERT_GE(files.size(), 7);
  for (const QString& file : files) {
    const QUrl base(QStringLiteral("qrc:/help/") + file);
    const QStringList links = LoadPage(viewer, base).links;
    for (const QString& link : links) {
      SCOPED_TRACE((file + QStringLiteral(" -> ") + link).toStdString());
      const QUrl target = base.resolved(QUrl(link));
      ASSERT_EQ(target.scheme(), QStringLiteral("qrc"));
      ASSERT_TRUE(QFile::exists(QLatin1Char(':') + target.path()));
      if (target.hasFragment()) {
        QUrl page = target;
        page.setFragment(QString());
        EXPECT_TRUE(LoadPage(viewer, page).anchors.contains(target.fragment()));
      }
    }
  }
}

// The pages take their look from the one stylesheet of the book: a page that lost its
// link, or a stylesheet missing from the resources, shows plain black headings.
TEST(HelpBook, EveryPageTakesTheSharedStylesheet) {
  HelpViewer viewer;
  const QStringList files = QDir(QStringLiteral(":/help")).entryList({QStringLiteral("*.html")});
  ASSERT_GE(files.size(), 7);
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
  ILauncher& seam = launcher;
  const QUrl mail(QStringLiteral("mailto:support@example.com?subject=Vantrel Error&body=a b"));
  EXPECT_TRUE(seam.Open(mail));
  launcher.SetSucceeds(false);
  EXPECT_FALSE(seam.Open(QUrl(QStringLiteral("https://example.com/"))));
  ASSERT_EQ(launcher.Opened().size(), 2u);
  EXPECT_EQ(launcher.Opened()[0], mail);
}

}  // namespace
}  // namespace vantrel
