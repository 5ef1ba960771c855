// The shortcuts of the hot paths must give exactly what the plain computation gives.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "core/calc_state.h"
#include "core/number_text.h"
#include "core/sun_table.h"

namespace kelmar {
namespace {

// Whole months computed with every altitude sample from libm and with the estimates that keep
// exact samples only near a crossing: the grids must match to the character.
TEST(SampleEstimates, WholeTablesMatchExactSampling) {
  struct Place {
    const char* lat;
    const char* lon;
    const char* note;
  };
  const Place places[] = {
      {"55.75", "37.62", "Moscow: ordinary days"},
      {"66", "37.62", "two sets in a day near the polar circle"},
      {"67.4", "33", "the Sun grazing the threshold for days"},
      {"69", "33", "polar night and day, a 15-minute day"},
      {"-66.6", "-70", "southern polar circle, west longitude"},
      {"0", "170", "equator near the date line"},
      {"89.9", "0", "near the pole: a sample can sit on the threshold"},
      {"-33.9", "18.4", "southern hemisphere"},
  };
  struct Twilight {
    bool by_angle;
    const char* text;
  };
  const Twilight twilights[] = {{true, "6"}, {true, "18"}, {false, "0"}, {false, "12.345"}};
  for (const Place& p : places) {
    for (const Twilight& t : twilights) {
      InputFields in;
      in.latitude = p.lat;
      in.longitude = p.lon;
      in.zone = ZoneKind::FromGmt;
      in.gmt_offset = "3";
      in.twilight = t.by_angle ? TwilightKind::ByAngle : TwilightKind::ByHeight;
      (t.by_angle ? in.twilight_angle : in.twilight_height) = t.text;
      in.seconds = true;
      for (int year : {1999, 2026}) {
        for (int month = 1; month <= 12; ++month) {
          CalcState fast, exact;
          exact.ExactSamples = true;
          fast.Year = exact.Year = static_cast<std::uint16_t>(year);
          fast.Month = exact.Month = static_cast<std::uint16_t>(month);
          TextGrid a = MakeSunGrid(), b = MakeSunGrid();
          Calc(fast, in, a);
          Calc(exact, in, b);
          ASSERT_EQ(a, b) << p.note << ", twilight " << t.text << ", " << year << "-" << month;
        }
      }
    }
  }
}

std::string PrintfOneDecimal(double v) {
  char buf[400];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1).ptr);
}

// The one-decimal shortcut against the exact conversion (printf's rounding), away from and at
// ties, small and large, of both signs.
TEST(OneDecimal, MatchesExactConversion) {
  const double cases[] = {
      0.25,    // an exact tie: rounds to even, "0.2"
      0.75,    // an exact tie: "0.8"
      -0.25,   // a negative tie
      0.35,    // not a tie in binary (0.34999…): "0.3"
      0.05,    // 0.05000000000000000277…: "0.1"
      2.675,   // below the tie in binary
      359.95,  // rounds up to 360.0
      9999.95, 99999.99, 123456.78,  // past the table's range, more digits
      1e14, 1e15, 1e16, 1e300,        // the exact conversion takes over
      -5.3, -0.03, 4.9e-324,
  };
  for (double v : cases) EXPECT_EQ(FormatOneDecimal(v), PrintfOneDecimal(v)) << v;

  std::mt19937_64 rng(2026);
  std::uniform_real_distribution<double> table_range(-400, 400);
  std::uniform_int_distribution<int> twentieths(-20000, 20000);
  for (int i = 0; i < 200000; ++i) {
    double v = table_range(rng);
    EXPECT_EQ(FormatOneDecimal(v), PrintfOneDecimal(v)) << v;
    // Values on and next to the half-tenth boundaries, where rounding is decided.
    v = twentieths(rng) / 20.0;
    if (v == 0) continue;
    for (double w : {v, std::nextafter(v, 1e9), std::nextafter(v, -1e9)})
      ASSERT_EQ(FormatOneDecimal(w), PrintfOneDecimal(w)) << w;
  }
}

// Texts of up to 15 digits are read without strtod: the value must be strtod's, bit for bit,
// on both sides of that length, with signs, zeros and points anywhere.
TEST(ParseFloat, SameBitsAsStrtod) {
  std::mt19937 rng(20261209);
  for (int n = 0; n < 200000; ++n) {
    std::string text = rng() % 4 == 0 ? "-" : "";
    const int digits = 1 + static_cast<int>(rng() % 18), point = static_cast<int>(rng() % (digits + 2));
    for (int d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10));
    }
    if (point == digits) text += '.';
    const std::optional<double> v = ParseFloat(text);
    ASSERT_TRUE(v.has_value()) << text;
    const double expected = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(std::memcmp(&*v, &expected, sizeof expected), 0) << text;
  }
}

}  // namespace
}  // namespace kelmar
