// SPDX-License-Identifier: GPL-3.0-or-later
#include "CellText.h"

#include "Codepage.h"

namespace vantrel {
namespace {

class Cp1252Validator final : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int& /*pos*/) const override {
    for (const char32_t code : input.toUcs4()) {
      if (UnicodeToCp1252(code) < 0) {
        return Invalid;
      }
    }
    return Acceptable;
  }
};

}  // namespace

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  return Utf8ToCp1252(text.toStdString());
}

QValidator* NewCp1252Validator(QObject* parent) {
  return new Cp1252Validator(parent);
}

}  // namespace vantrel
