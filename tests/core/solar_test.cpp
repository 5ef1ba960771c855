// The solar position model and the day's time arguments.
#include <gtest/gtest.h>

#include <cmath>

#include "core/day_serial.h"
#include "core/solar.h"

namespace kelmar {
namespace {

struct Prepared {
  double LstMidnight, RaStart, DecStart, RaEnd, DecEnd;
};

Prepared PreparedDay(double cur_date, double zone_hours, double lon_deg) {
  const LocalDay d = PrepareDay(cur_date, zone_hours, ObserverAt(0, lon_deg));
  return {d.lst_midnight, d.ra_start, d.dec_start, d.ra_end, d.dec_end};
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
  EXPECT_NEAR(RiseAltSin(), -std::sin(0.833 * kDegToRad), 1e-12);
  EXPECT_NEAR(RiseAltSin(), -0.0145381, 1e-7);
}

TEST(PrepareDay, MoscowSolsticeWorkedExample) {
  // 2026-06-21, zone +3, 37.62° E.
  const Prepared st = PreparedDay(46194, 3, 37.62);
  EXPECT_NEAR(st.LstMidnight, 4.5675808, 1e-7);
  EXPECT_NEAR(st.RaStart, 1.5622006, 1e-7);
  EXPECT_NEAR(st.DecStart, 0.4089227, 1e-7);
  EXPECT_NEAR(st.RaEnd, 1.5803527, 1e-7);
  EXPECT_NEAR(st.DecEnd, 0.4089175, 1e-7);
  // The positions are the model's at the local midnights (days from 2000-01-01 12:00 UT), with
  // the centuries counted from 00:00 UT of the date, not shifted.
  double ra, dec;
  SunRaDec(9667.375, 1 + 9667.5 / 36525, ra, dec);
  EXPECT_EQ(st.RaStart, ra);
  EXPECT_EQ(st.DecStart, dec);
  SunRaDec(9667.375 + 1, 1 + 9667.5 / 36525, ra, dec);
  EXPECT_EQ(st.RaEnd, ra);
  EXPECT_EQ(st.DecEnd, dec);
}

TEST(PrepareDay, FirstOfJanuary2000) {
  // −0.5 at local midnight, one day later at the end.
  const Prepared st = PreparedDay(36526, 0, 0);
  double ra, dec;
  SunRaDec(-0.5, 1 - 0.5 / 36525, ra, dec);
  EXPECT_EQ(st.RaStart, ra);
  SunRaDec(0.5, 1 - 0.5 / 36525, ra, dec);
  EXPECT_EQ(st.DecEnd, dec);
}

TEST(PrepareDay, EndPositionAboveTwoPiAfterTheTurn) {
  // 2026-03-22, zone 0: the start lies just above 2π, the raw end just above 0.
  const Prepared st = PreparedDay(EncodeDate(2026, 3, 22), 0, 0);
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
    const Prepared st = PreparedDay(EncodeDate(c.y, c.m, c.d), 0, 0);
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
      const Prepared st = PreparedDay(s, zone, 108.0);
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
    const Prepared st = PreparedDay(s, 0, 0);
    const double span = st.RaEnd - st.RaStart;
    EXPECT_GT(span, 0.0155);
    EXPECT_LT(span, 0.0195);
  }
}

}  // namespace
}  // namespace kelmar
