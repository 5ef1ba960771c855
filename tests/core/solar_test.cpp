// The solar position model and the day's time arguments.
#include <gtest/gtest.h>

#include <cmath>

#include "core/calc_state.h"
#include "core/day_serial.h"
#include "core/solar.h"

namespace kelmar {
namespace {

CalcState PreparedDay(double cur_date, double zone_hours, double lon_deg) {
  CalcState st;
  InitRiseAltSin(st);
  st.CurDate = cur_date;
  st.ZoneHours = zone_hours;
  PrepareDay(st, ObserverAt(0, lon_deg));
  return st;
}

TEST(SolarPrimitives, FracKeepsTheSignAndArcSinSpansTheHalfCircle) {
  EXPECT_EQ(Frac(-0.25), -0.25);  // not 0.75
  EXPECT_EQ(Frac(1.75), 0.75);
  EXPECT_EQ(Frac(-1.75), -0.75);
  EXPECT_EQ(Frac(3.0), 0.0);
  EXPECT_NEAR(ArcSin(0.5), kPi / 6, 1e-15);
  EXPECT_NEAR(ArcSin(-0.5), -kPi / 6, 1e-15);
  EXPECT_EQ(ArcSin(1.0), kPi / 2);    // √0 is exact: atan2(1, 0)
  EXPECT_EQ(ArcSin(-1.0), -kPi / 2);
  EXPECT_EQ(ArcSin(0.0), 0.0);
}

TEST(SolarPrimitives, RiseThresholdIsMinusSinOf0833Degrees) {
  CalcState st;
  InitRiseAltSin(st);
  EXPECT_NEAR(st.RiseAltSin, -std::sin(0.833 * kDegToRad), 1e-12);
  EXPECT_NEAR(st.RiseAltSin, -0.0145381, 1e-7);
}

TEST(PrepareDay, MoscowSolsticeWorkedExample) {
  // 2026-06-21, zone +3, 37.62° E.
  const CalcState st = PreparedDay(46194, 3, 37.62);
  EXPECT_EQ(st.ZoneShift, -0.125);
  EXPECT_DOUBLE_EQ(st.Centuries1900, 1 + 9667.5 / 36525);  // from 00:00 UT, not shifted
  EXPECT_NEAR(st.Centuries1900, 1.2646817, 1e-7);
  EXPECT_NEAR(st.LstMidnight, 4.5675808, 1e-7);
  EXPECT_NEAR(st.RaStart, 1.5622006, 1e-7);
  EXPECT_NEAR(st.DecStart, 0.4089227, 1e-7);
  EXPECT_NEAR(st.RaEnd, 1.5803527, 1e-7);
  EXPECT_NEAR(st.DecEnd, 0.4089175, 1e-7);
  // Afterwards DayNumber is the local midnight that ends the date.
  EXPECT_DOUBLE_EQ(st.DayNumber, 9667.375 + 1);
}

TEST(PosOfSun, IsAPureFunctionOfDayNumberAndCenturies) {
  CalcState st;
  st.DayNumber = 9667.375;  // local midnight of the worked example
  st.Centuries1900 = 1 + 9667.5 / 36525;
  PosOfSun(st);
  EXPECT_NEAR(st.SunRA, 1.5622006, 1e-7);
  EXPECT_NEAR(st.SunDec, 0.4089227, 1e-7);
  const double ra = st.SunRA, dec = st.SunDec;
  st.LstMidnight = 2.0;  // unrelated state changes nothing
  PosOfSun(st);
  EXPECT_EQ(st.SunRA, ra);
  EXPECT_EQ(st.SunDec, dec);
}

TEST(PrepareDay, FirstOfJanuary2000) {
  const CalcState st = PreparedDay(36526, 0, 0);
  EXPECT_EQ(st.DayNumber, 0.5);  // −0.5 at local midnight, one day later at the end
  EXPECT_DOUBLE_EQ(st.Centuries1900, 1 - 0.5 / 36525);
}

TEST(PrepareDay, EndPositionAboveTwoPiAfterTheTurn) {
  // 2026-03-22, zone 0: the start lies just above 2π, the raw end just above 0.
  const CalcState st = PreparedDay(EncodeDate(2026, 3, 22), 0, 0);
  EXPECT_GT(st.RaStart, kTwoPi);
  EXPECT_GT(st.RaEnd, st.RaStart);
}

TEST(PrepareDay, SiderealTimeBefore2000IsNegativeButInRange) {
  struct Case {
    int y, m, d;
    bool negative;  // S of the sidereal step is negative about 102 days before 2000-01-01 12:00
  };
  const Case cases[] = {
      {1999, 9, 1, true},    // well before: negative
      {1999, 1, 1, true},     // a year before
      {1850, 6, 1, true},    // far back
      {1999, 12, 1, false},  // within the last 100 days: still positive
      {2026, 6, 21, false},   // after 2000
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    const CalcState st = PreparedDay(EncodeDate(c.y, c.m, c.d), 0, 0);
    if (c.negative) {
      EXPECT_LE(st.LstMidnight, 0.0);
      EXPECT_GT(st.LstMidnight, -kTwoPi);
    } else {
      EXPECT_GE(st.LstMidnight, 0.0);
      EXPECT_LT(st.LstMidnight, kTwoPi);
    }
  }
}

TEST(PrepareDay, DailyRightAscensionSpanStaysSmallAndPositiveOverTheYearRange) {
  // Every week from 1800 to 2200, in three zones: the span never wraps to about −2π,
  // including the days on which the mean longitude crosses a whole turn.
  for (double s = EncodeDate(1800, 1, 1); s < EncodeDate(2201, 1, 1); s += 7) {
    for (double zone : {0.0, 3.0, -12.0}) {
      const CalcState st = PreparedDay(s, zone, 108.0);
      const double span = st.RaEnd - st.RaStart;
      ASSERT_GE(span, 0.0155) << s << " zone " << zone;
      ASSERT_LE(span, 0.0195) << s << " zone " << zone;
    }
  }
}

TEST(PrepareDay, WholeTurnOfTheMeanLongitudeIsBridged) {
  // Days on which the mean longitude passes a whole turn (zone 0): the end position is
  // raised by 2π, before and after 2000.
  for (double s : {EncodeDate(2026, 3, 22), EncodeDate(1998, 3, 22), EncodeDate(1997, 3, 22)}) {
    SCOPED_TRACE(s);
    const CalcState st = PreparedDay(s, 0, 0);
    const double span = st.RaEnd - st.RaStart;
    EXPECT_GT(span, 0.0155);
    EXPECT_LT(span, 0.0195);
  }
}

}  // namespace
}  // namespace kelmar
