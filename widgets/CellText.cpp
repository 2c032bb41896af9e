#include "CellText.h"

#include "Codepage.h"

namespace vantrel {

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

}  // namespace vantrel
