// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The signals by which the system ends a program. A logout or a shutdown sends SIGTERM
// (a closed terminal SIGHUP) and kills whatever is left a few seconds later; by default
// either signal ends the program at once, and the settings of the run are lost. Here they
// close the main window as File > Exit does, so that its close writes every setting.
//
// A signal handler may do almost nothing: it writes one byte to a socket, which a
// QSocketNotifier reads on the GUI thread, and the close follows there as a queued call.
// Nothing therefore runs in the middle of anything else: a settings write that a signal
// meets goes on to its end (the handler restarts the calls it interrupts).
//
// A signal while the close itself waits in a dialog (the new-release notice, an error
// report) ends every event loop, and with them the program: the settings are written by
// then, and the system is about to kill what still runs.
//
// SIGXFSZ, which the system sends a program that writes past its file-size limit (ulimit
// -f), also ends it at once by default, in the middle of the write. Caught, the write
// fails with EFBIG instead, and the failure takes the writer's own path: the settings
// store reports it, removes its temporary file and keeps the old settings.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vantrel {

// Lets a write past the file-size limit fail with EFBIG instead of ending the program.
// Called first thing in main; a handler that does nothing rather than SIG_IGN, because an
// ignored signal stays ignored in the programs the desktop starts for us (a mail program,
// a browser), while a caught one is the default again there.
void CatchFileSizeSignal();

class QuitSignals final : public QObject {
  Q_OBJECT

 public:
  // Takes over SIGTERM and SIGHUP. The handlers that were there before come back with the
  // destructor, unless a signal came: then later ones change nothing until the program has
  // ended. Only one may exist at a time. Needs the application object.
  QuitSignals();
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // What a signal does: close the main window. A signal that comes before this is set
  // ends the dialog of the start that waits, and is served once this is set; an empty one
  // stops serving.
  void SetClose(std::function<void()> close);

 private:
  void ReadSignals();
  void Serve();

  int sockets_[2] = {-1, -1};
  QSocketNotifier* notifier_ = nullptr;
  std::function<void()> close_;
  bool requested_ = false;
  bool pending_ = false;
  bool closing_ = false;
};

}  // namespace vantrel
