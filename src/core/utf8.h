#pragma once
// UTF-8 texts: counted in characters (code points), a character being a lead byte and the
// continuation bytes after it; read a character at a time; written from characters and as UTF-16.
#include <cstddef>
#include <string>
#include <string_view>

namespace kelmar {

inline bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

inline std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += !IsContinuationByte(c);
  return n;
}

inline constexpr char32_t kReplacementChar = 0xFFFD;

// The next character of UTF-8 text at i, moving i past it. An ill-formed sequence (overlong,
// a surrogate, above U+10FFFF, cut short) gives kReplacementChar and sets `bad`; i then moves on
// by one byte only, as Qt's decoder does, so every byte of it counts as one bad character.
char32_t NextChar(std::string_view s, std::size_t& i, bool& bad);

// c appended to out as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// The UTF-8 of `text` as UTF-16 code units from `out` on, and the end of what it wrote: never
// more units than `text` has bytes. Ill-formed bytes are read as NextChar reads them.
char16_t* WriteUtf16(std::string_view text, char16_t* out);

}  // namespace kelmar
