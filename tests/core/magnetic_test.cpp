// The magnetic declination: NOAA's own check values, the date as the model takes it, compass
// bearings, the words the window shows and when a compass is not to be trusted.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/calc_error.h"
#include "core/magnetic.h"

namespace kelmar {
namespace {

// WMM2025_TEST_VALUES.txt is NOAA's (National Centers for Environmental Information) published
// test table for the World Magnetic Model 2025: decimal year, height (km), geodetic latitude and
// longitude, declination rounded to 0.01°, then the components in nT (H third). Public domain.
TEST(MagneticModel, MatchesNoaaTestValues) {
  const std::string path = std::string(KELMAR_TEST_DATA_DIR) + "/WMM2025_TEST_VALUES.txt";
  std::ifstream file(path);
  ASSERT_TRUE(file) << path;
  int rows = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    double year, km, lat, lon, decl, incl, h;
    ASSERT_TRUE(in >> year >> km >> lat >> lon >> decl >> incl >> h) << line;
    const MagneticField f = MagneticAt(lat, lon, km * 1000, year);
    EXPECT_NEAR(f.declination, decl, 0.005) << line;
    EXPECT_NEAR(f.horizontal, h, 0.01) << line;
    ++rows;
  }
  EXPECT_EQ(rows, 100);
}

TEST(MagneticModel, DateEntersAsFractionOfItsYear) {
  struct Case {
    CalendarDate date;
    double year;
    bool valid;
  } cases[] = {
      {{2025, 1, 1}, 2025.0, true},               // the model's first day, exactly its epoch
      {{2025, 7, 2}, 2025 + 182.0 / 365, true},   // day 183 of a common year
      {{2028, 12, 31}, 2028 + 365.0 / 366, true}, // the last day of a leap year
      {{2030, 1, 1}, 2030.0, true},               // the last day still inside
      {{2030, 1, 2}, 2030 + 1.0 / 365, false},    // one day past the model
      {{2024, 12, 31}, 2024 + 365.0 / 366, false}, // one day before it
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(FractionalYear(c.date), c.year) << DateText(c.date);
    EXPECT_EQ(MagneticForFields("55.75", "37.62", c.date).valid, c.valid) << DateText(c.date);
  }
  EXPECT_THROW(FractionalYear({2025, 2, 29}), CalcError);  // no such day
}

TEST(MagneticModel, FieldsAreCheckedAsTheWindowChecksThem) {
  struct Case {
    const char *lat, *lon, *error;
  } cases[] = {
      {"abc", "37.62", "'abc' is not a valid floating point value"},  // the conversion message
      {"55.75", "1,5", "'1,5' is not a valid floating point value"},  // no comma rule here
      {"90.5", "0", kLatitudeRangeText},                              // beyond the pole
      {"-91", "0", kLatitudeRangeText},
  };
  for (const Case& c : cases) {
    try {
      MagneticForFields(c.lat, c.lon, {2026, 6, 1});
      ADD_FAILURE() << c.lat << ' ' << c.lon;
    } catch (const CalcError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
  EXPECT_NO_THROW(MagneticForFields("-90", "400", {2026, 6, 1}));  // the pole itself, any longitude
}

TEST(MagneticModel, CompassBearingsWrapBothWays) {
  struct Case {
    double true_az, declination, compass;
  } cases[] = {
      {180, 12, 168},            // east declination: the compass reads less
      {180, -27, 207},           // west declination: it reads more
      {5, 12, 353},              // below north, back up through 360
      {355, -12, 7},             // past 360, back down through 0
      {12, 12, 0},               // exactly north stays 0, not 360
      {0, -1e-14, 1e-14},        // a hair east of north
      {1e-14, 2e-14, 0},         // a hair west of north: 360 − 1e-14 rounds to 360, kept below it
  };
  for (const Case& c : cases) {
    const double az = CompassAzimuth(c.true_az, c.declination);
    EXPECT_DOUBLE_EQ(az, c.compass) << c.true_az << ' ' << c.declination;
    EXPECT_TRUE(az >= 0 && az < 360);
  }
}

TEST(MagneticModel, WordsForEastAndWest) {
  struct Case {
    double declination;
    const char* text;
  } cases[] = {
      {12.1234, "12.1° В"},  // east
      {-27.26, "27.3° З"},   // west, the sign turned into the letter
      {0.04, "0.0°"},        // rounds to nothing: neither
      {-0.04, "0.0°"},
      {-0.05, "0.1° З"},     // rounding as the tables round
  };
  for (const Case& c : cases) EXPECT_EQ(DeclinationText(c.declination), c.text) << c.declination;

  const CalendarDate day{2025, 12, 8};
  EXPECT_EQ(DeclinationLine(MagneticForFields("55.75", "37.62", day), day),
            "Магнитное склонение: 12.1° В (WMM2025, 08.12.2025)");
  const CalendarDate late{2031, 3, 1};  // past the model: still a value, marked
  EXPECT_TRUE(DeclinationLine(MagneticForFields("55.75", "37.62", late), late)
                  .ends_with("° В (WMM2025, 01.03.2031, вне срока модели)"));
}

TEST(MagneticModel, CompassTrustByHorizontalField) {
  struct Case {
    const char *lat, *lon;
    CompassTrust trust;
  } cases[] = {
      {"89", "-121", CompassTrust::Unusable},   // beside the north dip pole, H about 1500 nT
      {"80", "-96", CompassTrust::Unreliable},  // Canadian Arctic, H about 2200 nT
      {"55.75", "37.62", CompassTrust::Good},   // Moscow, H about 16600 nT
      {"-64", "138", CompassTrust::Unusable},   // beside the south dip pole
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompassTrustFor(MagneticForFields(c.lat, c.lon, {2025, 1, 1})), c.trust) << c.lat << ' ' << c.lon;
  // The edges themselves: a field of exactly 2000 or 6000 nT already counts as the better case.
  EXPECT_EQ(CompassTrustFor({0, 1999.99, true}), CompassTrust::Unusable);
  EXPECT_EQ(CompassTrustFor({0, 2000, true}), CompassTrust::Unreliable);
  EXPECT_EQ(CompassTrustFor({0, 6000, true}), CompassTrust::Good);
}

}  // namespace
}  // namespace kelmar
