// Sun outages: slot texts, the outage angle, a worked Moscow case, and whole years checked
// against a plain scan of the separation that knows nothing of the search's shortcuts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/outage.h"
#include "core/sun_table.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;

constexpr double kSec = 1.0 / 86400;

InputFields Dish(InputFields in, const char* slot, const char* dish, const char* freq) {
  in.ESlot = slot, in.EDish = dish, in.EFreq = freq;
  return in;
}

TEST(Outage, SlotTexts) {
  struct Case {
    const char* text;
    const char* normal;  // nullptr: refused
  };
  const Case cases[] = {
      {"36 E", "36 E"},      // as the satellite table writes it
      {"36E", "36 E"},       // without the blank
      {"36e", "36 E"},       // lower case
      {" 5 w ", "5 W"},      // blanks around, west
      {"19.20E", "19.2 E"},  // decimals, trailing zero dropped
      {"4.8 E", "4.8 E"},    // a tenth of a degree kept
      {"036.0 E", "36 E"},   // leading zeros and a zero fraction
      {"0", "0"},            // the two positions without a side
      {"0 W", "0"},          //
      {"180", "180"},        //
      {"180 W", "180"},      // one place, one name
      {"180.0e", "180"},     //
      {"", nullptr},         // empty
      {"36", nullptr},       // the side matters here
      {"E", nullptr},        // no number
      {"181 E", nullptr},    // past the antimeridian
      {"-5 E", nullptr},     // a sign and a side would contradict
      {"36 EE", nullptr},    // more than one letter
      {"36 В", nullptr},     // Cyrillic letter
      {"36,5 E", nullptr},   // the comma rule runs on leaving the field, not here
      {"1e1 E", nullptr},    // no exponents
      {"3.6.1 E", nullptr},  // two points
  };
  for (const Case& c : cases) {
    const auto v = ParseSlot(c.text);
    if (c.normal == nullptr) {
      EXPECT_FALSE(v.has_value()) << c.text;
    } else {
      ASSERT_TRUE(v.has_value()) << c.text;
      EXPECT_EQ(SlotText(*v), c.normal) << c.text;
    }
  }
  EXPECT_EQ(*ParseSlot("5 W"), -5);
  try {
    SlotFromText("36X");
    FAIL();
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "Неверная позиция спутника '36X'");
  }
}

