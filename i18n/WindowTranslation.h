// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window translation: a window is built with its English texts; TranslateWindow puts every
// text of the window and of all its controls and menus into the current language and keeps
// the English texts, so that a later change of language translates the window again from
// them and never from the texts of another language.
//
// The texts are Qt's properties: every writable, non-empty QString property of every object
// of the window (text, toolTip, windowTitle, title, placeholderText, statusTip, whatsThis,
// accessibleName, accessibleDescription, ...), and QStringList properties as item lists,
// line by line. A value without a catalog entry (a name, an address) comes back unchanged
// and is not written. Texts that code writes into a window later are not kept: whoever
// writes them writes them again after a change of language.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct QMetaObject;

namespace vantrel::i18n {

class TTranslationInstance;

// One recorded text: where it stands and the English it had at the window's first
// translation. An item list keeps its whole list.
struct TRetranslatorItem {
  QPointer<QObject> object;
  QByteArray property;
  QString source;
  QStringList sourceLines;
  bool itemList = false;
};

// The English texts of one window, in the order in which they were first translated.
class TRetranslator {
 public:
  explicit TRetranslator(std::string domain = "default") : domain_(std::move(domain)) {}

  void Record(QObject* object, const QByteArray& property, const QString& source);
  void RecordList(QObject* object, const QByteArray& property, const QStringList& source);

  // Writes every recorded text again, translated into the current language of instance
  // (without one, of the installed instance) from its English; objects gone since are
  // passed over.
  void Replay() const;
  void Replay(TTranslationInstance* instance) const;

  const std::string& Domain() const { return domain_; }
  const std::vector<TRetranslatorItem>& Items() const { return items_; }

 private:
  std::string domain_;
  std::vector<TRetranslatorItem> items_;
};

// The child "TranslationMarker" of every window translated at least once: its English
// texts and the language of its last translation.
class TTranslationMarker : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kName = "TranslationMarker";

  TTranslationMarker();
  TRetranslator& Retranslator() { return *retranslator_; }
  const std::string& Language() const { return language_; }
  void SetLanguage(std::string language) { language_ = std::move(language); }

 private:
  std::unique_ptr<TRetranslator> retranslator_;
  std::string language_;
};

// What the walks of one run never translate, by class and property name. A rule without a
// property name leaves out every text of objects of that class (their children are still
// visited). objectName is never translated.
class WindowTranslator {
 public:
  // With the program's own rules: names, style sheets, file paths and input masks are no
  // texts, and a menu's title is the text of its menu action, which is translated instead.
  WindowTranslator();

  void IgnoreClassProperty(const QMetaObject& type, const QByteArray& property);

  // First call for window: translates its texts and keeps the English; later calls
  // translate again from the kept English when the language changed since the window's
  // last translation. A property that cannot be read or written raises a StatusError
  // whose reason names it and the way to leave it out; the walk ends there.
  void TranslateWindow(QObject& window);
  // The same through instance instead of the installed one; without any, the English
  // texts stay.
  void TranslateWindow(QObject& window, TTranslationInstance* instance);

  // The translator that TranslateWindow uses: the installed one, else one with the
  // program's own rules.
  static WindowTranslator& Current();
  // Installs this translator until it is destroyed or another is installed.
  void Install();
  ~WindowTranslator();

 private:
  struct Rule {
    const QMetaObject* type;
    QByteArray property;  // upper case; empty: every property
  };
  // What a walk reads of the objects of one class: the indices of its writable text and
  // item-list properties that no rule leaves out.
  struct ClassTexts {
    std::vector<int> properties;
    std::vector<QByteArray> names;  // upper case, one for each of properties
  };

  void Walk(QObject& window, TRetranslator* recorder, TTranslationInstance* instance);
  // Worked out once for each class: a window has hundreds of objects of a few classes.
  std::shared_ptr<const ClassTexts> TextsOf(const QMetaObject& type);
  std::shared_ptr<const ClassTexts> TextsOfLocked(const QMetaObject& type);  // under mutex_

  std::mutex mutex_;
  std::vector<Rule> rules_;
  std::unordered_map<const QMetaObject*, std::shared_ptr<const ClassTexts>> classes_;
};

// Through the current translator.
void TranslateWindow(QObject& window);
void IgnoreClassProperty(const QMetaObject& type, const QByteArray& property);

// The language the catalogs speak now ("" while the program's translation is not set up).
std::string CurrentCatalogLanguage();

}  // namespace vantrel::i18n
