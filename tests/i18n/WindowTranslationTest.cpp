// SPDX-License-Identifier: GPL-3.0-or-later
// The walk of a window's texts: which properties it translates, what it keeps, and how a
// change of language translates again from the English, on windows made for the test and
// the catalogs this program carries.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "QtCatalogs.h"
#include "WindowTranslation.h"

namespace vantrel::i18n {
namespace {

// An object with texts of every kind the walk meets, counting what is written to it.
class TextHolder : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QStringList items READ Items WRITE SetItems)
  Q_PROPERTY(QString fixed READ Fixed)

 public:
  using QObject::QObject;
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption) {
    caption_ = caption;
    ++writes;
  }
  QStringList Items() const { return items_; }
  void SetItems(const QStringList& items) {
    items_ = items;
    ++writes;
  }
  QString Fixed() const { return QStringLiteral("Candidate Word"); }

  int writes = 0;

 private:
  QString caption_;
  QStringList items_;
};

// An object whose one text only the test below leaves out.
class NoteHolder : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString note READ Note WRITE SetNote)

 public:
  using QObject::QObject;
  QString Note() const { return note_; }
  void SetNote(const QString& note) { note_ = note; }

 private:
  QString note_;
};

std::unique_ptr<ProgramTranslation> StartTranslation() {
  TranslationSetup setup = TTranslationInstance::ForThisProgram();
  setup.languageSources = {};
  return std::make_unique<ProgramTranslation>(setup);
}

// A window as the program builds one: English texts in controls, a menu, and an object
// with an item list.
struct TestWindow {
  TestWindow() {
    auto* layout = new QVBoxLayout(&window);
    label = new QLabel(QStringLiteral("Candidate Word"), &window);
    button = new QPushButton(QStringLiteral("Convert"), &window);
    button->setToolTip(QStringLiteral("Click to select"));
    button->setAccessibleName(QStringLiteral("Represents"));
    box = new QGroupBox(QStringLiteral("Convert From"), &window);
    edit = new QLineEdit(&window);
    edit->setPlaceholderText(QStringLiteral("Selected Word"));
    for (QWidget* widget : std::initializer_list<QWidget*>{label, button, box, edit}) {
      layout->addWidget(widget);
    }
    auto* bar = new QMenuBar(&window);
    menu = bar->addMenu(QStringLiteral("&Language"));
    english = menu->addAction(QStringLiteral("&English"));
    german = menu->addAction(QStringLiteral("&Deutsch"));
    holder = new TextHolder(&window);
    holder->SetCaption(QStringLiteral("Represents"));
    holder->SetItems({QStringLiteral("Candidate Word"), QString(), QStringLiteral("Nothing such")});
    holder->writes = 0;
    window.setWindowTitle(QStringLiteral("About Vantrel"));
  }

  TTranslationMarker* Marker() const {
    return window.findChild<TTranslationMarker*>(QStringLiteral("TranslationMarker"),
                                                 Qt::FindDirectChildrenOnly);
  }

  QWidget window;
  QLabel* label;
  QPushButton* button;
  QGroupBox* box;
  QLineEdit* edit;
  QMenu* menu;
  QAction* english;
  QAction* german;
  TextHolder* holder;
};

