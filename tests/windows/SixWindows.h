// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's six windows as a test holds them: created in the program's order over the
// services a test provides, and closed in the reverse order. The holder closes them itself
// before its services go.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <memory>

#include "AboutVantrel.h"
#include "AffixUnit.h"
#include "LookUp.h"
#include "Main.h"
#include "Notify.h"
#include "Services.h"
#include "TestPanel.h"

namespace vantrel::testing {

struct SixWindows {
  void CreateWindows(Services& services) {
    form = std::make_unique<TMainForm>(services);
    lookup = std::make_unique<TLookupForm>(form->Dictionary(), services, form.get());
    about = std::make_unique<TAboutForm>(services, form.get());
    affix = std::make_unique<TAffixForm>(form->Model(), services, form.get());
    notify = std::make_unique<TNotifyForm>(services, form.get());
    test = std::make_unique<TTestForm>(services, form.get());
    form->SetSideWindows(lookup.get(), about.get(), affix.get(), notify.get(), test.get());
    WaitForAffixes();
  }

  // The affix table is read in the background; most tests start once it is in place.
  void WaitForAffixes() {
    const QDeadlineTimer deadline(30000);
    while (form->Model().AffixesLoading() && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
  }

  void CloseWindows() {
    test.reset();
    notify.reset();
    affix.reset();
    about.reset();
    lookup.reset();
    form.reset();
  }

  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TLookupForm> lookup;
  std::unique_ptr<TAboutForm> about;
  std::unique_ptr<TAffixForm> affix;
  std::unique_ptr<TNotifyForm> notify;
  std::unique_ptr<TTestForm> test;
};

}  // namespace vantrel::testing
