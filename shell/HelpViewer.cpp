// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

// The book is compiled into the static shell library; nothing else refers to it, so the
// linker would drop it unless it is registered by name.
static void RegisterHelpBook() {
  static bool registered = false;
  if (!registered) {
    Q_INIT_RESOURCE(vantrel_help);
    registered = true;
  }
}

namespace vantrel {

namespace {

constexpr QLatin1StringView kBookRoot("/help/");

QUrl PageUrl(std::string_view page, std::string_view anchor) {
  QUrl url(QStringLiteral("qrc:") + kBookRoot + HelpLanguageFolder() +
           QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size())));
  if (!anchor.empty()) {
    url.setFragment(QString::fromLatin1(anchor.data(), static_cast<qsizetype>(anchor.size())));
  }
  return url;
}

class MenuHelpKey final : public QObject {
 public:
  MenuHelpKey(QMenu* menu, Help& help, int context)
      : QObject(menu), menu_(menu), help_(help), context_(context) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == menu_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
      // The help window would sit behind a menu that holds the keyboard and mouse.
      menu_->hide();
      help_.ShowContext(context_);
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QMenu* menu_;
  Help& help_;
  int context_;
};

// One link of the page on show: where its text stands in the document, and where it leads.
struct PageLink {
  int start = 0;
  int end = 0;
  QString href;
  QString text;
  bool operator==(const PageLink&) const = default;
};

std::vector<PageLink> LinksOf(const QTextDocument& document) {
  std::vector<PageLink> links;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      if (!format.isAnchor() || format.anchorHref().isEmpty()) {
        continue;
      }
      const int start = fragment.position();
      const int end = start + fragment.length();
      // A link whose words are set in two styles is two fragments but one link.
      if (!links.empty() && links.back().end == start && links.back().href == format.anchorHref()) {
        links.back().end = end;
        links.back().text += fragment.text();
      } else {
        links.push_back({start, end, format.anchorHref(), fragment.text()});
      }
    }
  }
  for (PageLink& link : links) {
    link.text = link.text.simplified();
  }
  return links;
}

// The page's text between two offsets, a paragraph's end read as a line end.
QString PageText(const QTextBrowser& browser, int start, int end) {
  QTextCursor cursor(browser.document());
  cursor.setPosition(start);
  cursor.setPosition(end, QTextCursor::KeepAnchor);
  QString text = cursor.selectedText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

// Where the text at an offset stands on screen.
QRect ScreenRect(const QTextBrowser& browser, int start, int end) {
  QTextCursor cursor(browser.document());
  cursor.setPosition(start);
  QRect rect = browser.cursorRect(cursor);
  cursor.setPosition(end);
  rect = rect.united(browser.cursorRect(cursor));
  return QRect(browser.viewport()->mapToGlobal(rect.topLeft()), rect.size());
}

// A link of the help page as a screen reader finds it: a link named by its words that it
// can follow, as a click would.
class HelpLinkAccessible final : public QAccessibleInterface,
                                 public QAccessibleActionInterface,
                                 public QAccessibleHyperlinkInterface {
 public:
  HelpLinkAccessible(QTextBrowser* browser, PageLink link)
      : browser_(browser), link_(std::move(link)) {}

  bool isValid() const override { return !browser_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return browser_.isNull() ? nullptr : browser_->window()->windowHandle();
  }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(browser_.data());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? link_.text : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    return browser_.isNull() ? QRect() : ScreenRect(*browser_, link_.start, link_.end);
  }
  QAccessible::Role role() const override { return QAccessible::Link; }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (browser_.isNull()) {
      state.invalid = true;
      return state;
    }
    state.focusable = true;
    state.linked = true;
    const QTextCursor cursor = browser_->textCursor();
    // Tab moves from link to link by selecting the link's words.
    state.focused = browser_->hasFocus() && cursor.selectionStart() == link_.start &&
                    cursor.selectionEnd() == link_.end;
    const QRect shown(browser_->viewport()->mapToGlobal(QPoint(0, 0)),
                      browser_->viewport()->size());
    state.offscreen = !shown.intersects(rect());
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) {
      return static_cast<QAccessibleActionInterface*>(this);
    }
    if (type == QAccessible::HyperlinkInterface) {
      return static_cast<QAccessibleHyperlinkInterface*>(this);
    }
    return nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && !browser_.isNull()) {
      browser_->setSource(browser_->source().resolved(QUrl(link_.href)));
    }
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  QString anchor() const override { return link_.text; }
  QString anchorTarget() const override { return link_.href; }
  int startIndex() const override { return link_.start; }
  int endIndex() const override { return link_.end; }

 private:
  QPointer<QTextBrowser> browser_;
  PageLink link_;
};

