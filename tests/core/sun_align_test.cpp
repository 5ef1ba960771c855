// The Sun on a slot's azimuth: the search against a plain one-second scan of the Sun's azimuth,
// the noon of the sun table for a slot due south, and the texts of the table and the line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/outage.h"
#include "core/sky.h"
#include "core/sun_align.h"

namespace kelmar {
namespace {

double Wrap180(double x) { return x - 360 * std::round(x / 360); }

struct Crossing {
  AlignKind kind;
  int second;
};

// Every second of the local day: where the Sun's azimuth passes the slot's or the opposite one.
// A jump of the difference through ±180° is the other azimuth, not this one.
std::vector<Crossing> ScanDay(const Observer& obs, double zone, double target, CalendarDate date) {
  const double midnight = EncodeDate(date.year, date.month, date.day) - zone / 24;
  std::vector<Crossing> out;
  double prev[2] = {0, 0};
  for (int s = 0; s <= 86400; ++s) {
    const double az = SunPlaceAt(obs, midnight + (s - 0.5) / 86400).az;
    for (int k = 0; k < 2; ++k) {
      const double d = Wrap180(az - target - 180 * k);
      if (s > 0 && (d < 0) != (prev[k] < 0) && std::abs(d) < 90) out.push_back({k == 0 ? AlignKind::Sun : AlignKind::Shadow, s - 1});
      prev[k] = d;
    }
  }
  return out;
}

TEST(SunAlign, AgreesWithAOneSecondScan) {
  struct Case {
    double lat, lon, zone, slot;
    CalendarDate date;
    int events;  // what the day holds
  } cases[] = {
      {55.75, 37.62, 3, 36, {2026, 3, 20}, 2},    // Moscow at the equinox: noon sun, midnight shadow
      {55.75, 37.62, 3, -30, {2026, 6, 21}, 2},   // a western slot: the Sun meets it in the afternoon
      {10, 0, 0, 0, {2026, 6, 21}, 2},            // the tropics in June: the Sun north of the zenith, shadow only
      {10, 0, 0, 60, {2026, 6, 21}, 0},           // an eastern slot there: neither azimuth is met
      {78, 15, 1, 15, {2026, 12, 21}, 2},         // polar night: both under the horizon
      {-34.6, -58.4, -3, -61, {2026, 1, 15}, 2},  // southern summer, the dish to the north
      {0.5, 20, 2, 20, {2026, 3, 21}, 2},         // near the equator at the equinox, through the zenith
      {23.4, 45, 3, 45, {2026, 6, 21}, 2},        // on the tropic at the solstice: the Sun at the zenith
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << " " << c.lon << " slot " << c.slot);
    const Observer obs = ObserverAt(c.lat, c.lon);
    const AlignTable t = ComputeAlignment(obs, c.zone, c.slot, Horizon(), c.date, 1);
    ASSERT_EQ(t.days.size(), 1u);
    const std::vector<Crossing> scan = ScanDay(obs, c.zone, t.azimuth, c.date);
    const std::vector<AlignEvent>& events = t.days[0].events;
    ASSERT_EQ(events.size(), static_cast<std::size_t>(c.events));
    ASSERT_EQ(scan.size(), events.size());
    for (std::size_t i = 0; i < scan.size(); ++i) {
      EXPECT_EQ(events[i].kind, scan[i].kind) << i;
      EXPECT_NEAR(events[i].seconds, scan[i].second, 1) << i;
      const SunPlace at = SunPlaceAt(obs, EncodeDate(c.date.year, c.date.month, c.date.day) - c.zone / 24 + events[i].hours / 24);
      EXPECT_NEAR(at.el, events[i].elevation, 1e-9);
    }
  }
}

TEST(SunAlign, SlotDueSouthIsMetAtTheSunTablesNoon) {
  struct Case {
    const char* lat;
    const char* lon;
    const char* gmt;
    int month, day;
  } cases[] = {
      {"55.75", "37.62", "3", 3, 20},    // Moscow
      {"40.4", "-3.7", "1", 7, 1},       // Madrid in summer
      {"64.5", "40.5", "3", 12, 10},     // Arkhangelsk, a Sun just above the horizon
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lat);
    InputFields in;
    in.EditSir = c.lat, in.EditDolg = c.lon, in.RadioButtonMSK = false, in.EditGMT = c.gmt;
    in.ESlot = SlotText(std::stod(c.lon));
    const AlignTable t = ComputeAlignment(in, Horizon(), {2026, c.month, c.day}, 1);
    EXPECT_NEAR(t.azimuth, 180, 1e-9);
    const double noon = YearDaylight(in, 2026)[static_cast<int>(EncodeDate(2026, c.month, c.day) - EncodeDate(2026, 1, 1))].noon;
    int suns = 0;
    for (const AlignEvent& e : t.days[0].events) {
      if (e.kind != AlignKind::Sun) continue;
      ++suns;
      EXPECT_NEAR(e.hours, noon, 2.0 / 3600);
      EXPECT_TRUE(e.above_horizon);
    }
    EXPECT_EQ(suns, 1);
  }
}

