// The dish pointing table: worked positions, whole tables in both hemispheres and on the
// equator, the stepping across the antimeridian, and longitudes outside the usual range.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/calc_error.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;

struct Position {
  std::string label, azimuth, elevation, correction;
};

// Column and row of position k (1..160).
int GroupCol(int k) { return 5 * ((k - 1) / 40); }
int PosRow(int k) { return (k - 1) % 40 + 1; }

TextGrid SatTable(const char* lat, const char* lon, std::optional<double> compass_declination = {}) {
  TextGrid sat = MakeSatGrid();
  Satel(ObserverFromFields(PlaceFields(lat, lon)), sat, compass_declination);
  return sat;
}

std::vector<Position> Positions(const TextGrid& g) {
  std::vector<Position> out;
  for (int k = 1; k <= 160; ++k) {
    const int c = GroupCol(k), r = PosRow(k);
    out.push_back({g.Cell(c, r), g.Cell(c + 1, r), g.Cell(c + 2, r), g.Cell(c + 3, r)});
  }
  return out;
}

const Position* Find(const std::vector<Position>& ps, const std::string& label) {
  for (const Position& p : ps)
    if (p.label == label) return &p;
  return nullptr;
}

// The signed whole degree a label names: "42 W" is −42, "0" is 0, "180" is 180.
int SlotOf(const std::string& label) {
  const int n = std::stoi(label);
  return label.size() > 2 && label.substr(label.size() - 2) == " W" ? -n : n;
}

std::string LabelOf(int slot) {
  if (slot == 0 || slot == 180) return std::to_string(slot);
  return slot < 0 ? std::to_string(-slot) + " W" : std::to_string(slot) + " E";
}

TEST(Modif, StepsOneDegreeAndWrapsOnlyBeyond180) {
  struct Case {
    int before, after;
  };
  const Case cases[] = {
      {0, 1},        // plain step
      {-43, -42},    // west stays negative
      {179, 180},    // 180 itself is reached
      {180, -179},   // and followed by −179
      {-181, -180},  // −180 only as the very first position
      {-180, -179},  // and never repeated
  };
  for (const Case& c : cases) {
    int slot = c.before;
    Modif(slot);
    EXPECT_EQ(slot, c.after) << c.before;
  }
}

TEST(SatTable, MoscowWorkedPositions) {
  struct Case {
    int col, row;
    Position p;
  };
  const Case cases[] = {
      {0, 1, {"42 W", "261.4", "-2.9", "34.1"}},     // first position, below the horizon
      {5, 3, {"0", "223.0", "18.2", "22.8"}},       // the prime meridian is labelled "0"
      {5, 16, {"13 E", "209.0", "22.8", "16.0"}},   // first positions east of the prime meridian
      {5, 40, {"37 E", "180.8", "26.5", "0.4"}},    // last one west of the observer
      {10, 1, {"38 E", "179.5", "26.5", "-0.3"}},   // first one east of the observer
      {10, 38, {"75 E", "137.3", "18.3", "-22.7"}}, // well east: negative correction
      {15, 40, {"117 E", "98.8", "-2.7", "-34.1"}}, // last position
  };
  const TextGrid g = SatTable("55.75", "37.62");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p.label);
    EXPECT_EQ(g.Cell(c.col, c.row), c.p.label);
    EXPECT_EQ(g.Cell(c.col + 1, c.row), c.p.azimuth);
    EXPECT_EQ(g.Cell(c.col + 2, c.row), c.p.elevation);
    EXPECT_EQ(g.Cell(c.col + 3, c.row), c.p.correction);
  }
}

TEST(SatTable, NorthernQuadrantsAndSigns) {
  // North of the equator: east of the observer azimuths 90–180 and negative corrections,
  // west of it 180–270 and positive ones.
  const std::vector<Position> ps = Positions(SatTable("55.75", "37.62"));
  for (const Position& p : ps) {
    SCOPED_TRACE(p.label);
    ASSERT_TRUE(IsOneDecimal(p.azimuth) && IsOneDecimal(p.elevation) && IsOneDecimal(p.correction));
    const bool east = SlotOf(p.label) > 37.62;
    const double az = std::stod(p.azimuth), corr = std::stod(p.correction);
    EXPECT_TRUE(east ? az > 90 && az < 180 : az > 180 && az < 270) << az;
    EXPECT_TRUE(east ? corr < 0 : corr > 0) << corr;
  }
}

