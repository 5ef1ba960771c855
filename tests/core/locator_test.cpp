// Maidenhead locators in both directions.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "core/calc_error.h"
#include "core/locator.h"
#include "core/number_text.h"

namespace kelmar {
namespace {

// Every character of a computed locator lies in its alphabet.
bool InAlphabets(const std::string& loc) {
  return loc.size() == 6 && loc[0] >= 'A' && loc[0] <= 'R' && loc[1] >= 'A' && loc[1] <= 'R' &&
         loc[2] >= '0' && loc[2] <= '9' && loc[3] >= '0' && loc[3] <= '9' && loc[4] >= 'a' &&
         loc[4] <= 'x' && loc[5] >= 'a' && loc[5] <= 'x';
}

TEST(LocatorFromCoords, KnownPlaces) {
  struct Case {
    double lat, lon;
    const char* loc;
  };
  const Case cases[] = {
      {55.75, 37.62, "KO85ts"},     // the worked example
      {0, 0, "JJ00aa"},             // boundaries belong to the square north and east
      {-90, -180, "AA00aa"},        // the south-west corner
      {55.7708, 37.625, "KO85ts"},  // the centre texts of KO85ts give it back
      {-33.9, 18.4, "JF96ec"},      // southern hemisphere
      {40.7, -74.0, "FN30aq"},      // western hemisphere
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.loc);
    EXPECT_EQ(LocatorFromCoords(c.lat, c.lon), c.loc);
  }
}

TEST(LocatorFromCoords, LongitudeIsReducedByWholeTurns) {
  struct Case {
    double lon;
    double same_as;
  };
  const Case cases[] = {
      {180, -180},   // 180 starts again at A, 0, a
      {-190, 170},   // R, 5, a
      {540, -180},   // one more turn
      {-540, -180},  // one more turn west
      {397.62, 37.62},  // a turn east of Moscow
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lon);
    const std::string a = LocatorFromCoords(55.75, c.lon), b = LocatorFromCoords(55.75, c.same_as);
    EXPECT_EQ(a[0], b[0]);
    EXPECT_EQ(a[2], b[2]);
    EXPECT_EQ(a[4], b[4]);
  }
  const std::string l180 = LocatorFromCoords(0, 180);
  EXPECT_EQ(l180[0], 'A');
  EXPECT_EQ(l180[2], '0');
  EXPECT_EQ(l180[4], 'a');
  const std::string l190 = LocatorFromCoords(0, -190);
  EXPECT_EQ(l190[0], 'R');
  EXPECT_EQ(l190[2], '5');
  EXPECT_EQ(l190[4], 'a');
}

TEST(LocatorFromCoords, LatitudeBoundaryBelongsToTheSquareNorth) {
  const std::string l = LocatorFromCoords(56, 37.62);
  EXPECT_EQ(l[1], 'O');
  EXPECT_EQ(l[3], '6');
  EXPECT_EQ(l[5], 'a');
}