// The help page as a screen reader finds it: a document named by the page's title, whose
// text it reads and whose links are its children. Qt would give the page as an edit field
// whose links are plain words.
class HelpPageAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit HelpPageAccessible(QTextBrowser* browser)
      : QAccessibleWidget(browser, QAccessible::Document) {}
  ~HelpPageAccessible() override { DropLinks(); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const QString name = Browser().accessibleName();
      return name.isEmpty() ? Browser().documentTitle() : name;
    }
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
  }
  int childCount() const override {
    Refresh();
    return static_cast<int>(links_.size());
  }
  QAccessibleInterface* child(int index) const override {
    Refresh();
    if (index < 0 || index >= static_cast<int>(links_.size())) {
      return nullptr;
    }
    QAccessible::Id& id = ids_[static_cast<std::size_t>(index)];
    if (id == 0) {
      id = QAccessible::registerAccessibleInterface(new HelpLinkAccessible(
          const_cast<QTextBrowser*>(&Browser()), links_[static_cast<std::size_t>(index)]));
    }
    return QAccessible::accessibleInterface(id);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    Refresh();
    const auto it = std::find(ids_.begin(), ids_.end(),
                              QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)));
    return it == ids_.end() ? -1 : static_cast<int>(it - ids_.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = 0; i < childCount(); ++i) {
      if (QAccessibleInterface* link = child(i); link->rect().contains(x, y)) {
        return link;
      }
    }
    return nullptr;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    const QTextCursor cursor = Browser().textCursor();
    const bool any = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = any ? cursor.selectionStart() : 0;
    *endOffset = any ? cursor.selectionEnd() : 0;
  }
  int selectionCount() const override { return Browser().textCursor().hasSelection() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override {
    setSelection(0, startOffset, endOffset);
  }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) {
      QTextCursor cursor = Browser().textCursor();
      cursor.clearSelection();
      MutableBrowser().setTextCursor(cursor);
    }
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex != 0) {
      return;
    }
    QTextCursor cursor = Browser().textCursor();
    cursor.setPosition(Bounded(startOffset));
    cursor.setPosition(Bounded(endOffset), QTextCursor::KeepAnchor);
    MutableBrowser().setTextCursor(cursor);
  }
  int cursorPosition() const override { return Browser().textCursor().position(); }
  void setCursorPosition(int position) override {
    QTextCursor cursor = Browser().textCursor();
    cursor.setPosition(Bounded(position));
    MutableBrowser().setTextCursor(cursor);
  }
  QString text(int startOffset, int endOffset) const override {
    const int end = endOffset < 0 ? characterCount() : Bounded(endOffset);
    const int start = std::min(Bounded(startOffset), end);
    return PageText(Browser(), start, end);
  }
  int characterCount() const override {
    // The document's last paragraph end is no character of the page.
    return std::max(Browser().document()->characterCount() - 1, 0);
  }
  QRect characterRect(int offset) const override {
    const int at = Bounded(offset);
    return ScreenRect(Browser(), at, std::min(at + 1, characterCount()));
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint inside = Browser().viewport()->mapFromGlobal(point);
    if (!Browser().viewport()->rect().contains(inside)) {
      return -1;
    }
    return Browser().cursorForPosition(inside).position();
  }
  void scrollToSubstring(int startIndex, int) override {
    QTextCursor cursor(Browser().document());
    cursor.setPosition(Bounded(startIndex));
    const QRect rect = Browser().cursorRect(cursor);
    if (rect.top() < 0 || rect.bottom() > Browser().viewport()->height()) {
      QScrollBar* bar = Browser().verticalScrollBar();
      bar->setValue(bar->value() + rect.top());
    }
  }
  QString attributes(int, int* startOffset, int* endOffset) const override {
    // The page's styles are for the eye; the whole text reads alike.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

 private:
  const QTextBrowser& Browser() const { return *static_cast<const QTextBrowser*>(widget()); }
  QTextBrowser& MutableBrowser() { return *static_cast<QTextBrowser*>(widget()); }
  int Bounded(int offset) const { return std::clamp(offset, 0, characterCount()); }

  // The links of the page now on show; those of a page shown before go with it.
  void Refresh() const {
    std::vector<PageLink> links = LinksOf(*Browser().document());
    if (links != links_) {
      DropLinks();
      links_ = std::move(links);
      ids_.assign(links_.size(), 0);
    }
  }
  void DropLinks() const {
    for (QAccessible::Id id : ids_) {
      if (id != 0) {
        QAccessible::deleteAccessibleInterface(id);
      }
    }
    ids_.clear();
  }

  mutable std::vector<PageLink> links_;
  mutable std::vector<QAccessible::Id> ids_;
};