TEST(SatTable, FirstAndLastLabels) {
  struct Case {
    const char* lon;
    const char* first;
    const char* last;
  };
  const Case cases[] = {
      {"37.62", "42 W", "117 E"},   // fractional east longitude
      {"37", "42 W", "117 E"},      // whole east longitude
      {"0.5", "79 W", "80 E"},     // just east of the prime meridian
      {"0", "80 W", "79 E"},        // zero takes the offset 81
      {"-0.5", "80 W", "79 E"},     // truncation toward zero
      {"-37.62", "117 W", "42 E"},  // mirror of Moscow
      {"120.3", "41 E", "160 W"},   // crosses the antimeridian
      {"180", "101 E", "100 W"},   // on the antimeridian, east side
      {"-100.5", "180 W", "21 W"},  // −180 as the very first position
      {"-150", "130 E", "71 W"},    // whole western longitude: offset 81
      {"-180", "100 E", "101 W"},   // on the antimeridian, west side
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lon);
    const TextGrid g = SatTable("55.75", c.lon);
    EXPECT_EQ(g.Cell(0, 1), c.first);
    EXPECT_EQ(g.Cell(15, 40), c.last);
    // In between: 160 distinct whole degrees in increasing order, wrapping once at 180.
    const std::vector<Position> ps = Positions(g);
    std::set<int> seen;
    for (int k = 1; k < 160; ++k) {
      int next = SlotOf(ps[k - 1].label) + 1;
      if (next > 180) next -= 360;
      EXPECT_EQ(ps[k].label, LabelOf(next)) << "position " << k + 1;
    }
    for (const Position& p : ps) seen.insert(SlotOf(p.label) == -180 ? 180 : SlotOf(p.label));
    EXPECT_EQ(seen.size(), 160u);  // never both 180 W and 180
  }
}

TEST(SatTable, SouthernHemisphereWholeTable) {
  // 33.9° S, 18.4° E: the dish looks north; east of the observer azimuths 0–90 and positive
  // corrections, west of it 270–360 and negative ones.
  const std::vector<Position> ps = Positions(SatTable("-33.9", "18.4"));
  for (int k = 1; k <= 160; ++k) {
    const Position& p = ps[k - 1];
    const int slot = -61 + (k - 1);  // 61 W … 98 E, in order
    SCOPED_TRACE(p.label);
    ASSERT_EQ(p.label, LabelOf(slot));
    ASSERT_TRUE(IsOneDecimal(p.azimuth) && IsOneDecimal(p.elevation) && IsOneDecimal(p.correction));
    const double az = std::stod(p.azimuth), corr = std::stod(p.correction);
    if (slot >= 19) {
      EXPECT_GE(az, 0);
      EXPECT_LE(az, 90);
      EXPECT_GT(corr, 0);
    } else {
      EXPECT_GE(az, 270);
      EXPECT_LE(az, 360);
      EXPECT_LT(corr, 0);
    }
  }
  const Position worked[] = {
      {"5 W", "322.2", "43.3", "-30.7"},  // west of the observer
      {"18 E", "359.3", "50.6", "-0.6"},  // just west of the observer
      {"19 E", "1.1", "50.6", "0.9"},     // just east of it
      {"61 W", "276.0", "0.1", "-55.9"},  // first position, barely above the horizon
      {"98 E", "84.2", "-0.1", "56.0"},   // last position, barely below
  };
  for (const Position& w : worked) {
    SCOPED_TRACE(w.label);
    const Position* p = Find(ps, w.label);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->azimuth, w.azimuth);
    EXPECT_EQ(p->elevation, w.elevation);
    EXPECT_EQ(p->correction, w.correction);
  }
}

TEST(SatTable, EquatorAt170EastWholeTable) {
  const std::vector<Position> ps = Positions(SatTable("0", "170"));
  EXPECT_EQ(ps.front().label, "91 E");
  EXPECT_EQ(ps.back().label, "110 W");
  for (int k = 1; k <= 160; ++k) {
    const Position& p = ps[k - 1];
    const int offset = k - 80;  // degrees east of the observer: −79 … 80
    SCOPED_TRACE(p.label);
    int slot = 170 + offset;
    if (slot > 180) slot -= 360;
    ASSERT_EQ(p.label, LabelOf(slot));
    if (offset == 0) {
      EXPECT_EQ(p.azimuth, "зенит");
      EXPECT_EQ(p.elevation, "зенит");
      EXPECT_EQ(p.correction, "---");
      continue;
    }
    EXPECT_EQ(p.azimuth, offset < 0 ? "270" : "90");  // also across the antimeridian
    EXPECT_EQ(p.correction, "+");
    ASSERT_TRUE(IsOneDecimal(p.elevation));
    // The ring is symmetric about the observer's meridian, and lower the farther away.
    if (offset > 0 && offset < 80) {
      EXPECT_EQ(p.elevation, ps[k - 1 - 2 * offset].elevation);
    }
    if (offset > 1) {
      EXPECT_LT(std::stod(p.elevation), std::stod(ps[k - 2].elevation));
    }
  }
  EXPECT_EQ(Find(ps, "169 E")->elevation, "88.8");
  EXPECT_EQ(Find(ps, "171 E")->elevation, "88.8");
  EXPECT_EQ(Find(ps, "180")->azimuth, "90");
  const Position* p179w = Find(ps, "179 W");
  ASSERT_NE(p179w, nullptr);
  EXPECT_EQ(p179w->azimuth, "90");
  EXPECT_EQ(p179w->elevation, "77.1");
  EXPECT_EQ(p179w->correction, "+");
}

