// Where the pictures put the numbers: arc marks and the sunrise curve map back to the tables'
// values, the view faces the equator, hovering a mark names the table's cells.
#include <gtest/gtest.h>

#include <cmath>

#include "pictures/pictures.h"

namespace kelmar::pictures {
namespace {

InputFields Place(const char* lat, const char* lon) {
  InputFields in;
  in.EditSir = lat;
  in.EditDolg = lon;
  in.EditGMT = "3";
  in.RadioButtonMSK = false;
  return in;
}

TEST(SkyFrame, FacesTheEquatorAndMapsBack) {
  const QSizeF size(1200, 600);
  struct Case {
    bool southern;
    double az_at_middle;
  } cases[] = {{false, 180}, {true, 0}};  // south in the north, north in the south
  for (const Case& c : cases) {
    const SkyFrame f(size, c.southern);
    EXPECT_DOUBLE_EQ(f.X(c.az_at_middle), f.left + f.width / 2);
    EXPECT_NEAR(f.Az(f.left + f.width / 2), c.az_at_middle, 1e-9);
    EXPECT_DOUBLE_EQ(f.Y(90), f.top);                 // the zenith at the top
    EXPECT_DOUBLE_EQ(f.Y(SkyFrame::kElMin), f.top + f.height);
  }
}

TEST(SkyScene, ArcMarksMapBackToTheTable) {
  const QSizeF size(900, 500);
  for (const auto& in : {Place("55.75", "37.62"), Place("-34.6", "-58.38")}) {
    const SkyScene s = MakeSkyScene(in, 2026, 3, 1, Horizon());
    const SkyFrame f(size, s.southern);
    int marks = 0;
    for (const ArcSlot& slot : s.arc) {
      if (std::isnan(slot.az)) continue;
      const QPointF at(f.X(slot.az), f.Y(slot.el));
      // Written as the table writes it: one decimal of the mark's place.
      EXPECT_EQ(QString::number(f.Az(at.x()), 'f', 1).toStdString(), slot.azimuth) << slot.label;
      EXPECT_EQ(QString::number(f.El(at.y()), 'f', 1).toStdString(), slot.elevation) << slot.label;
      ++marks;
    }
    EXPECT_EQ(marks, 160);
    // Hovering the highest mark names it with the table's own cells.
    const ArcSlot& top = *std::max_element(s.arc.begin(), s.arc.end(), [](auto& a, auto& b) { return a.el < b.el; });
    const QString tip = SkyTooltip(s, size, QPointF(f.X(top.az), f.Y(top.el)));
    EXPECT_TRUE(tip.startsWith(QString::fromStdString(top.label) + "\n")) << tip.toStdString();
    EXPECT_TRUE(tip.contains(QString::fromStdString(top.correction))) << tip.toStdString();
  }
}

TEST(SkyScene, PoleTextOnlyAtAPole) {
  struct Case {
    const char* lat;  // nullptr: a scene never computed
    const char* text;
  } cases[] = {
      {"55.75", "Видно позиций: 148 из 160"},
      {"89", "Спутники не видны у полюса"},
      {"-90", "Спутники не видны у полюса"},
      {nullptr, ""},  // no numbers behind it: no pole either
  };
  for (const Case& c : cases) {
    const SkyScene s = c.lat != nullptr ? MakeSkyScene(Place(c.lat, "37.62"), 2026, 3, 1, Horizon()) : SkyScene();
    EXPECT_EQ(SkyCountText(s).toStdString(), c.text) << (c.lat ? c.lat : "none");
  }
}

TEST(YearFrame, SunriseCurveMapsBackToTheHours) {
  const YearScene s = MakeYearScene(Place("55.75", "37.62"), 2026);
  const YearFrame f(QSizeF(1200, 600), static_cast<int>(s.days.size()));
  const DaylightDay& june21 = s.days[171];
  ASSERT_EQ(june21.rises.size(), 1u);
  const double y = f.Y(june21.rises[0]);
  EXPECT_NEAR((y - f.top) / f.height * 24, june21.rises[0], 1e-12);
  EXPECT_DOUBLE_EQ(f.X(0), f.left + f.width / 365 / 2);  // January 1 in its column's middle
}

}  // namespace
}  // namespace kelmar::pictures