TEST(Outage, Angle) {
  struct Case {
    double dish, freq, angle;  // angle < 0: refused with the message below
    const char* message;
  };
  const Case cases[] = {
      {0.9, 12, 1.238550, nullptr},    // the defaults: 70·0.0249827/0.9/2 + 0.267
      {1.8, 12, 0.752775, nullptr},    // twice the dish, half the beam
      {0.9, 24, 0.752775, nullptr},    // twice the frequency, the same
      {0.1, 1, 105.194, nullptr},      // both lower bounds allowed
      {30, 50, 0.274, nullptr},        // both upper bounds: little more than the Sun's radius
      {0.099, 12, -1, "Диаметр антенны должен быть от 0.1 до 30 м"},
      {30.01, 12, -1, "Диаметр антенны должен быть от 0.1 до 30 м"},
      {0.9, 0.99, -1, "Частота должна быть от 1 до 50 ГГц"},
      {0.9, NAN, -1, "Частота должна быть от 1 до 50 ГГц"},
  };
  for (const Case& c : cases) {
    if (c.message == nullptr) {
      EXPECT_NEAR(OutageAngle(c.dish, c.freq), c.angle, 1e-3) << c.dish << " " << c.freq;
      continue;
    }
    try {
      OutageAngle(c.dish, c.freq);
      ADD_FAILURE() << c.dish << " " << c.freq;
    } catch (const CalcError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// Seconds after midnight of "hh:mm:ss".
int Secs(const std::string& t) { return std::stoi(t.substr(0, 2)) * 3600 + std::stoi(t.substr(3, 2)) * 60 + std::stoi(t.substr(6)); }

TEST(Outage, MoscowSlot36E) {
  // The first outage of the year worked out with the Sun from a high-precision ephemeris.
  const OutageTable t = ComputeOutages(Dish(PlaceFields("55.75", "37.62", "3"), "36E", "0.9", "12"), 2026);
  ASSERT_TRUE(t.visible);
  EXPECT_EQ(t.slot, "36 E");
  EXPECT_NEAR(t.angle, 1.2385, 1e-4);
  EXPECT_NEAR(t.azimuth, 181.96, 0.01);
  EXPECT_NEAR(t.elevation, 26.46, 0.01);
  ASSERT_FALSE(t.rows.empty());
  const OutageRow& r = t.rows.front();
  EXPECT_EQ(OutageDateText(r), "26.02.2026");
  EXPECT_NEAR(Secs(r.start), Secs("12:45:54"), 10);
  EXPECT_NEAR(Secs(r.peak), Secs("12:49:28"), 5);
  EXPECT_NEAR(Secs(r.end), Secs("12:53:01"), 10);
  EXPECT_NEAR(r.separation, 0.871, 0.01);
  // As the window and the export show it.
  const TextGrid g = MakeOutageGrid(t);
  ASSERT_EQ(g.RowCount(), static_cast<int>(t.rows.size()) + 1);
  const std::vector<std::string> row = {g.Cell(0, 1), g.Cell(1, 1), g.Cell(2, 1), g.Cell(3, 1), g.Cell(4, 1), g.Cell(5, 1)};
  EXPECT_EQ(row, (std::vector<std::string>{"26.02.2026", "12:45:54", "12:49:28", "12:53:02", "07:08", "0.87"}));
}

// Every stretch of the year with ψ < α found by stepping through the year, each edge and peak
// then pinned to the second by a fine scan: the search must find the same passes.
void CheckAgainstScan(const OutageSite& site, double alpha, int year, std::size_t at_least, unsigned months) {
  const double from = EncodeDate(year, 1, 1), to = EncodeDate(year + 1, 1, 1);
  const std::vector<OutagePass> found = FindOutages(site, alpha, from, to);
  std::vector<double> coarse_minima;
  constexpr double kStep = 30 * kSec;
  bool in = false;
  double best = 0, best_t = 0;
  for (double t = from - 0.05; t < to + 0.05; t += kStep) {
    const double psi = SunSatSeparation(site, t);
    if (psi < alpha && (!in || psi < best)) best = psi, best_t = t;
    if (!in && psi < alpha) in = true;
    if (in && psi >= alpha) {
      in = false;
      if (best_t >= from && best_t < to) coarse_minima.push_back(best_t);
    }
  }
  ASSERT_GE(found.size(), at_least);
  ASSERT_EQ(found.size(), coarse_minima.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    const OutagePass& p = found[i];
    EXPECT_TRUE(months >> DecodeDate(p.peak).month & 1) << DecodeDate(p.peak).month;
    EXPECT_NEAR(p.peak, coarse_minima[i], kStep);
    double least = 1e9, least_t = 0;
    for (double t = p.peak - 120 * kSec; t <= p.peak + 120 * kSec; t += kSec) {
      const double psi = SunSatSeparation(site, t);
      if (psi < least) least = psi, least_t = t;
    }
    EXPECT_NEAR(p.peak, least_t, 1.5 * kSec);
    EXPECT_NEAR(p.separation, least, 1e-5);
    double before = p.peak;
    while (SunSatSeparation(site, before) < alpha) before -= kSec;
    EXPECT_NEAR(p.start, before, 1.5 * kSec);
    double after = p.peak;
    while (SunSatSeparation(site, after) < alpha) after += kSec;
    EXPECT_NEAR(p.end, after, 1.5 * kSec);
  }
}

TEST(Outage, WholeYearsAgreeWithAPlainScan) {
  struct Case {
    OutageSite site;
    double alpha;
    std::size_t at_least;
    unsigned months;  // bit m: outages may peak in month m
  };
  constexpr unsigned kFebMarOct = 1 << 2 | 1 << 3 | 1 << 10, kMarAprSep = 1 << 3 | 1 << 4 | 1 << 9;
  const Case cases[] = {
      // Moscow, a small dish: the satellite south of the celestial equator, so late winter and autumn.
      {{ObserverAt(55.75, 37.62), 36}, 1.2385, 10, kFebMarOct},
      // Sydney: the satellite north of it, so spring and the end of winter there.
      {{ObserverAt(-33.87, 151.21), 156}, 0.7528, 6, kMarAprSep},
      // Near the equator, almost overhead: a wide beam, around both equinoxes.
      {{ObserverAt(0.5, -78.5), -75}, 2.5, 20, 1 << 2 | 1 << 3 | 1 << 4 | 1 << 9 | 1 << 10},
      // Far north, a low satellite, a big dish.
      {{ObserverAt(70, 20), -1}, 0.4, 2, kFebMarOct},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.site.obs.LatDeg);
    CheckAgainstScan(c.site, c.alpha, 2026, c.at_least, c.months);
  }
}

TEST(Outage, HiddenSlot) {
  // From Moscow 140 W is below the horizon: no outages, and the caller says so.
  const OutageTable t = ComputeOutages(Dish(PlaceFields("55.75", "37.62", "3"), "140W", "0.9", "12"), 2026);
  EXPECT_FALSE(t.visible);
  EXPECT_LT(t.elevation, 0);
  EXPECT_TRUE(t.rows.empty());
  EXPECT_EQ(HiddenSlotMessage(t.slot), "Спутник 140 W не виден из этого пункта");
}

TEST(Outage, SunBelowTheHorizonCutsOrDropsThePass) {
  // The sun table's rise and set, to the second, are where a cut pass starts or ends.
  const auto sun_cell = [](const InputFields& in, int month, int day, int col) {
    CalcState st = MonthState(2026, month);
    InputFields with_seconds = in;
    with_seconds.CheckBoxSec = true;
    TextGrid grid = MakeSunGrid();
    Calc(st, with_seconds, grid);
    return grid.Cell(col, day);
  };
  constexpr int kRise = 1, kSet = 2;
  struct Case {
    const char *lat, *lon, *gmt, *slot, *dish, *freq;
    int month, day;
    bool listed;
    OutageCut cut;
    const char* marked;  // the row's start and end cells
    int within = 1;      // seconds from the sun table's rise or set
  } cases[] = {
      // Moscow, a C-band dish on a slot low in the west: the Sun has set before the whole window.
      {"55.75", "37.62", "3", "36W", "0.45", "4", 2, 13, false, OutageCut::None, ""},
      // ... and on a later day it sets during it.
      {"55.75", "37.62", "3", "36W", "0.45", "4", 2, 18, true, OutageCut::End, "17:39:08 17:40:15*"},
      // A slot low in the east: the Sun rises into the beam.
      {"55.75", "37.62", "3", "110E", "0.45", "4", 2, 17, true, OutageCut::Start, "07:49:48* 07:50:42"},
      // Near the limit of the orbit's visibility the Sun only grazes the horizon at noon.
      // The table's search interpolates, seconds off when the Sun barely climbs.
      {"80", "0", "0", "0", "0.45", "4", 2, 20, true, OutageCut::Both, "11:58:14* 12:31:49*", 10},
      // A slot high in the sky in daytime: as it always was.
      {"55.75", "37.62", "3", "36E", "0.9", "12", 2, 26, true, OutageCut::None, "12:45:54 12:53:02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.slot) + " " + std::to_string(c.day));
    const InputFields in = Dish(PlaceFields(c.lat, c.lon, c.gmt), c.slot, c.dish, c.freq);
    const OutageTable t = ComputeOutages(in, 2026);
    const TextGrid g = MakeOutageGrid(t);
    int found = -1;
    for (std::size_t i = 0; i < t.rows.size(); ++i)
      if (t.rows[i].month == c.month && t.rows[i].day == c.day) found = static_cast<int>(i);
    ASSERT_EQ(found >= 0, c.listed);
    EXPECT_EQ(HasCut(t), c.cut != OutageCut::None || !c.listed);
    if (!c.listed) continue;
    const OutageRow& r = t.rows[static_cast<std::size_t>(found)];
    EXPECT_EQ(r.cut, c.cut);
    EXPECT_EQ(g.Cell(1, found + 1) + " " + g.Cell(3, found + 1), c.marked);
    if (c.cut == OutageCut::Start || c.cut == OutageCut::Both) {
      EXPECT_NEAR(Secs(r.start), Secs(sun_cell(in, c.month, c.day, kRise)), c.within);
    }
    if (c.cut == OutageCut::End || c.cut == OutageCut::Both) {
      EXPECT_NEAR(Secs(r.end), Secs(sun_cell(in, c.month, c.day, kSet)), c.within);
    }
    // The peak is the least separation the dish sees: within the visible part.
    EXPECT_TRUE(r.start <= r.peak && r.peak <= r.end);
  }
  EXPECT_EQ(std::string(OutageCutName(OutageCut::Both)) + OutageCutName(OutageCut::Start) + OutageCutName(OutageCut::End),
            "bothstartend");
  EXPECT_EQ(OutageCutName(OutageCut::None), nullptr);
}

TEST(Outage, YearsBefore1900) {
  // Before 1899-12-30 the moments are negative serials: still clock times and the year's own
  // dates, the late-winter outages on about the same days as in the years after.
  const auto well_formed = [](const std::string& t) {
    return t.size() == 8 && t[2] == ':' && t[5] == ':' && t.find_first_not_of("0123456789:") == std::string::npos;
  };
  for (const int year : {1800, 1899, 1900, 2200}) {
    SCOPED_TRACE(year);
    const OutageTable t = ComputeOutages(Dish(PlaceFields("55.75", "37.62", "3"), "36E", "0.9", "12"), year);
    ASSERT_GE(t.rows.size(), 8u);
    for (const OutageRow& r : t.rows) {
      EXPECT_EQ(r.year, year);
      EXPECT_TRUE(well_formed(r.start) && well_formed(r.peak) && well_formed(r.end)) << r.start << " " << r.peak << " " << r.end;
      EXPECT_EQ(r.duration.size(), 5u) << r.duration;
    }
    EXPECT_EQ(t.rows.front().month, 2);
    EXPECT_NEAR(t.rows.front().day, 25, 3);
  }
}

TEST(Outage, YearBoundary) {
  // A huge beam blinds the dish every day; at Greenwich with GMT+12 the peaks fall near local
  // midnight, so the date of each row is the local date of its peak.
  struct Case {
    const char* gmt;
    const char* first;  // date and peak of the first row of 2026
    const char* last;
  };
  const Case cases[] = {
      {"12", "01.01.2026 00:03", "31.12.2026 00:02"},  // the GMT 31.12.2025 peak belongs to 2026
      {"11", "01.01.2026 23:03", "31.12.2026 23:03"},  // the GMT 31.12.2026 peak still does
  };
  for (const Case& c : cases) {
    const OutageTable t = ComputeOutages(Dish(PlaceFields("10", "0", c.gmt), "0", "0.1", "1"), 2026);
    ASSERT_GE(t.rows.size(), 364u);
    EXPECT_EQ(OutageDateText(t.rows.front()) + " " + t.rows.front().peak.substr(0, 5), c.first);
    EXPECT_EQ(OutageDateText(t.rows.back()) + " " + t.rows.back().peak.substr(0, 5), c.last);
    EXPECT_EQ(t.rows.back().duration.size(), 6u) << "minutes past 99 shown whole";
  }
}

}  // namespace
}  // namespace kelmar
