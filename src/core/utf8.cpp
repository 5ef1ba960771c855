#include "core/utf8.h"

namespace kelmar {

char32_t NextChar(std::string_view s, std::size_t& i, bool& bad) {
  const std::size_t start = i;
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int need = 0;
  char32_t c = 0, lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1, c = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2, c = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3, c = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    bad = true;
    return kReplacementChar;
  }
  for (int k = 0; k < need; ++k) {
    const char32_t b = i < s.size() ? static_cast<unsigned char>(s[i]) : 0u;
    if (i >= s.size() || b < (k == 0 ? lo : 0x80) || b > (k == 0 ? hi : 0xBF)) {
      bad = true;
      i = start + 1;
      return kReplacementChar;
    }
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char16_t* WriteUtf16(std::string_view text, char16_t* out) {
  bool bad = false;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextChar(text, i, bad);
    if (c >= 0x10000) {
      *out++ = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      *out++ = static_cast<char16_t>(c);
    }
  }
  return out;
}

}  // namespace kelmar
