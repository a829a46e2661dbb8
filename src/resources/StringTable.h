#pragma once

#include <string>

namespace vantrel::resources {

// Text identifiers are the Italian ones; the English text of identifier n is n + 300.
// Identifier 1 holds the distance between the two languages ("300").
inline constexpr int kLanguageDistanceTextId = 1;

// The text of an identifier (language offset already added by the caller), UTF-8.
// An identifier that the table does not hold gives an empty text.
const std::string& LoadResString(int id);

// True when the table holds the identifier.
bool HasResString(int id);

// Language offset for a language index: the number held by text 1 times the index
// (0 for Italian, 300 for English).
int LanguageOffsetFor(int languageIndex);

// The text of an Italian identifier in the language of the given offset.
inline const std::string& Text(int italianId, int languageOffset) {
    return LoadResString(languageOffset + italianId);
}

}  // namespace vantrel::resources