TEST(SatTable, EquatorBetweenTwoWholeDegreesHasTwoZeniths) {
  const std::vector<Position> ps = Positions(SatTable("0", "37.5"));
  int zeniths = 0;
  for (const Position& p : ps) {
    if (p.azimuth != "зенит") continue;
    ++zeniths;
    EXPECT_TRUE(p.label == "37 E" || p.label == "38 E") << p.label;
    EXPECT_EQ(p.elevation, "зенит");
    EXPECT_EQ(p.correction, "---");
  }
  EXPECT_EQ(zeniths, 2);
}

TEST(SatTable, NearThePole) {
  const std::vector<Position> ps = Positions(SatTable("88", "37.62"));
  for (const Position& p : ps) {
    SCOPED_TRACE(p.label);
    EXPECT_EQ(p.azimuth, "---");  // no meaningful azimuth within 2.56° of the pole
    ASSERT_TRUE(IsOneDecimal(p.elevation));
    const double el = std::stod(p.elevation);
    EXPECT_GE(el, -8.3);
    EXPECT_LE(el, -6.6);
    EXPECT_TRUE(IsOneDecimal(p.correction));
  }
}

// Compass bearings replace the azimuths only, from the unrounded true azimuth; "---" and
// "зенит" stay, and the equator's exact east and west become numbers.
TEST(SatTable, CompassAzimuths) {
  struct Case {
    const char *lat, *lon;
    double declination;
    const char *label, *plain, *compass;
  } cases[] = {
      {"-33.9", "18.4", 1, "18 E", "359.3", "358.3"},  // true 359.28: no wrap
      {"-33.9", "18.4", -1, "18 E", "359.3", "0.3"},   // through 360 upward
      {"-33.9", "18.4", 2, "19 E", "1.1", "359.1"},    // through 0 downward
      {"-33.9", "18.4", 0.04, "18 E", "359.3", "359.2"},  // 359.283 − 0.04; the rounded 359.3 would give 359.3
      {"0", "37.5", 3, "40 E", "90", "87.0"},          // the equator's east
      {"0", "37.5", -3, "30 E", "270", "273.0"},       // and west
      {"0", "37.5", 3, "37 E", "зенит", "зенит"},
      {"88", "37.62", 10, "37 E", "---", "---"},       // too near the pole for any azimuth
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lat) + " " + c.label);
    const std::vector<Position> plain = Positions(SatTable(c.lat, c.lon));
    const std::vector<Position> compass = Positions(SatTable(c.lat, c.lon, c.declination));
    ASSERT_NE(Find(plain, c.label), nullptr);
    EXPECT_EQ(Find(plain, c.label)->azimuth, c.plain);
    EXPECT_EQ(Find(compass, c.label)->azimuth, c.compass);
    for (std::size_t i = 0; i < plain.size(); ++i) {
      EXPECT_EQ(compass[i].label, plain[i].label);
      EXPECT_EQ(compass[i].elevation, plain[i].elevation);
      EXPECT_EQ(compass[i].correction, plain[i].correction);
    }
  }
}

TEST(SatTable, RoundingEdges) {
  struct Case {
    const char* lat;
    const char* lon;
    Position p;
  };
  const Case cases[] = {
      // 359.96 rounds to 360.0 after the wrap; the correction is a small negative value.
      {"-33.9", "18.02", {"18 E", "360.0", "50.6", "-0.0"}},
      // A negative correction rounding to zero keeps its minus sign.
      {"88", "-100.5", {"100 W", "---", "-6.6", "-0.0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.p.label);
    const std::vector<Position> ps = Positions(SatTable(c.lat, c.lon));
    const Position* p = Find(ps, c.p.label);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->azimuth, c.p.azimuth);
    EXPECT_EQ(p->elevation, c.p.elevation);
    EXPECT_EQ(p->correction, c.p.correction);
  }
}

TEST(SatTable, LongitudesBeyondTheRangeShowTheSamePlace) {
  struct Case {
    const char* lon;
    const char* same_as;
  };
  const Case cases[] = {
      {"370", "10"},          // one turn east
      {"-350", "10"},         // one turn west
      {"730.5", "10.5"},      // two turns
      {"190", "-170"},        // just past the antimeridian
      {"-190", "170"},         // the same westward
      {"540", "180"},         // 180 + a turn
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lon);
    EXPECT_EQ(SatTable("55.75", c.lon), SatTable("55.75", c.same_as));
  }
}