TEST(WindowTranslation, EveryTextFollowsTheLanguageFromItsEnglish) {
  auto translation = StartTranslation();
  TestWindow w;
  struct Text {
    const char* what;
    std::function<QString()> read;
    const char* english;
    const char* german;
    const char* french;
  };
  const std::vector<Text> texts = {
      {"window title", [&] { return w.window.windowTitle(); }, "About Vantrel", "Über Vantrel",
       "À propos de Vantrel"},
      {"label", [&] { return w.label->text(); }, "Candidate Word", "Beispielwort", "Mot candidat"},
      {"button", [&] { return w.button->text(); }, "Convert", "Umwandeln", "Convertir"},
      {"tool tip", [&] { return w.button->toolTip(); }, "Click to select", "Zum Auswählen klicken",
       "Cliquer pour sélectionner"},
      {"accessible name", [&] { return w.button->accessibleName(); }, "Represents", "stellt dar",
       "Représente"},
      {"group title", [&] { return w.box->title(); }, "Convert From", "Umwandeln ab",
       "Convertir depuis"},
      {"placeholder", [&] { return w.edit->placeholderText(); }, "Selected Word",
       "Ausgewähltes Wort", "Mot selectionné"},
      {"menu", [&] { return w.menu->title(); }, "&Language", "&Sprache", "Langue"},
      {"menu item", [&] { return w.english->text(); }, "&English", "&Englisch", "&English"},
      {"language's own name", [&] { return w.german->text(); }, "&Deutsch", "&Deutsch", "&Deutsch"},
      {"own property", [&] { return w.holder->Caption(); }, "Represents", "stellt dar",
       "Représente"},
      {"item list", [&] { return w.holder->Items().join(QLatin1Char('|')); },
       "Candidate Word||Nothing such", "Beispielwort||Nothing such", "Mot candidat||Nothing such"},
  };
  // German first, so that French can only come from the English kept at that first
  // translation; then back to English, and a language without a catalog.
  for (const char* code : {"de_DE", "fr_FR", "en_US", "de_DE", "es_ES"}) {
    SCOPED_TRACE(code);
    translation->Instance().SelectLanguage(code);
    TranslateWindow(w.window);
    const std::string language(code, 2);
    for (const Text& text : texts) {
      SCOPED_TRACE(text.what);
      const char* expected = language == "de"   ? text.german
                             : language == "fr" ? text.french
                                                : text.english;
      EXPECT_EQ(text.read(), QString::fromUtf8(expected));
    }
    ASSERT_NE(w.Marker(), nullptr);
    EXPECT_EQ(w.Marker()->Language(), code);
  }
}

TEST(WindowTranslation, TheEnglishIsKeptOnceAtTheFirstTranslation) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  TestWindow w;
  TranslateWindow(w.window);
  ASSERT_NE(w.Marker(), nullptr);
  const std::vector<TRetranslatorItem> first = w.Marker()->Retranslator().Items();
  // Every non-empty writable text, each once; the menu's title is its action's text.
  EXPECT_EQ(first.size(), 12U);
  for (const TRetranslatorItem& item : first) {
    SCOPED_TRACE(item.property.toStdString());
    EXPECT_NE(item.property, QByteArray("objectName"));
    EXPECT_NE(item.property, QByteArray("fixed"));  // no setter
    EXPECT_FALSE(item.source.contains(QStringLiteral("Beispielwort")));
  }
  EXPECT_EQ(w.Marker()->Retranslator().Domain(), "default");

  translation->Instance().SelectLanguage("fr_FR");
  TranslateWindow(w.window);
  TranslateWindow(w.window);
  EXPECT_EQ(w.Marker()->Retranslator().Items().size(), first.size());
  EXPECT_EQ(w.window.findChildren<TTranslationMarker*>().size(), 1);
}

TEST(WindowTranslation, ATextWithoutEntryIsNotWrittenAndTheSameLanguageWritesNothing) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  QWidget window;
  window.setObjectName(QStringLiteral("Convert"));  // a name, though the catalog knows it
  auto* holder = new TextHolder(&window);
  holder->SetCaption(QStringLiteral("MS Sans Serif"));
  auto* multiline = new TextHolder(&window);
  multiline->SetCaption(QStringLiteral("two\nlines"));
  holder->writes = 0;
  multiline->writes = 0;
  TranslateWindow(window);
  EXPECT_EQ(holder->writes, 0);
  EXPECT_EQ(multiline->writes, 0);
  EXPECT_EQ(window.objectName(), QStringLiteral("Convert"));

  // A translation in the window's own language writes nothing.
  TestWindow w;
  TranslateWindow(w.window);
  w.holder->writes = 0;
  TranslateWindow(w.window);
  EXPECT_EQ(w.holder->writes, 0);
  EXPECT_EQ(w.holder->Caption(), QStringLiteral("stellt dar"));
}