// The help window is a window of its own to a screen reader, not a pane of another.
QAccessibleInterface* HelpAccessibleFactory(const QString&, QObject* object) {
  if (auto* viewer = qobject_cast<HelpViewer*>(object)) {
    return new QAccessibleWidget(viewer, QAccessible::Window);
  }
  auto* browser = qobject_cast<QTextBrowser*>(object);
  if (browser != nullptr && qobject_cast<HelpViewer*>(browser->parent()) != nullptr) {
    return new HelpPageAccessible(browser);
  }
  return nullptr;
}

// The page's control, made once a screen reader would find it as the help's own.
QTextBrowser* NewHelpBrowser(QWidget* viewer) {
  static const bool installed = [] {
    QAccessible::installFactory(HelpAccessibleFactory);
    return true;
  }();
  (void)installed;
  return new QTextBrowser(viewer);
}

}  // namespace

QString HelpLanguageFolder() {
  switch (QLocale().language()) {
    case QLocale::German:
      return QStringLiteral("de/");
    case QLocale::French:
      return QStringLiteral("fr/");
    default:
      return {};
  }
}

QUrl InCurrentLanguage(const QUrl& url) {
  if (url.scheme() != QLatin1String("qrc") || !url.path().startsWith(kBookRoot)) {
    return url;
  }
  // The page's name is the last part of its path, whichever language it was in.
  const QString path = url.path();
  QUrl result = url;
  result.setPath(kBookRoot + HelpLanguageFolder() + path.mid(path.lastIndexOf(u'/') + 1));
  return result;
}

QUrl HelpContentsUrl() {
  return PageUrl(kHelpContentsPage, {});
}

constexpr PlaceSettings kHelpPlace{Setting::kHelpTop, Setting::kHelpLeft, Setting::kHelpWidth,
                                   Setting::kHelpHeight};

QUrl HelpUrl(int context) {
  const auto it = std::find_if(kHelpTopics.begin(), kHelpTopics.end(),
                               [context](const HelpTopic& t) { return t.context == context; });
  return it == kHelpTopics.end() ? HelpContentsUrl() : PageUrl(it->page, it->anchor);
}

