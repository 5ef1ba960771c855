// The numbers behind the pictures: horizon texts, the arc read back from the satellite table,
// the Sun's day and the year's crossings against the sun table.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/horizon.h"
#include "core/input_fields.h"
#include "core/scenes.h"
#include "core/sat_table.h"
#include "core/sky.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;

TEST(Horizon, ElevationFollowsTheTextRules) {
  struct Case {
    const char* text;
    double az;
    double el;
  } cases[] = {
      {"", 123, 0},                         // no obstruction
      {"90:5 150:25 210:25 270:3", 120, 15}, // linear between neighbours
      {"90:5 150:25 210:25 270:3", 180, 25},
      {"90:5 150:25 210:25 270:3", 300, 0},  // outside the covered arc
      {"90:5 150:25 210:25 270:3", 80, 0},
      {"330:20 30:20", 0, 20},               // clockwise through north
      {"330:20 30:20", 359.5, 20},
      {"330:20 30:20", 180, 0},
      {"100:0 100:40 140:40 140:0", 100, 40}, // vertical edges take the higher side
      {"100:0 100:40 140:40 140:0", 99.9, 0},
      {"0:10 120:10 240:40 360:10", 300, 25}, // a full turn closes at north
      {"0:10 120:10 240:40 360:10", 0, 10},
      {" 10.5:2.5\t20:2.5 ", 15, 2.5},       // blanks and tabs, point decimals
  };
  for (const Case& c : cases)
    EXPECT_NEAR(Horizon::Parse(c.text).ElevationAt(c.az), c.el, 1e-12) << c.text << " at " << c.az;
}

TEST(Horizon, BadTextNamesTheBadPair) {
  struct Case {
    const char* text;
    const char* named;
  } cases[] = {
      {"90:5 150", "'150'"},        // no colon
      {"90:5 150,5:3", "'150,5:3'"}, // comma decimal is left for the comma rule
      {"361:5", "'361:5'"},         // azimuth beyond 360
      {"10:91", "'10:91'"},         // elevation beyond the zenith
      {"10:-1", "'10:-1'"},
      {"0:5 180:5 90:5", "'90:5'"}, // more than one turn
  };
  for (const Case& c : cases) {
    try {
      Horizon::Parse(c.text);
      ADD_FAILURE() << c.text << " accepted";
    } catch (const CalcError& e) {
      EXPECT_NE(std::string(e.what()).find(c.named), std::string::npos) << e.what();
    }
  }
}

TEST(Arc, SlotsAreTheTableCellsAndTheMaskCountsThem) {
  const InputFields moscow = PlaceFields("55.75", "37.62");
  TextGrid sat = MakeSatGrid();
  Satel(ObserverFromFields(moscow), sat);
  const auto open = ArcOf(moscow, Horizon());
  ASSERT_EQ(open.size(), 160u);
  // Table order: the first group top to bottom, the fourth group's last row at the end.
  EXPECT_EQ(open.front().label, sat.Cell(0, 1));
  EXPECT_EQ(open.back().label, sat.Cell(15, 40));
  EXPECT_EQ(open[45].elevation, sat.Cell(7, 6));
  EXPECT_DOUBLE_EQ(open[45].az, std::stod(sat.Cell(6, 6)));
  // From 55.75° N the arc stands above the horizon within ±74.4° of the place's longitude.
  EXPECT_EQ(VisibleSlots(open), 148);
  // A wall of 20° to the south hides the low ends of the arc only.
  const auto walled = ArcOf(moscow, Horizon::Parse("90:20 270:20"));
  int above_20 = 0;
  for (const ArcSlot& s : open) above_20 += s.el > 20 || (s.visible && (s.az < 90 || s.az > 270));
  EXPECT_EQ(VisibleSlots(walled), above_20);
  EXPECT_LT(VisibleSlots(walled), 148);
  // The equator's zenith slot has no azimuth and stands at 90°.
  const auto equator = ArcOf(PlaceFields("0", "36"), Horizon());
  EXPECT_TRUE(std::isnan(equator[79].az));
  EXPECT_EQ(equator[79].el, 90);
}

// The pictures' crossings are the sun table's: formatted the table's way they give its cells.
TEST(YearDaylight, CrossingsAreTheSunTables) {
  struct Case {
    const char* lat;
    const char* lon;
    int month;
  } cases[] = {
      {"55.75", "37.62", 3},     // Moscow, spring
      {"-34.6", "-58.38", 12},   // Buenos Aires, southern summer
      {"68.97", "33.08", 6},     // Murmansk: polar day, twilight columns "полярный день"
      {"68.97", "33.08", 12},    // polar night
  };
  for (const Case& c : cases) {
    InputFields in = PlaceFields(c.lat, c.lon, "3");
    in.zone = ZoneKind::FromGmt;
    const auto year = YearDaylight(in, 2026);
    ASSERT_EQ(year.size(), 365u);
    CalcState st = MonthState(2026, c.month);
    TextGrid table = MakeSunGrid();
    Calc(st, in, table);
    const int first = static_cast<int>(EncodeDate(2026, c.month, 1) - EncodeDate(2026, 1, 1));
    for (int r = 1; r <= DaysInMonth(2026, c.month); ++r) {
      const DaylightDay& d = year[static_cast<std::size_t>(first + r - 1)];
      TextGrid mine = MakeSunGrid();
      for (double t : d.rises) TtoCell(mine, false, 1, r, t);
      for (double t : d.sets) TtoCell(mine, false, 2, r, t);
      TtoCell(mine, false, 4, r, d.noon);
      for (double t : d.dawns) TtoCell(mine, false, 7, r, t);
      for (double t : d.dusks) TtoCell(mine, false, 8, r, t);
      for (int col : {1, 2, 4, 7, 8}) {
        const std::string& cell = table.Cell(col, r);
        // A cell without a time ("---", "ПОЛЯРНЫЙ") is a day without that crossing.
        const std::string expected = IsTime(cell.substr(0, 5)) ? cell : "";
        EXPECT_EQ(mine.Cell(col, r), expected) << c.lat << " col " << col << " day " << r;
      }
      if (d.rises.empty() && d.sets.empty()) {
        EXPECT_EQ(d.up_at_midnight, table.Cell(1, r) == "ПОЛЯРНЫЙ");
      }
    }
  }
}

