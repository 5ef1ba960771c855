#pragma once
// UTF-8 texts counted in characters (code points): a character is a lead byte and the
// continuation bytes after it; and written as UTF-16.
#include <cstddef>
#include <string_view>

namespace kelmar {

inline bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

inline std::size_t CharCount(std::string_view utf8) {
  std::size_t n = 0;
  for (const char c : utf8) n += !IsContinuationByte(c);
  return n;
}

// The UTF-8 of `text` as UTF-16 code units from `out` on, and the end of what it wrote: never
// more units than `text` has bytes. A byte that starts no well-formed character is U+FFFD.
char16_t* WriteUtf16(std::string_view text, char16_t* out);

}  // namespace kelmar