TEST(LocatorFromCoords, OutOfRangeCoordinatesStayInTheAlphabets) {
  struct Case {
    double lat, lon;
    const char* loc;  // nullptr: only the alphabets are pinned
  };
  const Case cases[] = {
      {90, 0, "JR09ax"},           // the pole: clamped just below 90
      {90.5, 0, "JR09ax"},         // beyond the pole: clamped the same
      {1e300, 0, "JR09ax"},        // far beyond
      {-90.5, 0, "JA00aa"},        // below the south pole: clamped to −90
      {-1e300, 0, "JA00aa"},       // far below
      {0, 1e300, nullptr},         // a loop over whole turns would never end here
      {0, -1e300, nullptr},        // the same westward
      {0, 1.7976931348623157e308, nullptr},  // the largest double
      {1e300, -1e300, nullptr},    // both out of range at once
      // Just below 90 and 180: the sums φ + 90 and λ + 180 round up to 180 and 360 in doubles.
      {89.99999999999999, 0, nullptr},
      {89.99999999999999, 179.99999999999997, nullptr},
      // A hair west of −180: the remainder of the turn is a tiny negative number.
      {0, -180.00000000000003, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    const std::string loc = LocatorFromCoords(c.lat, c.lon);
    EXPECT_TRUE(InAlphabets(loc)) << loc;
    if (c.loc) {
      EXPECT_EQ(loc, c.loc);
    }
  }
}

TEST(LocatorToCoords, CentresOfTheSmallestSquare) {
  struct Case {
    const char* name;
    const char* lat;
    const char* lon;
  };
  const Case cases[] = {
      {" KO85TS", "55.7708", "37.625"},   // the worked example; 37.625 needs no cut
      {" ko85ts", "55.7708", "37.625"},   // lower case converts the same
      {" Ko85tS", "55.7708", "37.625"},   // mixed case
      {" KO85TS and more", "55.7708", "37.625"},  // characters after the seventh are ignored
      {" AA00AA", "-89.979", "-179.95"},  // cut to seven characters, minus sign included
      {" RR99XX", "89.9791", "179.958"},  // the north-east corner
      {" JJ00AA", "0.02083", "0.04166"},  // small values: the cut drops the rounding digits
      {" IJ99XX", "9.97916", "-0.0416"},  // just west of the prime meridian
      {" GJ40VA", "0.02083", "-50.208"},  // a negative value with three decimals left
      {" ZZ99ZZ", nullptr, nullptr},      // characters beyond the alphabets: no coordinates
      {" KO85T", nullptr, nullptr},       // too short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<CoordTexts> t = LocatorToCoords(c.name);
    ASSERT_EQ(t.has_value(), c.lat != nullptr);
    if (!t) continue;
    EXPECT_EQ(t->lat, c.lat);
    EXPECT_EQ(t->lon, c.lon);
  }
}

TEST(LocatorToCoords, EveryRealLocatorComesBack) {
  // Converting a locator to texts and the texts back to a locator gives the same six
  // characters: field letters in upper case, subsquare letters in lower case.
  auto round_trip = [](char f1, char f2, char s1, char s2, char u1, char u2) {
    const std::string name = {' ', f1, f2, s1, s2, u1, u2};
    const CoordTexts t = LocatorToCoords(name).value();
    const std::string back = LocatorFromCoords(StrToFloat(t.lat), StrToFloat(t.lon));
    const std::string want = {f1, f2, s1, s2, static_cast<char>(std::tolower(u1)),
                              static_cast<char>(std::tolower(u2))};
    ASSERT_EQ(back, want) << name << " -> " << t.lat << " " << t.lon;
  };
  // Every field and square, with the corner and middle subsquares.
  for (char f1 = 'A'; f1 <= 'R'; ++f1)
    for (char f2 = 'A'; f2 <= 'R'; ++f2)
      for (char s1 = '0'; s1 <= '9'; ++s1)
        for (char s2 = '0'; s2 <= '9'; ++s2) {
          round_trip(f1, f2, s1, s2, 'A', 'A');
          round_trip(f1, f2, s1, s2, 'X', 'X');
          round_trip(f1, f2, s1, s2, 'L', 'M');
        }
  // Every subsquare, in the four corner squares of the map and one in the middle.
  for (const char* sq : {"AA00", "RR99", "AR09", "RA90", "KO85"})
    for (char u1 = 'A'; u1 <= 'X'; ++u1)
      for (char u2 = 'A'; u2 <= 'X'; ++u2) round_trip(sq[0], sq[1], sq[2], sq[3], u1, u2);
}

TEST(IsValidLocatorName, OnlyABlankAndARealLocator) {
  struct Case {
    const char* name;
    bool valid;
  };
  const Case cases[] = {
      {" KO85TS", true},    // upper case
      {" ko85ts", true},    // lower case
      {" RR99XX", true},    // the last of every alphabet
      {"KO85TS", false},    // no leading blank: an ordinary place name
      {" KO85T", false},    // too short
      {" KO85", false},     // a 4-character locator is not enough
      {" SO85TS", false},   // field letter beyond R
      {" KO85YS", false},   // subsquare letter beyond X
      {" KOA5TS", false},   // letter where a digit belongs
      {" K085TS", false},   // digit where a letter belongs
      {"  KO85TS", false},  // two blanks
      {"", false},          // nothing typed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidLocatorName(c.name), c.valid);
  }
}

}  // namespace
}  // namespace kelmar
