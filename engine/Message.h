// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Messages are built from fixed English pieces, each translated on its own, with names
// and numbers inserted untranslated between them. The engine only assembles the pieces;
// the windows translate and show them. Pieces are UTF-8, like paths and translations;
// dictionary texts inside them have been converted from Windows-1252 first.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct TextPiece {
  std::string text;
  bool translate = false;
};

using Message = std::vector<TextPiece>;

inline TextPiece Tr(std::string_view english) {
  return {std::string(english), true};
}
inline TextPiece Lit(std::string_view text) {
  return {std::string(text), false};
}

// Joins the pieces, passing the translatable ones through translate.
inline std::string Render(const Message& message,
                          const std::function<std::string(std::string_view)>& translate) {
  std::string out;
  for (const TextPiece& piece : message) {
    out += piece.translate && translate ? translate(piece.text) : piece.text;
  }
  return out;
}

}  // namespace vantrel
