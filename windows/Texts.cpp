#include "Texts.h"

namespace vantrel {

QString TranslateText(std::string_view english) {
  return QString::fromUtf8(english.data(), static_cast<qsizetype>(english.size()));
}

std::string TranslateTextCp1252(std::string_view english) {
  return ToCp1252(TranslateText(english));
}

QString TranslateMessage(const Message& message) {
  QString out;
  for (const TextPiece& piece : message) {
    // Names and numbers are UTF-8 already; dictionary texts were converted before.
    out += piece.translate ? TranslateText(piece.text) : QString::fromStdString(piece.text);
  }
  return out;
}

}  // namespace vantrel