// A rule given after windows of a class were translated counts for the next window of that
// class: what the translator learnt of the class is learnt again.
TEST(WindowTranslation, ARuleGivenLaterCountsForTheNextWindow) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  WindowTranslator translator;
  TestWindow first;
  translator.TranslateWindow(first.window);
  EXPECT_EQ(first.holder->Caption(), QStringLiteral("stellt dar"));
  translator.IgnoreClassProperty(TextHolder::staticMetaObject, "caption");
  TestWindow second;
  translator.TranslateWindow(second.window);
  EXPECT_EQ(second.holder->Caption(), QStringLiteral("Represents"));
  EXPECT_EQ(second.label->text(), QStringLiteral("Beispielwort"));
}

// The program gives its rules to the translator that every window's translation uses.
TEST(WindowTranslation, ARuleGivenToTheProgramsTranslatorCountsForEveryWindow) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  QWidget window;
  auto* label = new QLabel(QStringLiteral("Candidate Word"), &window);
  auto* note = new NoteHolder(&window);
  note->SetNote(QStringLiteral("Represents"));
  IgnoreClassProperty(NoteHolder::staticMetaObject, "note");
  TranslateWindow(window);
  EXPECT_EQ(note->Note(), QStringLiteral("Represents"));
  EXPECT_EQ(label->text(), QStringLiteral("Beispielwort"));
}

TEST(WindowTranslation, IgnoreRulesLeaveOutAPropertyOrAWholeObject) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  struct Row {
    const char* rule;
    const char* caption;
    const char* items;
  };
  for (const Row& row : {Row{"caption", "Represents", "Beispielwort||Nothing such"},
                         Row{"CAPTION", "Represents", "Beispielwort||Nothing such"},
                         Row{"", "Represents", "Candidate Word||Nothing such"}}) {
    SCOPED_TRACE(row.rule);
    WindowTranslator translator;
    translator.IgnoreClassProperty(TextHolder::staticMetaObject, row.rule);
    TestWindow w;
    // Objects below a left-out object are still visited.
    auto* below = new QAction(QStringLiteral("Convert"), w.holder);
    translator.TranslateWindow(w.window);
    EXPECT_EQ(w.holder->Caption(), QString::fromUtf8(row.caption));
    EXPECT_EQ(w.holder->Items().join(QLatin1Char('|')), QString::fromUtf8(row.items));
    EXPECT_EQ(below->text(), QStringLiteral("Umwandeln"));
    EXPECT_EQ(w.label->text(), QStringLiteral("Beispielwort"));
  }
}

TEST(WindowTranslation, AWindowOfItsOwnInsideIsLeftToItselfAndGoneObjectsArePassedOver) {
  auto translation = StartTranslation();
  translation->Instance().SelectLanguage("de_DE");
  TestWindow w;
  // A dialog made a child of the window so that it stays above it translates itself.
  auto* dialog = new QDialog(&w.window);
  dialog->setWindowTitle(QStringLiteral("About Vantrel"));
  TranslateWindow(w.window);
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("About Vantrel"));
  EXPECT_EQ(w.window.windowTitle(), QStringLiteral("Über Vantrel"));

  delete w.label;
  translation->Instance().SelectLanguage("fr_FR");
  TranslateWindow(w.window);
  EXPECT_EQ(w.button->text(), QStringLiteral("Convertir"));
}

TEST(WindowTranslation, APropertyThatCannotBeSetNamesItselfAndTheWayOut) {
  auto translation = StartTranslation();
  TextHolder holder;
  TRetranslator retranslator;
  retranslator.Record(&holder, "caption", QStringLiteral("Represents"));
  retranslator.Record(&holder, "title", QStringLiteral("Convert"));
  try {
    retranslator.Replay();
    ADD_FAILURE() << "no error";
  } catch (const StatusError& error) {
    EXPECT_EQ(error.Failure().Code(), StatusCode::kMalformed);
    EXPECT_EQ(std::string(error.what()),
              "Property cannot be translated.\r\n"
              "Use IgnoreClassProperty(vantrel::i18n::TextHolder,title) or"
              "\r\nIgnoreProperty (self,'.title') to prevent this message.\r\n"
              "Reason: the object has no such property");
  }
  EXPECT_EQ(holder.Caption(), QStringLiteral("Represents"));  // the items before it were set
}

}  // namespace
}  // namespace vantrel::i18n

#include "WindowTranslationTest.moc"
