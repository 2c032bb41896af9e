// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReportPage.h"

#include "AboutVantrel.h"
#include "Texts.h"

namespace vantrel {

QString ReportPageCaption() {
  return TranslateText("How To Report Error");
}

QStringList ReportPageLines(const QString& logPath) {
  // In the catalogs "c:\VantrelError.Log" stands for the log; each language puts it where
  // its sentence needs it, and the real path takes its place here.
  QString email = TranslateText("Please email c:\\VantrelError.Log to");
  email.replace(QStringLiteral("c:\\VantrelError.Log"), logPath, Qt::CaseInsensitive);
  return {QString(), QString(),
          email,     TranslateText(std::string(kSupportEmail) + "."),
          QString(), TranslateText("Thank You")};
}

QString CrashNoticeText(const QString& logPath) {
  return TranslateText(
             "Vantrel ended unexpectedly the last time it ran. A report was written "
             "to ") +
         logPath;
}

}  // namespace vantrel
