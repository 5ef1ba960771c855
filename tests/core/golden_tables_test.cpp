// Whole tables of many places and months against the golden files in tests/data: one line per
// table row, the case and the row number first. A mismatch names the case, row and column
// with both cells. KELMAR_UPDATE_GOLDEN=1 rewrites the files from the code instead (review the
// diff before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/sat_table.h"
#include "core/sun_table.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

std::string CsvCell(const std::string& cell) {
  if (cell.find_first_of(",\"") == std::string::npos) return cell;
  std::string out = "\"";
  for (char ch : cell) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return out + "\"";
}

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (quoted && ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      cells.back() += '"';
      ++i;
    } else if (ch == '"') {
      quoted = !quoted;
    } else if (ch == ',' && !quoted) {
      cells.emplace_back();
    } else {
      cells.back() += ch;
    }
  }
  return cells;
}

void AppendRows(Lines& lines, const std::string& name, const TextGrid& grid, int last_row) {
  for (int r = 1; r <= last_row; ++r) {
    std::string line = CsvCell(name) + "," + std::to_string(r);
    for (int c = 0; c < grid.ColCount(); ++c) line += "," + CsvCell(grid.Cell(c, r));
    lines.push_back(std::move(line));
  }
}

void ExpectGolden(const std::string& file, const Lines& actual) {
  const std::string path = std::string(KELMAR_TEST_DATA_DIR) + "/" + file;
  if (std::getenv("KELMAR_UPDATE_GOLDEN") != nullptr) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& line : actual) out << line << '\n';
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing " << path;
  Lines expected;
  for (std::string line; std::getline(in, line);) expected.push_back(line);
  ASSERT_EQ(expected.size(), actual.size()) << file << ": number of rows";
  int reported = 0;
  for (std::size_t i = 0; i < expected.size() && reported < 20; ++i) {
    if (expected[i] == actual[i]) continue;
    const auto want = SplitCsv(expected[i]), got = SplitCsv(actual[i]);
    for (std::size_t c = 2; c < std::max(want.size(), got.size()); ++c) {
      const std::string w = c < want.size() ? want[c] : "(none)", g = c < got.size() ? got[c] : "(none)";
      if (w != g && reported++ < 20)
        ADD_FAILURE() << file << ": " << want[0] << ", row " << want[1] << ", column " << c - 2 << ": expected \""
                      << w << "\", got \"" << g << "\"";
    }
  }
}

TEST(GoldenTables, SunTablesOfManyPlacesAndMonths) {
  struct Place {
    const char* file;
    const char* lat;
    const char* lon;
    const char* gmt;
  };
  const Place places[] = {
      {"sun_moscow.csv", "55.75", "37.62", "3"},
      {"sun_polar_circle.csv", "69", "33", "3"},
      {"sun_southern.csv", "-33.9", "18.4", "2"},
      {"sun_equator_antimeridian.csv", "0", "170", "12"},  // near the antimeridian
      {"sun_equator_west.csv", "-0.2", "-78.5", "-5"},
      {"sun_high_arctic.csv", "80", "15", "1"},
      {"sun_antarctic.csv", "-70", "-60", "-3"},
      {"sun_noon_near_midnight.csv", "55.75", "0", "12"},
  };
  struct Month {
    int year, month;
    bool seconds;
    const char* height;  // nullptr: twilight angle 6°
  };
  // Every month of 2026 with seconds, then the ends of the year range, the turn of the
  // millennium, and two months in height mode.
  std::vector<Month> months;
  for (int m = 1; m <= 12; ++m) months.push_back({2026, m, true, nullptr});
  months.push_back({1800, 3, false, nullptr});
  months.push_back({2200, 9, false, nullptr});
  months.push_back({1999, 12, true, nullptr});
  months.push_back({2026, 6, false, "12.345"});
  months.push_back({2026, 12, false, "12.345"});
  for (const Place& p : places) {
    Lines lines;
    for (const Month& m : months) {
      InputFields in = PlaceFields(p.lat, p.lon, p.gmt);
      in.seconds = m.seconds;
      if (m.height != nullptr) {
        in.twilight = TwilightKind::ByHeight;
        in.twilight_height = m.height;
      }
      CalcState st = MonthState(m.year, m.month);
      TextGrid grid = MakeSunGrid();
      Calc(st, in, grid);
      const std::string name = std::to_string(m.year) + "-" + std::to_string(m.month) + (m.seconds ? " seconds" : "") +
                               (m.height ? " height" : "");
      AppendRows(lines, name, grid, kSunRows - 1);
    }
    ExpectGolden(p.file, lines);
  }
}

TEST(GoldenTables, SatelliteTablesOfManyPlaces) {
  struct Case {
    const char* lat;
    const char* lon;
  };
  const Case cases[] = {
      {"55.75", "37.62"},   // Moscow
      {"-33.9", "18.4"},    // southern
      {"0", "170"},         // equator, across the antimeridian
      {"0", "37.5"},        // equator between two degrees
      {"88", "-100.5"},     // near the pole
      {"-89", "45"},        // near the south pole
      {"0.5", "-0.5"},      // 0.5° lies inside the equatorial band of 0.01 rad
      {"-0.58", "120.3"},   // 0.58° lies just outside it
      {"45", "-180"},       // at the antimeridian
      {"-45", "180"},       // the other side of it
      {"60", "-100.5"},     // starting at 180 W
  };
  Lines lines;
  for (const Case& c : cases) {
    TextGrid sat = MakeSatGrid();
    Satel(ObserverFromFields(PlaceFields(c.lat, c.lon)), sat);
    AppendRows(lines, std::string(c.lat) + " " + c.lon, sat, kSatRows - 1);
  }
  ExpectGolden("sat_places.csv", lines);
}

}  // namespace
}  // namespace kelmar
