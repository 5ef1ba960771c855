#include "settings/cp1251.h"

#include <array>
#include <cstddef>

#include "core/utf8.h"

namespace kelmar {
namespace {

// The characters of the upper half of the code page, 0x80 to 0xFF. 0x98 has no character in
// the code page; it maps to the C1 control U+0098, so that byte too survives a load and a save.
constexpr std::array<char16_t, 128> kUpperHalf = {
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  // 0x80
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  // 0x88
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  // 0x90
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  // 0x98
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  // 0xA0
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  // 0xA8
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  // 0xB0
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  // 0xB8
    // 0xC0–0xFF: А…я in alphabetical order.
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',
};

// The byte of one character, or -1 when the code page has none.
int ByteOf(char32_t c) {
  if (c < 0x80) return static_cast<int>(c);
  for (std::size_t i = 0; i < kUpperHalf.size(); ++i)
    if (kUpperHalf[i] == c) return static_cast<int>(0x80 + i);
  return -1;
}

// Only the code page's Cyrillic letters have capitals that are not ASCII: а–я, ѐ–џ and ґ.
char32_t CapitalOf(char32_t c) {
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c == 0x491) return 0x490;
  return c;
}

}  // namespace

std::string DecodeCp1251(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    AppendUtf8(out, b < 0x80 ? char32_t{b} : char32_t{kUpperHalf[b - 0x80]});
  }
  return out;
}

std::optional<std::string> EncodeCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  bool bad = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const int b = ByteOf(NextChar(utf8, i, bad));
    if (bad || b < 0) return std::nullopt;
    out.push_back(static_cast<char>(b));
  }
  return out;
}

std::string EncodeCp1251Lossy(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  bool bad = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const int b = ByteOf(NextChar(utf8, i, bad));
    out.push_back(b < 0 ? '?' : static_cast<char>(b));
  }
  return out;
}

bool FitsCp1251(std::string_view utf8) { return EncodeCp1251(utf8).has_value(); }

std::string UpperCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out.push_back(b >= 'a' && b <= 'z' ? static_cast<char>(b - 'a' + 'A') : static_cast<char>(b));
      ++i;
      continue;
    }
    // The code page's letters are all two-byte sequences; anything else is copied unchanged.
    if ((b & 0xE0) == 0xC0 && i + 1 < utf8.size() &&
        (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) |
                         (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      const char32_t u = CapitalOf(c);
      if (u != c && ByteOf(c) >= 0 && ByteOf(u) >= 0) {
        AppendUtf8(out, u);
        i += 2;
        continue;
      }
    }
    out.push_back(static_cast<char>(b));
    ++i;
  }
  return out;
}

}  // namespace kelmar
