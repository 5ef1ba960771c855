// Turning a phone toward a bearing: the way round, the on-target band, the heading from alpha,
// and one position between whole degrees against the satellite table.
#include <gtest/gtest.h>

#include <string>

#include "core/aim_turn.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

TEST(AimTurn, WordsAndTheShorterWayRound) {
  const struct {
    double heading, target;
    const char* words;
    TurnSide side;
  } cases[] = {
      {170, 182, "правее 12°", TurnSide::Right},  // target clockwise of the phone
      {200, 182, "левее 18°", TurnSide::Left},    // and counter-clockwise
      {182, 182, "на цели", TurnSide::On},        // dead on
      {184.4, 182, "на цели", TurnSide::On},      // 2.4° rounds into the band
      {185, 182, "левее 3°", TurnSide::Left},     // just outside it
      {350, 10, "правее 20°", TurnSide::Right},   // across north, the short way
      {10, 350, "левее 20°", TurnSide::Left},     // back across north
      {2, 182, "правее 180°", TurnSide::Right},   // exactly behind: one way, not both
      {-30, 690, "на цели", TurnSide::On},        // any range of input: 330 and 330
  };
  for (const auto& c : cases) {
    const AimTurn t = TurnToward(c.heading, c.target);
    EXPECT_EQ(t.words, c.words) << c.heading << " -> " << c.target;
    EXPECT_EQ(t.side, c.side) << c.heading << " -> " << c.target;
  }
}

TEST(AimTurn, HeadingText) {
  EXPECT_EQ(TurnToward(359.6, 0).heading_text, "0°");   // rounds round to north, never 360°
  EXPECT_EQ(TurnToward(-30, 0).heading_text, "330°");
  EXPECT_EQ(TurnToward(164.5, 0).heading_text, "165°");
}

TEST(AimTurn, HeadingFromAlphaAndFlatness) {
  EXPECT_EQ(HeadingFromAlpha(0), 0);       // north stays north, never 360
  EXPECT_EQ(HeadingFromAlpha(90), 270);    // alpha counts the other way round
  EXPECT_EQ(HeadingFromAlpha(359), 1);
  EXPECT_EQ(HeadingFromAlpha(360), 0);
  EXPECT_TRUE(HeldFlat(-25, 25));          // the band's edges
  EXPECT_FALSE(HeldFlat(60, 0));           // held up to the eye
  EXPECT_FALSE(HeldFlat(0, -26));
}

TEST(PointAtSlot, WholePositionsAreTheTablesRowsAndFractionsLieBetween) {
  for (const char* lat : {"55.75", "-33.9", "0.0", "88"}) {  // north, south, equator, pole
    const Observer obs = ObserverFromFields(testing_support::PlaceFields(lat, "37.62"));
    const SatTable table = SatelliteSlots(obs, 10.5);
    for (const SatSlot& row : table.positions) {
      const SatSlot one = PointAtSlot(obs, SlotEast(row.lon), 10.5);
      std::string a[3], b[3];
      WriteSlotCells(row, true, a[0], a[1], a[2]);
      WriteSlotCells(one, true, b[0], b[1], b[2]);
      ASSERT_EQ(a[0] + a[1] + a[2], b[0] + b[1] + b[2]) << lat << " " << row.lon;
      ASSERT_EQ(one.lon, row.lon);
    }
  }
  // Between whole degrees: the outage search's own geometry agrees.
  const Observer moscow = ObserverFromFields(testing_support::PlaceFields("55.75", "37.62"));
  const SatSlot one = PointAtSlot(moscow, 19.2);
  const SlotLook look = LookAtSlot(moscow, 19.2);
  EXPECT_NEAR(one.azimuth, look.azimuth, 0.05);
  EXPECT_NEAR(one.elevation, look.elevation, 0.05);
  EXPECT_EQ(PointAtSlot(moscow, 19.2).lon, 19);
}

}  // namespace
}  // namespace kelmar