TEST(SunAlign, HandCheckedMoscowEquinox) {
  // The satellite's azimuth from the satellite table (182.0), the Sun there 6 minutes after
  // noon at 90° − 55.75° − a little; the shadow's moment near midnight, well below.
  InputFields in;
  in.EditSir = "55.75", in.EditDolg = "37.62", in.RadioButtonMSK = false, in.EditGMT = "3", in.ESlot = "36e";
  const AlignTable t = ComputeAlignment(in, Horizon::Parse("170:40 200:40"), {2026, 3, 20}, 2);
  EXPECT_EQ(t.slot, "36 E");
  EXPECT_EQ(FormatTwoDecimals(t.azimuth), "181.96");
  ASSERT_EQ(t.days.size(), 2u);
  EXPECT_EQ(t.days[1].date.day, 21);
  const std::vector<AlignEvent>& e = t.days[0].events;
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(ClockText(e[0].seconds), "00:43:36");
  EXPECT_EQ(ClockText(e[1].seconds), "12:43:29");
  EXPECT_EQ(FormatTwoDecimals(e[1].elevation), "34.16");
  EXPECT_TRUE(e[1].above_horizon);
  EXPECT_FALSE(e[1].above_mask);  // behind the 40° wall
}

TEST(SunAlign, TextsSayWhatTheSunDoes) {
  AlignDay day{{2026, 3, 20}, {}};
  EXPECT_EQ(AlignLine(day), "20.03.2026  по Солнцу нет  по тени нет");
  day.events = {{AlignKind::Shadow, 2616, 0.7, 2, -34.5, false, false},
                {AlignKind::Sun, 45809, 12.7, 182, 34.16, true, true},
                {AlignKind::Sun, 50000, 13.9, 182, 20, true, false}};
  EXPECT_EQ(AlignLine(day), "20.03.2026  по Солнцу 12:43:29 (34.2°), 13:53:20 (за препятствием)  по тени 00:43:36 (под горизонтом)");
  AlignTable t{"36 E", 181.96, 26.5, {day, {{2026, 3, 21}, {}}}};
  const TextGrid g = MakeAlignGrid(t);
  ASSERT_EQ(g.RowCount(), 5);
  const std::vector<std::string> row1{"20.03.2026", "Тень", "00:43:36", "-34.50", "нет", "нет"};
  for (int c = 0; c < kAlignCols; ++c) EXPECT_EQ(g.Cell(c, 1), row1[c]);
  EXPECT_EQ(g.Cell(0, 4), "21.03.2026");  // a day without moments says so
  EXPECT_EQ(g.Cell(1, 4), "нет");
}

TEST(SunAlign, BadFieldsAreRefused) {
  InputFields in;
  in.EditSir = "55", in.EditDolg = "37", in.ESlot = "36 X";
  EXPECT_THROW(ComputeAlignment(in, Horizon(), {2026, 1, 1}, 1), CalcError);
}

}  // namespace
}  // namespace kelmar
