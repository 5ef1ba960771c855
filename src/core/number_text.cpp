#include "number_text.h"

#include "float_chars.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "calc_error.h"

namespace kelmar {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when s is: sign? digits* ('.' digits*)? (e|E sign? digits+)?, with at least one mantissa digit.
bool IsDecimalNumber(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exp_digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  return i == s.size();
}

// A plain decimal of at most 15 digits and no exponent, read exactly: its digits as a whole
// number and ten to the power of its decimals are both exact doubles, so their quotient is the
// correctly rounded value, as strtod gives it. nullopt for any other text. strtod itself costs
// many times more where long double is done in software (the browser build).
std::optional<double> ShortDecimalValue(std::string_view s) {
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) ++i;
  static constexpr double kTens[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  std::int64_t whole = 0;
  int digits = 0, decimals = -1;  // decimals: -1 before the point
  for (; i < s.size(); ++i) {
    if (s[i] == '.' && decimals < 0) {
      decimals = 0;
      continue;
    }
    if (!IsDigit(s[i]) || ++digits > 15) return std::nullopt;
    whole = whole * 10 + (s[i] - '0');
    if (decimals >= 0) ++decimals;
  }
  if (digits == 0) return std::nullopt;
  const double v = static_cast<double>(whole) / kTens[decimals < 0 ? 0 : decimals];
  return negative ? -v : v;
}

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::optional<double> ParseFloat(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (!IsDecimalNumber(s)) return std::nullopt;
  if (const std::optional<double> v = ShortDecimalValue(s)) return v;
  const std::string buf(s);
  // strtod_l reads the grammar checked above with "." whatever the process locale; it rounds
  // correctly, gives ±HUGE_VAL on overflow and a (sub)normal or zero on underflow.
  const double v = strtod_l(buf.c_str(), nullptr, CLocale());
  if (std::isinf(v)) return std::nullopt;
  return v;
}

double StrToFloat(std::string_view text) {
  if (auto v = ParseFloat(text)) return *v;
  throw CalcError(NotAFloatMessage(text));
}

std::optional<int> ParseInt(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  long long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

int StrToInt(std::string_view text) {
  if (auto v = ParseInt(text)) return *v;
  throw CalcError(NotAnIntegerMessage(text));
}

std::string FloatToStr(double value) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : (std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF");
  // 15 significant digits, correctly rounded, and the decimal exponent of the first one.
  const std::string sci = ScientificText(value, 14);
  const char* buf = sci.c_str();
  const bool negative = buf[0] == '-';
  const char* p = buf + (negative ? 1 : 0);
  char digits[16];
  int n = 0;
  digits[n++] = p[0];
  for (int i = 2; i < 16; ++i) digits[n++] = p[i];
  const int exp10 = std::atoi(p + 17);
  while (n > 1 && digits[n - 1] == '0') --n;

  std::string out;
  if (negative) out += '-';
  if (exp10 >= 15 || exp10 < -5) {
    // More than 15 digits before the point, or more than 4 zeros after it.
    out += digits[0];
    if (n > 1) {
      out += '.';
      out.append(digits + 1, n - 1);
    }
    out += 'E';
    if (exp10 < 0) out += '-';
    out += std::to_string(exp10 < 0 ? -exp10 : exp10);
  } else if (exp10 < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exp10 - 1), '0');
    out.append(digits, n);
  } else {
    const int int_digits = exp10 + 1;
    for (int i = 0; i < int_digits; ++i) out += i < n ? digits[i] : '0';
    if (n > int_digits) {
      out += '.';
      out.append(digits + int_digits, n - int_digits);
    }
  }
  return out;
}

std::size_t FormatOneDecimal(double value, char (&out)[kOneDecimalMax]) {
  if (value == 0) return std::string_view("0.0").copy(out, 3);
  if (!std::isfinite(value)) return std::string_view("---").copy(out, 3);
  // Rounded like printf's "%.1f" (to nearest on the exact binary value). Away from a tie the
  // product by ten rounds the same way, so the digits come straight from it; near a tie, and
  // for values too large for the shortcut, the exact conversion decides.
  const double tenths = (value < 0 ? -value : value) * 10;
  if (tenths < 1e15) {
    const auto whole = static_cast<unsigned long long>(tenths);
    const double frac = tenths - static_cast<double>(whole);
    if (frac < 0.499999 || frac > 0.500001) {
      const unsigned long long q = whole + (frac > 0.5 ? 1 : 0);  // whole tenths
      std::size_t len = 0;
      if (value < 0) out[len++] = '-';  // the sign of the unrounded value: -0.03 is "-0.0"
      if (q < 100000) {
        // Table values are small: two digits at a time.
        static constexpr char kPairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        const auto t = static_cast<std::uint32_t>(q);
        const std::uint32_t hi = t / 100, lo = t % 100;  // hi: the digits before the last two
        if (hi >= 100) out[len++] = static_cast<char>('0' + hi / 100);
        if (hi >= 10) out[len++] = kPairs[2 * (hi % 100)];
        if (hi >= 1) out[len++] = kPairs[2 * (hi % 100) + 1];
        out[len++] = kPairs[2 * lo];
        out[len++] = '.';
        out[len++] = kPairs[2 * lo + 1];
        return len;
      }
      char digits[24];
      std::size_t n = 0;
      for (auto t = q; n < 2 || t != 0; t /= 10) digits[n++] = static_cast<char>('0' + t % 10);
      while (n > 1) out[len++] = digits[--n];
      out[len++] = '.';
      out[len++] = digits[0];
      return len;
    }
  }
  const std::string text = FixedText(value, 1);
  const std::size_t n = std::min(text.size(), kOneDecimalMax);
  std::copy_n(text.data(), n, out);
  return n;
}

std::string FormatOneDecimal(double value) {
  char buf[kOneDecimalMax];
  return std::string(buf, FormatOneDecimal(value, buf));
}

double OneDecimalValue(double value) {
  if (!std::isfinite(value)) return std::numeric_limits<double>::quiet_NaN();
  char buf[kOneDecimalMax];
  return ReadDouble(std::string_view(buf, FormatOneDecimal(value, buf))).value_or(0);
}

std::string CommaRule(std::string text) {
  if (auto pos = text.find(','); pos != std::string::npos) text[pos] = '.';
  return text;
}

}  // namespace kelmar