HelpViewer::HelpViewer(QWidget* parent, SettingsStore* settings)
    : QWidget(parent), browser_(NewHelpBrowser(this)) {
  RegisterHelpBook();

  setWindowFlag(Qt::Window);
  setObjectName(QStringLiteral("HelpViewer"));
  const QSize design(RowOf(Setting::kHelpWidth).design, RowOf(Setting::kHelpHeight).design);
  move(DesignPlace(Setting::kHelpLeft, Setting::kHelpTop));
  resize(design);
  if (settings != nullptr) {
    RestoreSettings(*settings, kHelpWindowReadOrder,
                    [this](Setting setting, const SettingValue& value) {
                      ApplyPlace(*this, kHelpPlace, setting, value);
                    });
    resize(SizeOnScreen(WindowSize(*this), design));
    move(PlaceOnScreen(pos(), WindowSize(*this),
                       DesignPlace(Setting::kHelpLeft, Setting::kHelpTop)));
  }

  contents_ = new QPushButton(this);
  back_ = new QPushButton(this);
  forward_ = new QPushButton(this);
  contents_->setObjectName(QStringLiteral("ContentsBtn"));
  back_->setObjectName(QStringLiteral("BackBtn"));
  forward_->setObjectName(QStringLiteral("ForwardBtn"));
  TranslateTexts();
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(contents_, &QPushButton::clicked, this, &HelpViewer::ShowContents);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    // A screen reader reads the new page's title and links.
    QAccessibleEvent named(browser_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent reordered(browser_, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
  });

  // The book links only to its own pages; nothing in it should leave the program.
  browser_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents_);
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);

  // Esc closes it, as it closes every other window of the program.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  close->setContext(Qt::WindowShortcut);
  connect(close, &QShortcut::activated, this, &QWidget::close);

  browser_->setSource(HelpContentsUrl());
}

void HelpViewer::TranslateTexts() {
  // Qt's translator, which the program installs, answers these from the program's catalog.
  setWindowTitle(tr("Vantrel Help"));
  contents_->setText(tr("&Contents"));
  back_->setText(tr("&Back"));
  forward_->setText(tr("&Forward"));
}

void HelpViewer::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LanguageChange) {
    TranslateTexts();
    const QUrl shown = browser_->source();
    const QUrl wanted = InCurrentLanguage(shown);
    if (wanted != shown) {
      // The history belongs to the old language's pages; it starts again here.
      browser_->setSource(wanted);
      browser_->clearHistory();
    }
  }
  QWidget::changeEvent(event);
}

std::optional<SettingValue> HelpViewer::Stored(Setting setting) const {
  return StoredPlace(*this, kHelpPlace, setting);
}

void HelpViewer::ShowContents() {
  Present(HelpContentsUrl());
}

void HelpViewer::ShowContext(int context) {
  Present(HelpUrl(context));
}

void HelpViewer::Present(const QUrl& url) {
  browser_->setSource(url);
  show();
  raise();
  activateWindow();
}

HelpBook::HelpBook(SettingsStore* settings) : settings_(settings) {}
HelpBook::~HelpBook() = default;

void HelpBook::ShowContents() {
  MadeViewer().ShowContents();
}

void HelpBook::ShowContext(int context) {
  MadeViewer().ShowContext(context);
}

std::optional<SettingValue> HelpBook::Stored(Setting setting) const {
  if (settings_ == nullptr) {
    return std::nullopt;
  }
  return MadeViewer().Stored(setting);
}

HelpViewer& HelpBook::MadeViewer() const {
  if (viewer_ == nullptr) {
    viewer_ = std::make_unique<HelpViewer>(nullptr, settings_);
  }
  return *viewer_;
}

void InstallHelpKey(QWidget* window, Help& help, int context) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window,
                   [&help, context] { help.ShowContext(context); });
}

void InstallHelpKey(QMenu* menu, Help& help, int context) {
  menu->installEventFilter(new MenuHelpKey(menu, help, context));
}

}  // namespace vantrel
