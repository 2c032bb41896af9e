#pragma once
// Texts between the engine's Windows-1252 bytes and what the windows show, and the one
// place where an English text is turned into the user's language.

#include <QString>
#include <string>
#include <string_view>

#include "CellText.h"
#include "Message.h"

namespace vantrel {

// One English text through the catalog of the current language. Until catalogs are
// installed the English text is the translation.
QString TranslateText(std::string_view english);
std::string TranslateTextCp1252(std::string_view english);

// A message assembled from pieces, each translatable piece translated on its own.
QString TranslateMessage(const Message& message);

}  // namespace vantrel
