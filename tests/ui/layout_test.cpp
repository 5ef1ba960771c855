// The window's geometry as a function of the screen height V.
#include <gtest/gtest.h>

#include <numeric>

#include "ui/layout.h"

namespace kelmar::ui {
namespace {

TEST(Layout, ScaleCoordRoundsHalvesAwayFromZero) {
  struct Case {
    int a, v, expected;
  } cases[] = {
      {615, 640, 615},   // the design height changes nothing
      {1, 960, 2},       // 1.5 goes up
      {3, 960, 5},       // 4.5 goes up, not to the even 4
      {-1, 960, -2},     // −1.5 goes away from zero
      {13, 768, 16},     // 15.6
      {4, 768, 5},       // 4.8
      {619, 600, 580},   // 580.3
      {792, 768, 950},   // 950.4: the window's client width
      {0, 1080, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleCoord(c.a, c.v), c.expected) << c.a << " at V=" << c.v;
}

TEST(Layout, RowHeightsRoundHalvesToEven) {
  struct Case {
    int h, v, expected;
  } cases[] = {
      {13, 960, 20},  // 19.5 → 20 (even)
      {11, 960, 16},  // 16.5 → 16 (even), where MulDiv would give 17
      {13, 768, 16},  // 15.6
      {11, 768, 13},  // 13.2
      {13, 1024, 21}, // 20.8
      {11, 1024, 18}, // 17.6
      {13, 600, 12},  // 12.1875
      {11, 600, 10},  // 10.3125
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfEvenDiv640(static_cast<long long>(c.h) * c.v), c.expected) << c.h << " at V=" << c.v;
  }
}

TEST(Layout, GridsAtTheListedScreenHeights) {
  struct Case {
    int v;
    int grid_width;
    std::vector<int> sun_cols;
    int sun_row, sat_col, sat_sep, sat_row;
  } cases[] = {
      {640, 615, {97, 67, 67, 67, 67, 52, 52, 67, 67}, 13, 34, 10, 11},   // design size
      {768, 738, {116, 80, 80, 80, 80, 65, 65, 80, 80}, 16, 41, 12, 13},  // 718 div 19 = 37
      {1024, 984, {138, 108, 108, 108, 108, 93, 93, 108, 108}, 21, 56, 16, 18},
      {600, 576, {98, 62, 62, 62, 62, 47, 47, 62, 62}, 12, 32, 9, 10},
      {960, 923, {133, 101, 101, 101, 101, 86, 86, 101, 101}, 20, 53, 15, 16},  // the two exact halves
  };
  for (const Case& c : cases) {
    const WindowLayout l = ComputeWindowLayout(c.v);
    EXPECT_EQ(l.sun.width, c.grid_width) << "V=" << c.v;
    EXPECT_EQ(l.sat.width, c.grid_width) << "V=" << c.v;
    EXPECT_EQ(l.sun.col_widths, c.sun_cols) << "V=" << c.v;
    EXPECT_EQ(l.sun.row_height, c.sun_row) << "V=" << c.v;
    std::vector<int> sat(19, c.sat_col);
    sat[4] = sat[9] = sat[14] = c.sat_sep;  // the empty separators give their room to the numbers
    EXPECT_EQ(l.sat.col_widths, sat) << "V=" << c.v;
    EXPECT_EQ(l.sat.row_height, c.sat_row) << "V=" << c.v;
  }
}

TEST(Layout, SunColumnsAlwaysFillTheGridLessTwelve) {
  for (int v = 400; v <= 2400; ++v) {
    const WindowLayout l = ComputeWindowLayout(v);
    EXPECT_EQ(std::accumulate(l.sun.col_widths.begin(), l.sun.col_widths.end(), 0), l.sun.width - 12) << "V=" << v;
  }
}

TEST(Layout, ScaledEdgesOfTouchingControlsStillTouch) {
  // Right and bottom edges are scaled as points, so the stepping buttons stay side by side
  // and Label2 keeps exactly GroupBox1's rectangle.
  for (int v : {600, 640, 700, 768, 800, 960, 1024, 1080, 1200, 1440, 2160}) {
    const Rect down = ScaleRect(FindControl("ButtonTDown")->rect, v);
    const Rect up = ScaleRect(FindControl("ButtonTUp")->rect, v);
    EXPECT_EQ(down.left + down.width, up.left) << "V=" << v;
    EXPECT_EQ(down.top, up.top);
    EXPECT_EQ(ScaleRect(FindControl("Label2")->rect, v), ScaleRect(FindControl("GroupBox1")->rect, v));
    EXPECT_EQ(ScaleRect(FindControl("ComboBoxPunkt")->rect, v), ScaleRect(FindControl("EditPunkt")->rect, v));
  }
}

TEST(Layout, WindowAndControlsAtV768) {
  const WindowLayout l = ComputeWindowLayout(768);
  EXPECT_EQ(l.client_width, 950);   // 950.4
  EXPECT_EQ(l.client_height, 634);  // 633.6
  EXPECT_EQ(l.window_font_px, 19);  // 19.2
  struct Case {
    const char* name;
    Rect scaled;
  } cases[] = {
      {"StringGridVos", {5, 30, 738, 588}},  // 4.8 → 5, 742.8 → 743, 618 − 30
      {"GroupBoxInput", {758, 30, 190, 156}},
      {"ButtonTDown", {130, 37, 19, 19}},    // 129.6 → 130, (124 × 1.2 = 148.8 → 149) − 130
      {"Label1", {792, 584, 136, 34}},
  };
  for (const Case& c : cases) {
    const Rect r = ScaleRect(FindControl(c.name)->rect, 768);
    EXPECT_EQ(r, c.scaled) << c.name << ": " << r.left << "," << r.top << " " << r.width << "x" << r.height;
  }
}

}  // namespace
}  // namespace kelmar::ui
