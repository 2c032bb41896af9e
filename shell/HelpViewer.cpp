#include "HelpViewer.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
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

QUrl PageUrl(std::string_view page, std::string_view anchor) {
  QUrl url(QStringLiteral("qrc:/help/") +
           QString::fromLatin1(page.data(), static_cast<qsizetype>(page.size())));
  if (!anchor.empty()) {
    url.setFragment(QString::fromLatin1(anchor.data(), static_cast<qsizetype>(anchor.size())));
  }
  return url;
}

class MenuHelpKey final : public QObject {
 public:
  MenuHelpKey(QMenu* menu, IHelp& help, int context)
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
  IHelp& help_;
  int context_;
};

}  // namespace

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
  setWindowTitle(tr("Vantrel Help"));
  resize(680, 560);

  auto* contents = new QPushButton(tr("Contents"), this);
  auto* back = new QPushButton(tr("Back"), this);
  auto* forward = new QPushButton(tr("Forward"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, &HelpViewer::ShowContents);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

  // The book links only to its own pages; nothing in it should leave the program.
  browser_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
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

void InstallHelpKey(QWidget* window, IHelp& help, int context) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window,
                   [&help, context] { help.ShowContext(context); });
}

void InstallHelpKey(QMenu* menu, IHelp& help, int context) {
  menu->installEventFilter(new MenuHelpKey(menu, help, context));
}

}  // namespace vantrel
