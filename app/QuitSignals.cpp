// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuitSignals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QtGlobal>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace vantrel {
namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP};
constexpr std::size_t kQuitSignalCount = sizeof kQuitSignals / sizeof kQuitSignals[0];

// The socket end the handler writes to; -1 while no QuitSignals exists. Read and written
// by a signal handler, so it must be lock-free.
std::atomic<int> signalSocket{-1};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction previousActions[kQuitSignalCount];

// Runs inside the signal handler: send() is async-signal-safe, and errno is the
// interrupted code's. A full socket already holds a request, so a byte lost there is
// lost to no one.
void OnQuitSignal(int) {
  const int savedErrno = errno;
  const int fd = signalSocket.load(std::memory_order_relaxed);
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t sent = send(fd, &byte, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
  }
  errno = savedErrno;
}

// Nothing to do: being caught is what makes the write fail with EFBIG.
void OnFileSizeSignal(int) {}

}  // namespace

void CatchFileSizeSignal() {
  struct sigaction action {};
  action.sa_handler = OnFileSizeSignal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGXFSZ, &action, nullptr);
}

QuitSignals::QuitSignals() {
  Q_ASSERT(signalSocket.load() < 0);
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sockets_) != 0) {
    // Without the socket the signals keep ending the program at once, as they always did.
    qWarning("Vantrel: no socket for the signals that end the program: %s", std::strerror(errno));
    sockets_[0] = sockets_[1] = -1;
    return;
  }
  notifier_ = new QSocketNotifier(sockets_[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::ReadSignals);
  signalSocket.store(sockets_[0]);

  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  // An interrupted call (a write of the settings, a wait for the disk) goes on as if
  // nothing had happened.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kQuitSignalCount; ++i) {
    sigaddset(&action.sa_mask, kQuitSignals[i]);
  }
  for (std::size_t i = 0; i < kQuitSignalCount; ++i) {
    sigaction(kQuitSignals[i], &action, &previousActions[i]);
  }
}

QuitSignals::~QuitSignals() {
  if (sockets_[0] < 0) {
    return;
  }
  // A program that was asked to end is ending: a repeat of the request finds the handler
  // with nothing to write to and changes nothing, so that the last steps of the way out
  // are not cut short into a death by signal. Otherwise a signal from now on ends the
  // program as it did before.
  if (!requested_) {
    for (std::size_t i = 0; i < kQuitSignalCount; ++i) {
      sigaction(kQuitSignals[i], &previousActions[i], nullptr);
    }
  }
  signalSocket.store(-1);
  delete notifier_;
  close(sockets_[0]);
  close(sockets_[1]);
}

void QuitSignals::SetClose(std::function<void()> close) {
  close_ = std::move(close);
  if (close_ && pending_) {
    pending_ = false;
    QMetaObject::invokeMethod(this, &QuitSignals::Serve, Qt::QueuedConnection);
  }
}

void QuitSignals::ReadSignals() {
  // Signals that came together (a SIGTERM and a SIGHUP of the same logout) are one request.
  bool any = false;
  char bytes[64];
  for (;;) {
    const ssize_t n = recv(sockets_[1], bytes, sizeof bytes, 0);
    if (n > 0) {
      any = true;
      continue;
    }
    if (n < 0 && errno == EINTR) {
      continue;
    }
    break;
  }
  if (any) {
    requested_ = true;
    // Queued, so that the close runs from the event loop itself, as a click on File > Exit
    // does, and not inside the notifier's activation.
    QMetaObject::invokeMethod(this, &QuitSignals::Serve, Qt::QueuedConnection);
  }
}

void QuitSignals::Serve() {
  if (!close_) {
    // A dialog of the start waits (for a dictionary, say): it ends as if cancelled, and
    // the main window closes as soon as it is there.
    pending_ = true;
    QCoreApplication::exit(0);
    return;
  }
  if (closing_) {
    // The close waits in a dialog; its settings are written already.
    QCoreApplication::exit(0);
    return;
  }
  closing_ = true;
  struct Closed {
    bool& closing;
    ~Closed() { closing = false; }
  } closed{closing_};
  close_();
}

}  // namespace vantrel
