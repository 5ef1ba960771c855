// The 48-step search for threshold crossings within one local day.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/day_serial.h"
#include "core/event_search.h"
#include "core/number_text.h"
#include "core/solar.h"

namespace kelmar {
namespace {

struct Event {
  char kind;  // 'R' rise, 'S' set
  double time;
  std::string azimuth;
};

struct Day {
  DaySamples ds;
  Crossings pass;
  LastSolved last;
};

// A prepared day at a place, as the sun table prepares it before its first pass.
void Prepare(Day& day, double lat, double lon, double zone, int y, int m, int d) {
  const Observer obs = ObserverAt(lat, lon);
  PrepareSamples(PrepareDay(EncodeDate(y, m, d), zone, obs), obs, day.ds);
}

std::vector<Event> Pass(Day& day, double thr) {
  std::vector<Event> events;
  EventPass(day.ds, thr, /*with_azimuth=*/true, day.last, day.pass);
  for (const Crossing& c : day.pass) events.push_back({c.rise ? 'R' : 'S', c.hours, FormatOneDecimal(c.azimuth)});
  return events;
}

TEST(EventPass, MoscowSolsticeOneRiseOneSet) {
  Day day;
  Prepare(day, 55.75, 37.62, 3, 2026, 6, 21);
  const std::vector<Event> ev = Pass(day, RiseAltSin());
  ASSERT_EQ(ev.size(), 2u);
  EXPECT_EQ(ev[0].kind, 'R');
  EXPECT_NEAR(ev[0].time, 3.7440, 1e-4);  // 03:44:38
  EXPECT_EQ(ev[0].azimuth, "43.3");       // four characters: no padding
  EXPECT_EQ(ev[1].kind, 'S');
  EXPECT_NEAR(ev[1].time, 21.3004, 1e-4);  // 21:18:01
  EXPECT_EQ(ev[1].azimuth, "316.7");
  EXPECT_EQ(day.pass.rises, 1);
  EXPECT_EQ(day.pass.sets, 1);
  EXPECT_NEAR(day.ds.transit, 12.5222, 1e-4);  // 12:31:20
  EXPECT_NEAR(day.pass.length_sum, 17.556, 1e-3);     // set minus rise
  EXPECT_LT(day.pass.last_sample, 0);                   // the Sun is down at the closing midnight
}

TEST(EventPass, TwoSetsAndARiseInOneArcticDay) {
  // 66° N on 2026-07-03: the Sun sets just after midnight, rises an hour later and sets
  // again just before the next midnight.
  Day day;
  Prepare(day, 66, 37.62, 3, 2026, 7, 3);
  const std::vector<Event> ev = Pass(day, RiseAltSin());
  ASSERT_EQ(ev.size(), 3u);
  EXPECT_EQ(ev[0].kind, 'S');
  EXPECT_NEAR(ev[0].time, 0.0496, 1e-3);  // about 00:03
  EXPECT_EQ(ev[0].azimuth, "352.9");
  EXPECT_EQ(ev[1].kind, 'R');
  EXPECT_NEAR(ev[1].time, 1.0781, 1e-3);  // about 01:05
  EXPECT_EQ(ev[1].azimuth, "7.1");
  EXPECT_EQ(ev[2].kind, 'S');
  EXPECT_NEAR(ev[2].time, 23.9539, 1e-3);  // about 23:57
  EXPECT_EQ(ev[2].azimuth, "351.6");
  EXPECT_EQ(day.pass.rises, 1);
  EXPECT_EQ(day.pass.sets, 2);
  // The last crossing solved is what a crossing without a real root would repeat.
  EXPECT_EQ(day.last.hours, ev[2].time);
  EXPECT_EQ(FormatOneDecimal(*day.last.azimuth), "351.6");
  // Sets add, the rise subtracts: the sum is the time above the threshold.
  EXPECT_NEAR(day.pass.length_sum, 0.0496 - 1.0781 + 23.9539, 2e-3);
}

TEST(EventPass, PolarDaysFindNoCrossingAndTellNightFromDayByTheEndSample) {
  struct Case {
    int m, d;
    bool sun_up;
    double transit;
  };
  const Case cases[] = {
      {12, 21, false, 12.7671},  // polar night at 69° N
      {6, 21, true, 12.8302},    // polar day
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.m);
    Day day;
    Prepare(day, 69, 33, 3, 2026, c.m, c.d);
    EXPECT_TRUE(Pass(day, RiseAltSin()).empty());
    EXPECT_EQ(day.pass.rises, 0);
    EXPECT_EQ(day.pass.sets, 0);
    EXPECT_EQ(day.pass.length_sum, 0.0);
    EXPECT_EQ(day.pass.last_sample > 0, c.sun_up);
    EXPECT_EQ(day.pass.last_sample < 0, !c.sun_up);
    EXPECT_NEAR(day.ds.transit, c.transit, 1e-4);
  }
}

TEST(EventPass, SecondPassOnTheSameSamplesRepeatsTheFirst) {
  // Both passes of a day share the samples: running the same threshold twice must agree
  // bit for bit, and a deeper threshold must find earlier mornings and later evenings.
  Day day;
  Prepare(day, 55.75, 37.62, 3, 2026, 3, 1);
  const std::vector<Event> first = Pass(day, RiseAltSin());
  const std::vector<Event> again = Pass(day, RiseAltSin());
  ASSERT_EQ(first.size(), 2u);
  ASSERT_EQ(again.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(first[i].time, again[i].time);
    EXPECT_EQ(first[i].azimuth, again[i].azimuth);
  }
  const std::vector<Event> civil = Pass(day, -std::sin(6 * kDegToRad));
  ASSERT_EQ(civil.size(), 2u);
  EXPECT_LT(civil[0].time, first[0].time);
  EXPECT_GT(civil[1].time, first[1].time);
  // From 0.833° to 6° of depression takes roughly half an hour at 56° N in March.
  EXPECT_NEAR(first[0].time - civil[0].time, 0.55, 0.2);
}

}  // namespace
}  // namespace kelmar
