#include "layout.h"

#include <algorithm>
#include <cstdlib>

namespace kelmar::ui {

int ScaleCoord(int a, int v) {
  const long long num = static_cast<long long>(a) * v;
  const long long half = kDesignHeight / 2;
  // Round the magnitude, then put the sign back: halves go away from zero.
  const long long mag = (std::llabs(num) + half) / kDesignHeight;
  return static_cast<int>(num < 0 ? -mag : mag);
}

int RoundHalfEvenDiv640(long long x) {
  long long q = x / kDesignHeight;
  long long r = x % kDesignHeight;
  if (r < 0) {  // floor division, so the remainder is in [0, 640)
    r += kDesignHeight;
    --q;
  }
  if (2 * r > kDesignHeight || (2 * r == kDesignHeight && (q % 2) != 0)) ++q;
  return static_cast<int>(q);
}

Rect ScaleRect(const Rect& r, int v) {
  Rect s;
  s.left = ScaleCoord(r.left, v);
  s.top = ScaleCoord(r.top, v);
  s.width = ScaleCoord(r.left + r.width, v) - s.left;
  s.height = ScaleCoord(r.top + r.height, v) - s.top;
  return s;
}

const std::vector<ControlDesign>& DesignControls() {
  // name, parent, {left, top, width, height}, own font px (0 = inherited), height follows font,
  // the font's face when not bold Tahoma
  static const std::vector<ControlDesign> controls = {
      {"TabControl1", "Form1", {3, 5, 624, 520}, 13, false},
      {"StringGridVos", "TabControl1", {4, 25, 615, 490}, 13, false},
      {"StringGridSat", "TabControl1", {4, 25, 615, 490}, 13, false},
      {"GroupBoxInput", "Form1", {632, 25, 158, 130}, 11, false},
      {"ComboBoxPunkt", "GroupBoxInput", {6, 18, 147, 21}, 11, true},
      {"EditPunkt", "GroupBoxInput", {6, 18, 147, 21}, 0, true},
      {"LabelSir", "GroupBoxInput", {27, 50, 57, 13}, 0, false},
      {"EditSir", "GroupBoxInput", {84, 47, 49, 21}, 11, true},
      {"LabelDolg", "GroupBoxInput", {21, 77, 63, 13}, 0, false},
      {"EditDolg", "GroupBoxInput", {84, 74, 49, 21}, 11, true},
      {"ButtonNew", "GroupBoxInput", {8, 99, 66, 21}, 11, false},
      {"ButtonDelete", "GroupBoxInput", {82, 99, 66, 21}, 11, false},
      {"ButtonExcel", "Form1", {673, 160, 76, 25}, 11, false},
      {"Label2", "Form1", {632, 189, 158, 286}, 12, false, DesignFace::SansSerif},
      {"GroupBox1", "Form1", {632, 189, 158, 286}, 11, false},
      {"LabelY", "GroupBox1", {7, 12, 144, 29}, 24, false},
      {"ScrollBarY", "GroupBox1", {8, 45, 140, 17}, 0, false},
      {"LabelM", "GroupBox1", {7, 65, 144, 20}, 16, false},
      {"ScrollBarM", "GroupBox1", {8, 88, 140, 19}, 0, false},
      {"GroupBoxTime", "GroupBox1", {7, 113, 144, 96}, 11, false},
      {"RadioButtonGMT", "GroupBoxTime", {6, 16, 60, 17}, 0, false},
      {"EditGMT", "GroupBoxTime", {64, 14, 36, 21}, 0, true},
      {"Label7", "GroupBoxTime", {102, 15, 20, 13}, 0, false},
      {"RadioButtonMSK", "GroupBoxTime", {6, 46, 60, 17}, 0, false},
      {"EditMSK", "GroupBoxTime", {64, 44, 36, 21}, 0, true},
      {"Label8", "GroupBoxTime", {102, 46, 20, 13}, 0, false},
      {"ButtonTDown", "GroupBoxTime", {108, 31, 16, 16}, 11, false, DesignFace::SansSerif},
      {"ButtonTUp", "GroupBoxTime", {124, 31, 16, 16}, 11, false, DesignFace::SansSerif},
      {"CheckBoxSec", "GroupBoxTime", {24, 66, 98, 21}, 0, false},
      {"GroupBoxSumerki", "GroupBox1", {7, 210, 144, 69}, 11, false},
      {"RadioButtonUgol", "GroupBoxSumerki", {5, 15, 63, 17}, 11, false},
      {"EditUg", "GroupBoxSumerki", {64, 13, 36, 21}, 11, true},
      {"LabelGr", "GroupBoxSumerki", {103, 15, 16, 13}, 11, false},
      {"RadioButtonVys", "GroupBoxSumerki", {5, 44, 63, 17}, 11, false},
      {"EditKm", "GroupBoxSumerki", {64, 42, 36, 21}, 11, true},
      {"LabelKm", "GroupBoxSumerki", {103, 44, 15, 13}, 11, false},
      {"ButtonUgDown", "GroupBoxSumerki", {108, 30, 16, 16}, 11, false, DesignFace::SansSerif},
      {"ButtonUgUp", "GroupBoxSumerki", {124, 30, 16, 16}, 11, false, DesignFace::SansSerif},
      {"Label1", "Form1", {660, 487, 113, 28}, 11, false, DesignFace::ArialBold},
      // The satellite tab's compass controls: the declination under the note, the switch in
      // the free strip beside the tabs.
      {"LabelMag", "Form1", {634, 459, 156, 28}, 10, false, DesignFace::Tahoma},
      {"CheckBoxMagAz", "Form1", {440, 6, 184, 17}, 11, false},
  };
  return controls;
}

const ControlDesign* FindControl(std::string_view name) {
  for (const ControlDesign& c : DesignControls()) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

GridLayout SunGridLayout(int grid_width, int v) {
  GridLayout g;
  g.width = grid_width;
  g.row_height = RoundHalfEvenDiv640(static_cast<long long>(kSunDesignRowHeight) * v);
  const int w = (grid_width - 11) / 9;
  g.col_widths = {grid_width - 8 * w + 18, w, w, w, w, w - 15, w - 15, w, w};
  return g;
}

GridLayout SatGridLayout(int grid_width, int v) {
  GridLayout g;
  g.width = grid_width;
  g.row_height = RoundHalfEvenDiv640(static_cast<long long>(kSatDesignRowHeight) * v);
  // The three separator columns carry no text: each gives two thirds of its share to the sixteen
  // columns of numbers, so the table keeps its width and its texts have room.
  const int w = (grid_width - 20) / 19;
  const int sep = std::max(4, w / 3);
  const int col = (19 * w - 3 * sep) / 16;
  g.col_widths.assign(19, col);
  for (int c : {4, 9, 14}) g.col_widths[static_cast<std::size_t>(c)] = sep;
  return g;
}

WindowLayout ComputeWindowLayout(int v) {
  WindowLayout l;
  l.client_width = ScaleCoord(kDesignClientWidth, v);
  l.client_height = ScaleCoord(kDesignClientHeight, v);
  l.window_font_px = ScaleCoord(kWindowFontPx, v);
  l.sun = SunGridLayout(ScaleRect(FindControl("StringGridVos")->rect, v).width, v);
  l.sat = SatGridLayout(ScaleRect(FindControl("StringGridSat")->rect, v).width, v);
  return l;
}

}  // namespace kelmar::ui
