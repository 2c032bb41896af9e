// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTranslation.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>
#include <QMetaProperty>
#include <QSet>
#include <QWidget>
#include <algorithm>
#include <deque>

#include "Catalogs.h"
#include "QtCatalogs.h"
#include "Status.h"

namespace vantrel::i18n {

namespace {

std::mutex& InstalledMutex() {
  static std::mutex mutex;
  return mutex;
}

WindowTranslator*& InstalledTranslator() {
  static WindowTranslator* installed = nullptr;
  return installed;
}

// One text of a window in the current language. The catalog gives line ends as CR LF;
// a window's own texts keep the line ends they were written with.
QString TranslateWindowText(TTranslationInstance* instance, const QString& source) {
  QString translated = TranslateQText(instance, source.toStdString());
  if (!source.contains(QLatin1Char('\r'))) {
    translated.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  }
  return translated;
}

QStringList TranslateLines(TTranslationInstance* instance, const QStringList& source) {
  QStringList translated;
  translated.reserve(source.size());
  for (const QString& line : source) {
    translated.append(line.isEmpty() ? line : TranslateWindowText(instance, line));
  }
  return translated;
}

QString ClassName(const QObject& object) {
  return QString::fromLatin1(object.metaObject()->className());
}

// A property of a window that could not be read or written; the window's walk ends there.
// It leaves through an exception: the walk runs inside a window's constructor or a change
// of language, and the error report tells the developer how to leave the property out.
[[noreturn]] void FailProperty(StatusCode code, const QString& className, const QString& property,
                               const QString& reason) {
  throw StatusError(
      {code, (QStringLiteral("Property cannot be translated.\r\nUse IgnoreClassProperty(") +
              className + QStringLiteral(",") + property + QStringLiteral(") or") +
              QStringLiteral("\r\n") + QStringLiteral("IgnoreProperty (self,'.") + property +
              QStringLiteral("') to prevent this message.") + QStringLiteral("\r\n") +
              QStringLiteral("Reason: ") + reason)
                 .toStdString()});
}

bool Write(QObject& object, const QMetaProperty& property, const QVariant& value) {
  if (!property.write(&object, value)) {
    FailProperty(StatusCode::kWriteFailed, ClassName(object), QString::fromLatin1(property.name()),
                 QStringLiteral("the value could not be written"));
  }
  return true;
}

// A child that is a window of its own translates itself; a menu is a popup of its window.
bool IsOwnWindow(const QObject& child) {
  const auto* widget = qobject_cast<const QWidget*>(&child);
  if (widget == nullptr || !widget->isWindow()) {
    return false;
  }
  const Qt::WindowType type = widget->windowType();
  return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
}

}  // namespace

// ----- TRetranslator -----

void TRetranslator::Record(QObject* object, const QByteArray& property, const QString& source) {
  items_.push_back(TRetranslatorItem{object, property, source, {}, false});
}

void TRetranslator::RecordList(QObject* object, const QByteArray& property,
                               const QStringList& source) {
  items_.push_back(TRetranslatorItem{object, property, {}, source, true});
}

void TRetranslator::Replay() const {
  Replay(TTranslationInstance::Installed());
}

void TRetranslator::Replay(TTranslationInstance* instance) const {
  for (const TRetranslatorItem& item : items_) {
    QObject* object = item.object.data();
    if (object == nullptr) {
      continue;
    }
    const QMetaObject* type = object->metaObject();
    const int index = type->indexOfProperty(item.property.constData());
    if (index < 0) {
      FailProperty(StatusCode::kMalformed, ClassName(*object), QString::fromLatin1(item.property),
                   QStringLiteral("the object has no such property"));
    }
    const QMetaProperty property = type->property(index);
    if (item.itemList) {
      // The whole list goes back to its English first, then each line is translated.
      Write(*object, property, QVariant(item.sourceLines));
      Write(*object, property, QVariant(TranslateLines(instance, item.sourceLines)));
    } else {
      Write(*object, property, QVariant(TranslateWindowText(instance, item.source)));
    }
  }
}

// ----- TTranslationMarker -----

TTranslationMarker::TTranslationMarker() : retranslator_(std::make_unique<TRetranslator>()) {
  setObjectName(QString::fromLatin1(kName));
}

// ----- WindowTranslator -----

WindowTranslator::WindowTranslator() {
  IgnoreClassProperty(QObject::staticMetaObject, "objectName");
  // Settings of the widgets, not texts for people to read.
  IgnoreClassProperty(QWidget::staticMetaObject, "styleSheet");
  IgnoreClassProperty(QWidget::staticMetaObject, "windowFilePath");
  IgnoreClassProperty(QWidget::staticMetaObject, "windowIconText");
  IgnoreClassProperty(QLineEdit::staticMetaObject, "inputMask");
  // A menu's title is the text of its menu action: translated there, once. Read again
  // here it would already be the translation and be kept as if it were the English.
  IgnoreClassProperty(QMenu::staticMetaObject, "title");
  // An action's icon text and tool tip follow its text until they are set; setting them
  // to a translation would tie them to that language.
  IgnoreClassProperty(QAction::staticMetaObject, "iconText");
  IgnoreClassProperty(QAction::staticMetaObject, "toolTip");
}

WindowTranslator::~WindowTranslator() {
  std::lock_guard lock(InstalledMutex());
  if (InstalledTranslator() == this) {
    InstalledTranslator() = nullptr;
  }
}

void WindowTranslator::Install() {
  std::lock_guard lock(InstalledMutex());
  InstalledTranslator() = this;
}

WindowTranslator& WindowTranslator::Current() {
  static WindowTranslator standard;
  std::lock_guard lock(InstalledMutex());
  WindowTranslator* installed = InstalledTranslator();
  return installed != nullptr ? *installed : standard;
}

void WindowTranslator::IgnoreClassProperty(const QMetaObject& type, const QByteArray& property) {
  std::lock_guard lock(mutex_);
  rules_.push_back(Rule{&type, property.toUpper()});
  classes_.clear();
}

std::shared_ptr<const WindowTranslator::ClassTexts> WindowTranslator::TextsOf(
    const QMetaObject& type) {
  std::lock_guard lock(mutex_);
  return TextsOfLocked(type);
}

std::shared_ptr<const WindowTranslator::ClassTexts> WindowTranslator::TextsOfLocked(
    const QMetaObject& type) {
  auto found = classes_.find(&type);
  if (found != classes_.end()) {
    return found->second;
  }
  auto texts = std::make_shared<ClassTexts>();
  std::vector<QByteArray> ignored;
  bool whole = false;
  for (const Rule& rule : rules_) {
    if (type.inherits(rule.type)) {
      whole = whole || rule.property.isEmpty();
      ignored.push_back(rule.property);
    }
  }
  if (!whole) {
    auto kept = [&](const QByteArray& name) {
      return std::find(ignored.begin(), ignored.end(), name) == ignored.end();
    };
    // The inherited texts are those of the base class, less what a rule for this class
    // leaves out; only the class's own properties are looked at anew.
    if (const QMetaObject* base = type.superClass()) {
      const std::shared_ptr<const ClassTexts> inherited = TextsOfLocked(*base);
      for (std::size_t i = 0; i < inherited->properties.size(); ++i) {
        if (kept(inherited->names[i])) {
          texts->properties.push_back(inherited->properties[i]);
          texts->names.push_back(inherited->names[i]);
        }
      }
    }
    for (int i = type.propertyOffset(); i < type.propertyCount(); ++i) {
      const QMetaProperty property = type.property(i);
      const int kind = property.metaType().id();
      if ((kind != QMetaType::QString && kind != QMetaType::QStringList) ||
          !property.isWritable()) {
        continue;
      }
      QByteArray name = QByteArray(property.name()).toUpper();
      if (kept(name)) {
        texts->properties.push_back(i);
        texts->names.push_back(std::move(name));
      }
    }
  }
  classes_.emplace(&type, texts);
  return texts;
}

void WindowTranslator::TranslateWindow(QObject& window) {
  TranslateWindow(window, TTranslationInstance::Installed());
}

void WindowTranslator::TranslateWindow(QObject& window, TTranslationInstance* instance) {
  const std::string language = instance != nullptr ? instance->CurrentLanguage() : std::string();
  auto* marker = window.findChild<TTranslationMarker*>(
      QString::fromLatin1(TTranslationMarker::kName), Qt::FindDirectChildrenOnly);
  if (marker == nullptr) {
    // The marker joins the window only once the walk went through: a window whose walk
    // failed is walked from the start the next time, not replayed from half a record.
    auto created = std::make_unique<TTranslationMarker>();
    Walk(window, &created->Retranslator(), instance);
    marker = created.release();
    marker->setParent(&window);
  } else if (marker->Language() != language) {
    marker->Retranslator().Replay(instance);
  }
  marker->SetLanguage(language);
}

void WindowTranslator::Walk(QObject& window, TRetranslator* recorder,
                            TTranslationInstance* instance) {
  std::deque<QObject*> work{&window};
  QSet<const QObject*> visited;
  while (!work.empty()) {
    QObject* object = work.front();
    work.pop_front();
    if (visited.contains(object)) {
      continue;
    }
    visited.insert(object);

    const std::shared_ptr<const ClassTexts> texts = TextsOf(*object->metaObject());
    for (const int index : texts->properties) {
      const QMetaProperty property = object->metaObject()->property(index);
      const QByteArray name(property.name());
      const QVariant value = property.read(object);
      if (!value.isValid()) {
        FailProperty(StatusCode::kReadFailed, ClassName(*object), QString::fromLatin1(name),
                     QStringLiteral("the value could not be read"));
      }
      if (property.metaType().id() == QMetaType::QString) {
        const QString text = value.toString();
        if (text.isEmpty()) {
          continue;
        }
        if (recorder != nullptr) {
          recorder->Record(object, name, text);
        }
        const QString translated = TranslateWindowText(instance, text);
        if (translated != text) {
          Write(*object, property, QVariant(translated));
        }
      } else {
        // An item list: kept whole, translated line by line.
        const QStringList lines = value.toStringList();
        if (lines.isEmpty()) {
          continue;
        }
        if (recorder != nullptr) {
          recorder->RecordList(object, name, lines);
        }
        const QStringList translated = TranslateLines(instance, lines);
        if (translated != lines) {
          Write(*object, property, QVariant(translated));
        }
      }
    }

    for (QObject* child : object->children()) {
      if (!IsOwnWindow(*child) && qobject_cast<TTranslationMarker*>(child) == nullptr) {
        work.push_back(child);
      }
    }
  }
}

void TranslateWindow(QObject& window) {
  WindowTranslator::Current().TranslateWindow(window);
}

void IgnoreClassProperty(const QMetaObject& type, const QByteArray& property) {
  WindowTranslator::Current().IgnoreClassProperty(type, property);
}

std::string CurrentCatalogLanguage() {
  const TTranslationInstance* instance = TTranslationInstance::Installed();
  return instance != nullptr ? instance->CurrentLanguage() : std::string();
}

}  // namespace vantrel::i18n
