#pragma once
// The settings file is 8-bit Windows-1251 text on disk; everything in memory is UTF-8.
// Every byte maps to one character and back, 0x98 (undefined in the code page) included,
// so a hand-edited file survives a load and a save byte for byte.
#include <optional>
#include <string>
#include <string_view>

namespace kelmar {

// Windows-1251 bytes → UTF-8. Never fails.
std::string DecodeCp1251(std::string_view bytes);

// UTF-8 → Windows-1251 bytes; nullopt when a character has no byte in the code page
// (or the text is not valid UTF-8).
std::optional<std::string> EncodeCp1251(std::string_view utf8);

// As EncodeCp1251, with every character that has no byte written as "?".
std::string EncodeCp1251Lossy(std::string_view utf8);

bool FitsCp1251(std::string_view utf8);

// Upper case as the code page knows it: a letter is raised only when its capital also has a
// byte in Windows-1251 (Latin and Cyrillic letters, "ё" → "Ё", "ґ" → "Ґ"; "µ" stays).
std::string UpperCp1251(std::string_view utf8);

}  // namespace kelmar
