// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page of the error report that tells the user how to send the log to the makers, in
// the language of the moment.

#include <QString>
#include <QStringList>

namespace vantrel {

// The page's name: translated "How To Report Error".
QString ReportPageCaption();

// The page's six lines, naming the real log file and the support address.
QStringList ReportPageLines(const QString& logPath);

// Said once at the start after a run that ended in a crash.
QString CrashNoticeText(const QString& logPath);

}  // namespace vantrel
