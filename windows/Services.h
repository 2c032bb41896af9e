// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every window is given at its creation: the seams to the desktop and the shell's
// shared state.

#include "Dialogs.h"
#include "HelpViewer.h"
#include "Launcher.h"
#include "SettingsStore.h"
#include "Translator.h"

namespace vantrel {

struct ShellState {
  // Timer ticks since the user last did something; the button animation raises it.
  int IdleTicks = 0;
  // The first step of every handler of a user action.
  void NoteUserActivity() { IdleTicks = 0; }
  // Whether the button animation runs; changed only by the test window.
  bool AnimationOn = false;
  // Set near the end of the main window's creation; column syncing waits for it.
  bool StartupDone = false;
};

struct Services {
  Dialogs& dialogs;
  Launcher& launcher;
  Help& help;
  SettingsStore& settings;
  ShellState& state;
  // Every text a window shows in the user's language, and the switch of that language.
  Translator& translator;
};

}  // namespace vantrel
