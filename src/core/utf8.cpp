#include "core/utf8.h"

namespace kelmar {

char16_t* WriteUtf16(std::string_view text, char16_t* out) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
      *out++ = lead;
      ++i;
      continue;
    }
    const std::size_t len = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    char32_t cp = lead & (0x7F >> len);
    bool ok = len != 0 && i + len <= text.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      ok = (byte(i + k) & 0xC0) == 0x80;
      cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not characters.
    ok = ok && cp >= (len == 3 ? 0x800u : len == 4 ? 0x10000u : 0x80u) && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    if (!ok) {
      *out++ = u'\uFFFD';
      ++i;
    } else if (cp >= 0x10000) {
      *out++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
      i += len;
    } else {
      *out++ = static_cast<char16_t>(cp);
      i += len;
    }
  }
  return out;
}

}  // namespace kelmar
