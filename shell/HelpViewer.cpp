// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

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

QUrl HelpUrl(int context) {
  const auto it = std::find_if(kHelpTopics.begin(), kHelpTopics.end(),
                               [context](const HelpTopic& t) { return t.context == context; });
  return it == kHelpTopics.end() ? HelpContentsUrl() : PageUrl(it->page, it->anchor);
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent), browser_(new QTextBrowser(this)) {
  RegisterHelpBook();
  setWindowFlag(Qt::Window);
  setObjectName(QStringLiteral("HelpViewer"));
  resize(680, 560);

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

HelpBook::HelpBook() = default;
HelpBook::~HelpBook() = default;

void HelpBook::ShowContents() {
  MadeViewer().ShowContents();
}

void HelpBook::ShowContext(int context) {
  MadeViewer().ShowContext(context);
}

HelpViewer& HelpBook::MadeViewer() {
  if (viewer_ == nullptr) {
    viewer_ = std::make_unique<HelpViewer>();
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