TEST(SunDay, RiseAndSetAzimuthsAreTheTables) {
  const InputFields in = PlaceFields("55.75", "37.62", "3");
  CalcState st = MonthState(2026, 6);
  TextGrid table = MakeSunGrid();
  Calc(st, in, table);
  InputFields gmt = in;
  gmt.zone = ZoneKind::FromGmt;
  const SunDay day = SunDayOf(gmt, 2026, 6, 21);
  ASSERT_EQ(day.rises.size(), 1u);
  ASSERT_EQ(day.sets.size(), 1u);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", day.rises[0].az);
  EXPECT_NE(table.Cell(5, 21).find(buf), std::string::npos) << table.Cell(5, 21);
  std::snprintf(buf, sizeof buf, "%.1f", day.sets[0].az);
  EXPECT_NE(table.Cell(6, 21).find(buf), std::string::npos) << table.Cell(6, 21);
  // At the crossing the Sun's centre stands 0.833° below the horizon; at noon it is highest,
  // 90° − 55.75° + 23.44°, due south.
  EXPECT_NEAR(day.rises[0].el, -0.833, 0.01);
  const SunPoint noon = SunAt(gmt, 2026, 6, 21, day.path[0].hours + 12.5);
  EXPECT_NEAR(noon.el, 57.69, 0.1);
  EXPECT_NEAR(noon.az, 180, 1.5);
}

// The Sun's place now is drawn only on today's local date, the zone read from the fields.
TEST(SkyNow, TheMomentFallsOnTheLocalDateOfTheZone) {
  constexpr long long k2026_03_20_2230 = 1774045800000;  // 2026-03-20 22:30:00 UTC
  struct Row {
    const char* why;
    ZoneKind kind;
    const char* offset;
    CalendarDate date;
    long long ms;
    double hours;  // NaN: not that date
  } rows[] = {
      {"GMT+3 puts it after midnight", ZoneKind::FromGmt, "3", {2026, 3, 21}, k2026_03_20_2230, 1.5},
      {"the UTC date is yesterday there", ZoneKind::FromGmt, "3", {2026, 3, 20}, k2026_03_20_2230, NAN},
      {"MSK-3 is GMT+1: Moscow time is GMT+4 here", ZoneKind::FromMoscow, "-3", {2026, 3, 20}, k2026_03_20_2230, 23.5},
      {"a western zone", ZoneKind::FromGmt, "-10", {2026, 3, 20}, k2026_03_20_2230, 12.5},
      {"milliseconds count", ZoneKind::FromGmt, "0", {2026, 3, 20}, k2026_03_20_2230 + 1800, 22.5005},
      {"before 1970", ZoneKind::FromGmt, "0", {1969, 12, 31}, -3600000, 23},
      {"half an hour's zone", ZoneKind::FromGmt, "5.5", {2026, 3, 21}, k2026_03_20_2230, 4},
  };
  for (const Row& r : rows) {
    InputFields in;
    in.zone = r.kind;
    (r.kind == ZoneKind::FromGmt ? in.gmt_offset : in.msk_offset) = r.offset;
    const std::optional<double> h = NowHoursOn(in, r.date, r.ms);
    if (std::isnan(r.hours)) {
      EXPECT_FALSE(h.has_value()) << r.why;
    } else {
      ASSERT_TRUE(h.has_value()) << r.why;
      EXPECT_NEAR(*h, r.hours, 1e-9) << r.why;
    }
  }
}

TEST(YearScene, TodayIsMarkedOnlyInItsOwnYear) {
  struct Row {
    int year;
    CalendarDate today;
    int day;
  } rows[] = {
      {2026, {2026, 1, 1}, 0},   {2026, {2026, 12, 31}, 364}, {2024, {2024, 12, 31}, 365},
      {2024, {2024, 3, 1}, 60},  {2026, {2025, 12, 31}, -1},  {2026, {2027, 1, 1}, -1},
  };
  for (const Row& r : rows) EXPECT_EQ(DayOfYear(r.year, r.today), r.day) << r.today.year << "-" << r.today.month;
}

}  // namespace
}  // namespace kelmar
