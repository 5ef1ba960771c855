#include "locator.h"

#include <algorithm>
#include <cmath>

#include "calc_error.h"
#include "number_text.h"
#include "utf8.h"

namespace kelmar {
namespace {

int TruncIndex(double v, int count) { return std::clamp(static_cast<int>(std::trunc(v)), 0, count - 1); }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool InRange(char c, char lo, char hi) {
  c = Upper(c);
  return c >= lo && c <= hi;
}

std::string CutTo7(double v) {
  std::string s = FloatToStr(v);
  if (s.size() > 7) s.resize(7);
  return s;
}

}  // namespace

std::string LocatorFromCoords(double lat_deg, double lon_deg) {
  // Whole turns with fmod: a loop would never end for 1e300.
  double x = std::fmod(lon_deg + 180, 360.0);
  if (x < 0) x += 360;
  if (x >= 360) x -= 360;  // a tiny negative remainder plus 360 rounds to 360
  // Latitudes of 90° and above stay just below the pole, so every character keeps its alphabet.
  double y = lat_deg >= 90 ? std::nextafter(180.0, 0.0) : lat_deg < -90 ? 0.0 : lat_deg + 90;

  std::string loc(6, ' ');
  const int a = TruncIndex(x / 20, 18);
  loc[0] = static_cast<char>('A' + a);
  x = x - 20 * a;
  const int b = TruncIndex(y / 10, 18);
  loc[1] = static_cast<char>('A' + b);
  y = y - 10 * b;
  const int c = TruncIndex(x / 2, 10);
  loc[2] = static_cast<char>('0' + c);
  x = x - 2 * c;
  const int d = TruncIndex(y, 10);
  loc[3] = static_cast<char>('0' + d);
  y = y - d;
  loc[4] = static_cast<char>('a' + TruncIndex(12 * x, 24));
  loc[5] = static_cast<char>('a' + TruncIndex(24 * y, 24));
  return loc;
}

std::optional<CoordTexts> LocatorToCoords(std::string_view name) {
  if (!IsValidLocatorName(name)) return std::nullopt;
  int t[6];  // characters 2 to 7 by their codes
  for (std::size_t i = 0; i < 6; ++i) t[i] = Upper(name[i + 1]);
  const double lon = (t[0] - 65) * 20 + (t[2] - 48) * 2 + (t[4] - 65) / 12.0 + 1.0 / 24 - 180;
  const double lat = (t[1] - 65) * 10 + (t[3] - 48) + (t[5] - 65) / 24.0 + 1.0 / 48 - 90;
  return CoordTexts{CutTo7(lat), CutTo7(lon)};
}

CoordTexts CoordsOfLocator(std::string_view text) {
  if (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const auto refuse = [](const char* why) { return CalcError(std::string(kInvalidLocator) + ": " + why); };
  if (CharCount(text) != 6) throw refuse("нужно 6 символов");
  if (!InRange(text[0], 'A', 'R') || !InRange(text[1], 'A', 'R')) throw refuse("1-й и 2-й символы — буквы от A до R");
  if (!InRange(text[2], '0', '9') || !InRange(text[3], '0', '9')) throw refuse("3-й и 4-й символы — цифры");
  if (!InRange(text[4], 'A', 'X') || !InRange(text[5], 'A', 'X')) throw refuse("5-й и 6-й символы — буквы от A до X");
  return *LocatorToCoords(" " + std::string(text));
}

bool IsValidLocatorName(std::string_view name) {
  return name.size() >= 7 && name[0] == ' ' && InRange(name[1], 'A', 'R') && InRange(name[2], 'A', 'R') &&
         InRange(name[3], '0', '9') && InRange(name[4], '0', '9') && InRange(name[5], 'A', 'X') &&
         InRange(name[6], 'A', 'X');
}

}  // namespace kelmar
