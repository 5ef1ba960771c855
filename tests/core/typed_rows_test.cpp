// The typed rows behind the tables: what each row says, and that the cells are exactly those
// rows formatted (the cell colours, the sky view and kelmar-cli read the rows, never the cells).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "core/calc_error.h"
#include "core/number_text.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;

TEST(SlotCell, MapsTheTableIndexToItsCellsAndBack) {
  struct Case {
    int col, row, index;  // index -1: no position there
    const char* pins;
  } cases[] = {
      {0, 1, 0, "first label"},       {3, 40, 39, "first group's last correction"},
      {5, 1, 40, "second group"},     {17, 40, 159, "last elevation"},
      {4, 7, -1, "separator column"}, {14, 40, -1, "last separator"},
      {2, 0, -1, "header row"},       {19, 1, -1, "beyond the last column"},
  };
  for (const Case& c : cases) EXPECT_EQ(SlotIndexAt(c.col, c.row), c.index) << c.pins;
  for (int i = 0; i < kSlotCount; ++i) {
    const auto [col, row] = SlotCellOf(i);
    EXPECT_EQ(col % kGroupCols, 0);
    for (int k = 0; k < kGroupCols - 1; ++k) ASSERT_EQ(SlotIndexAt(col + k, row), i);
  }
}

TEST(OneDecimalValue, IsTheNumberTheTextReadsBackAs) {
  const double edges[] = {0.05, -0.05, 0.15, 0.25, 0.35, 1e15, -1e16, 123.45, -0.0, 1e-300, 359.95, -89.95};
  for (double v : edges) EXPECT_EQ(OneDecimalValue(v), *ParseFloat(FormatOneDecimal(v))) << v;
  EXPECT_TRUE(std::isnan(OneDecimalValue(INFINITY)));
  EXPECT_TRUE(std::signbit(OneDecimalValue(-0.03)));  // "-0.0"
  std::mt19937_64 gen(18);
  std::uniform_real_distribution<double> any(-400, 400);
  for (int i = 0; i < 200000; ++i) {
    const double v = any(gen);
    ASSERT_EQ(OneDecimalValue(v), *ParseFloat(FormatOneDecimal(v))) << v;
  }
}

TEST(SatSlots, CellsAreTheSlotsFormatted) {
  // Places of every kind: ordinary, on the equator (with a zenith), at a pole, one whose first
  // position is 180 W, and random ones, with and without a compass.
  struct Case {
    double lat, lon;
    std::optional<double> compass;
  };
  std::vector<Case> cases = {{55.75, 37.62, {}}, {0, 36, {}}, {0, 36, 12.5}, {89, 1, {}}, {-34.6, -100, {}}, {0.004, -100, -3}};
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180);
  for (int i = 0; i < 200; ++i) cases.push_back({lat(gen), lon(gen), i % 3 == 0 ? std::optional<double>(i - 100) : std::nullopt});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    const SatTable table = SatelliteSlots(ObserverAt(c.lat, c.lon), c.compass);
    TextGrid grid = MakeSatGrid();
    FormatSatTable(table, grid);
    for (int i = 0; i < kSlotCount; ++i) {
      const SatSlot& s = table.positions[static_cast<std::size_t>(i)];
      const auto [col, row] = SlotCellOf(i);
      const std::string& az = grid.Cell(col + 1, row);
      const std::string& el = grid.Cell(col + 2, row);
      EXPECT_EQ(grid.Cell(col, row), SlotText(s.lon == -180 ? 180 : s.lon) + (s.lon == -180 ? " W" : ""));
      // The cell colour's rule: the shown elevation reads below zero.
      ASSERT_EQ(s.below_horizon, ParseFloat(el).value_or(0) < 0) << el;
      if (s.kind == SlotKind::Zenith) {
        EXPECT_EQ(az + el, "зенитзенит");
      } else {
        EXPECT_EQ(OneDecimalValue(s.elevation), *ParseFloat(el));
        if (s.kind == SlotKind::Pole) {
          EXPECT_EQ(az, "---");
        } else {
          EXPECT_EQ(OneDecimalValue(s.azimuth), *ParseFloat(az));
        }
      }
      EXPECT_EQ(std::isnan(s.correction), s.kind == SlotKind::Equator || s.kind == SlotKind::Zenith);
    }
  }
}

TEST(SunMonth, RowsSayWhatTheCellsShow) {
  struct Case {
    const char* lat;
    int month, day;
    int rises, sets;
    PolarState sun, twilight;
    const char* pins;
  } cases[] = {
      {"55.75", 6, 1, 1, 1, PolarState::None, PolarState::None, "Moscow in June"},
      {"78", 6, 1, 0, 0, PolarState::Day, PolarState::Day, "polar day"},
      {"78", 12, 1, 0, 0, PolarState::Night, PolarState::Night, "polar night"},
      {"66", 7, 3, 1, 2, PolarState::None, PolarState::Day, "two sets and a rise, twilight all day"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    SunMonth m;
    ComputeSunMonth(PlaceFields(c.lat, "37.62"), 2026, c.month, m);
    ASSERT_EQ(m.days.size(), c.month == 6 ? 30u : 31u);
    const SunDayRow& d = m.days[static_cast<std::size_t>(c.day - 1)];
    EXPECT_EQ(d.day, c.day);
    EXPECT_EQ(d.sun.rises, c.rises);
    EXPECT_EQ(d.sun.sets, c.sets);
    EXPECT_EQ(d.sun_polar, c.sun);
    EXPECT_EQ(d.twilight_polar, c.twilight);
    EXPECT_EQ(d.day_length.has_value(), c.sun == PolarState::None);
    TextGrid grid = MakeSunGrid();
    FormatSunTable(m, false, RussianDateNames(), grid);
    if (d.day_length) {
      TextGrid length(1, 1);
      TtoCell(length, false, 0, 0, *d.day_length);
      EXPECT_EQ(grid.Cell(3, c.day), length.Cell(0, 0));
    }
    EXPECT_EQ(grid.Cell(1, c.day) == "ПОЛЯРНЫЙ", c.sun == PolarState::Day);
    EXPECT_EQ(grid.Cell(7, c.day) == "\"полярная", c.twilight == PolarState::Night);
  }
}

TEST(SunMonth, AFailureKeepsTheRowsDoneBeforeIt) {
  InputFields bad_height = PlaceFields("55.75", "37.62");
  bad_height.twilight = TwilightKind::ByHeight;
  bad_height.twilight_height = "km";
  InputFields bad_zone = PlaceFields("55.75", "37.62", "zone");
  SunMonth m;
  EXPECT_THROW(ComputeSunMonth(bad_height, 2026, 6, m), CalcError);
  ASSERT_EQ(m.days.size(), 1u);  // day 1's sun part, its twilight undone
  EXPECT_TRUE(m.days[0].sun_done);
  EXPECT_FALSE(m.days[0].twilight_done);
  EXPECT_THROW(ComputeSunMonth(bad_zone, 2026, 6, m), CalcError);
  EXPECT_TRUE(m.days.empty());
  EXPECT_EQ(m.locator, "KO85ts");  // the place converted before the zone failed
}

}  // namespace
}  // namespace kelmar