TEST(SatTable, HugeLongitudesStillFillEveryCell) {
  for (const char* lon : {"1e300", "-1e300", "1.7e308", "123456789.25"}) {
    SCOPED_TRACE(lon);
    TextGrid sat = MakeSatGrid();
    Satel(ObserverFromFields(PlaceFields("55.75", lon)), sat);
    EXPECT_FALSE(HasNanOrInf(sat));
    const std::vector<Position> ps = Positions(sat);
    std::set<int> seen;
    for (const Position& p : ps) {
      ASSERT_FALSE(p.label.empty());
      EXPECT_EQ(p.label, LabelOf(SlotOf(p.label)));
      EXPECT_TRUE(IsOneDecimal(p.azimuth)) << p.azimuth;
      EXPECT_TRUE(IsOneDecimal(p.elevation)) << p.elevation;
      EXPECT_TRUE(IsOneDecimal(p.correction)) << p.correction;
      seen.insert(SlotOf(p.label) == -180 ? 180 : SlotOf(p.label));
    }
    EXPECT_EQ(seen.size(), 160u);
  }
}

TEST(SatTable, PolesStillFillEveryCell) {
  // At a pole every data cell is still written and none holds a NaN or an infinity.
  const char* const lats[] = {
      "90",   // the pole itself: no azimuth, tan φ enormous
      "-90",  // the south pole
  };
  for (const char* lat : lats) {
    SCOPED_TRACE(lat);
    TextGrid sat = MakeSatGrid();
    Satel(ObserverFromFields(PlaceFields(lat, "37")), sat);
    EXPECT_FALSE(HasNanOrInf(sat));
    for (const Position& p : Positions(sat)) {
      EXPECT_EQ(p.label, LabelOf(SlotOf(p.label)));
      EXPECT_TRUE(p.azimuth == "---" || p.azimuth == "зенит" || p.azimuth == "90" || p.azimuth == "270" ||
                  IsOneDecimal(p.azimuth))
          << p.azimuth;
      EXPECT_TRUE(p.elevation == "зенит" || IsOneDecimal(p.elevation)) << p.elevation;
      EXPECT_TRUE(p.correction == "---" || p.correction == "+" || IsOneDecimal(p.correction)) << p.correction;
    }
  }
}

TEST(SatTable, WritesEveryDataCellAndNothingElse) {
  const Observer obs = ObserverFromFields(PlaceFields("55.75", "37.62"));
  TextGrid sat = MakeSatGrid();
  for (int r = 1; r <= 40; ++r)
    for (int c = 0; c < 19; ++c) sat.SetCell(c, r, c % 5 == 4 ? "" : "old");
  Satel(obs, sat);
  Satel(obs, sat);  // a second run changes nothing
  for (int r = 1; r <= 40; ++r)
    for (int c = 0; c < 19; ++c) {
      if (c % 5 == 4) {
        EXPECT_EQ(sat.Cell(c, r), "") << "separator column " << c;
      } else {
        EXPECT_NE(sat.Cell(c, r), "old") << c << ", " << r;
        EXPECT_FALSE(sat.Cell(c, r).empty()) << c << ", " << r;
      }
    }
  EXPECT_EQ(sat, SatTable("55.75", "37.62"));
  EXPECT_EQ(sat.Cell(0, 0), "Спутник");  // headers untouched
  EXPECT_EQ(sat.Cell(18, 0), "Коррекц.");
  EXPECT_EQ(sat.Cell(4, 0), "");
}

TEST(ObserverFromFields, ReadsOnlyTheCoordinatesLongitudeFirst) {
  struct Case {
    const char* lat;
    const char* lon;
    const char* message;  // nullptr: converts
  };
  const Case cases[] = {
      {"55.75", " 37.62 ", nullptr},                                  // blanks around a number
      {"55.75", "abc", "'abc' is not a valid floating point value"},  // bad longitude
      {"55.75", "", "'' is not a valid floating point value"},
      {"55.75", "37,62", "'37,62' is not a valid floating point value"},  // the comma rule is the window's
      {"55,75", "37.62", "'55,75' is not a valid floating point value"},  // bad latitude
      {"north", "east", "'east' is not a valid floating point value"},    // both bad: the longitude's
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lat) + " " + c.lon);
    InputFields in = PlaceFields(c.lat, c.lon);
    in.EditGMT = in.EditMSK = in.EditUg = in.EditKm = "abc";  // never read
    try {
      const Observer obs = ObserverFromFields(in);
      EXPECT_EQ(c.message, nullptr);
      EXPECT_EQ(obs.LatDeg, 55.75);
      EXPECT_EQ(obs.LonDeg, 37.62);
    } catch (const CalcError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace kelmar
