#include "core/float_chars.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace kelmar {

namespace c_library {

std::string ScientificText(double v, int precision) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, "%.*e", precision, v);
  return std::string(buf, static_cast<std::size_t>(n));
}

std::string FixedText(double v, int precision) {
  char buf[400];
  const int n = std::snprintf(buf, sizeof buf, "%.*f", precision, v);
  return std::string(buf, static_cast<std::size_t>(n));
}

std::string ShortestText(double v) {
  if (v == 0) return std::signbit(v) ? "-0" : "0";
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  // The fewest significant digits that read back as v; printf rounds them exactly, so they are
  // also the digits nearest to v.
  char buf[64];
  int digits = 1;
  for (; digits < 17; ++digits) {
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
    if (std::strtod(buf, nullptr) == v) break;
  }
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
  const std::string sci = buf;
  const bool negative = sci[0] == '-';
  const std::size_t e = sci.find('e');
  std::string mantissa;  // the digits alone
  for (std::size_t i = negative ? 1 : 0; i < e; ++i)
    if (sci[i] != '.') mantissa += sci[i];
  const int exp10 = std::atoi(sci.c_str() + e + 1);
  std::string fixed = negative ? "-" : "";
  const int count = static_cast<int>(mantissa.size());
  if (exp10 >= count - 1) {
    // A whole number is written with all its digits, as "%.0f" gives them: 2^60 is
    // 1152921504606846976, not 1152921504606847000.
    std::snprintf(buf, sizeof buf, "%.0f", v);
    fixed = buf;
  } else if (exp10 >= 0) {
    fixed += mantissa.substr(0, static_cast<std::size_t>(exp10 + 1)) + "." + mantissa.substr(static_cast<std::size_t>(exp10 + 1));
  } else {
    fixed += "0." + std::string(static_cast<std::size_t>(-exp10 - 1), '0') + mantissa;
  }
  return fixed.size() <= sci.size() ? fixed : sci;
}

std::optional<double> ReadDouble(std::string_view text) {
  // strtod would also take blanks, a sign, hexadecimal, "inf" and "nan".
  if (text.empty() || text.front() == '+' ||
      text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
    return std::nullopt;
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const std::string s(text);
  char* end = nullptr;
  const double v = strtod_l(s.c_str(), &end, c_locale);
  if (end != s.c_str() + s.size() || std::isinf(v)) return std::nullopt;
  return v;
}

}  // namespace c_library

// GCC's library has had them since version 11; libc++ 13 has only the integer ones.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L

std::string ScientificText(double v, int precision) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, precision).ptr);
}

std::string FixedText(double v, int precision) {
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision).ptr);
}

std::string ShortestText(double v) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::optional<double> ReadDouble(std::string_view text) {
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return v;
}

#else

std::string ScientificText(double v, int precision) { return c_library::ScientificText(v, precision); }
std::string FixedText(double v, int precision) { return c_library::FixedText(v, precision); }
std::string ShortestText(double v) { return c_library::ShortestText(v); }
std::optional<double> ReadDouble(std::string_view text) { return c_library::ReadDouble(text); }

#endif

}  // namespace kelmar
