#include "grid_checks.h"

#include <algorithm>
#include <cctype>

#include "core/date_names.h"

namespace kelmar::testing_support {

InputFields PlaceFields(std::string_view lat, std::string_view lon, std::string_view gmt) {
  InputFields in;
  in.latitude = lat;
  in.longitude = lon;
  in.gmt_offset = gmt;
  in.msk_offset = "0";
  in.twilight_angle = "6";
  in.twilight_height = "12.345";
  in.zone = ZoneKind::FromGmt;
  in.twilight = TwilightKind::ByAngle;
  in.seconds = false;
  return in;
}

CalcState MonthState(int year, int month) {
  CalcState st;
  st.Names = RussianDateNames();
  st.Year = static_cast<std::uint16_t>(year);
  st.Month = static_cast<std::uint16_t>(month);
  return st;
}

namespace {
bool TwoDigits(std::string_view t, std::size_t at, int max) {
  if (at + 2 > t.size() || !std::isdigit(static_cast<unsigned char>(t[at])) ||
      !std::isdigit(static_cast<unsigned char>(t[at + 1])))
    return false;
  return (t[at] - '0') * 10 + (t[at + 1] - '0') <= max;
}
}  // namespace

bool IsTime(std::string_view t, bool seconds) {
  if (t.size() != (seconds ? 8u : 5u)) return false;
  if (!TwoDigits(t, 0, 24) || t[2] != ':' || !TwoDigits(t, 3, 59)) return false;
  return !seconds || (t[5] == ':' && TwoDigits(t, 6, 59));
}

int Minutes(std::string_view t) {
  return ((t[0] - '0') * 10 + (t[1] - '0')) * 60 + (t[3] - '0') * 10 + (t[4] - '0');
}

bool IsOneDecimal(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t digits_from = i;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
  if (i == digits_from || i + 2 != t.size() || t[i] != '.') return false;
  return std::isdigit(static_cast<unsigned char>(t[i + 1])) != 0;
}

bool HasNanOrInf(const TextGrid& grid) {
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) {
      std::string s = grid.Cell(c, r);
      std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return std::tolower(ch); });
      if (s.find("nan") != std::string::npos || s.find("inf") != std::string::npos) return true;
    }
  return false;
}

bool RowsEmpty(const TextGrid& grid, int first, int last) {
  for (int r = first; r <= last; ++r)
    for (int c = 0; c < grid.ColCount(); ++c)
      if (!grid.Cell(c, r).empty()) return false;
  return true;
}

}  // namespace kelmar::testing_support
