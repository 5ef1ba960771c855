#pragma once
// The window's geometry arithmetic. The window is designed for a screen 640 pixels high and
// scaled at start-up by the screen's real height V; everything here is a pure function of V so
// that it can be checked without a display.
#include <array>
#include <string_view>
#include <vector>

namespace kelmar::ui {

inline constexpr int kDesignHeight = 640;

// a × V / 640 rounded to the nearest integer, halves away from zero (the MulDiv rule).
int ScaleCoord(int a, int v);

// x / 640 rounded to the nearest integer, halves to the even neighbour.
int RoundHalfEvenDiv640(long long x);

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

// Edges are scaled as points, so neighbours that touch at design still touch after scaling.
Rect ScaleRect(const Rect& r, int v);

// The face of a control's own font; most of the window's are bold Tahoma.
enum class DesignFace { TahomaBold, Tahoma, SansSerif, ArialBold };

// One control of the window at design size, relative to its parent's client area.
struct ControlDesign {
  std::string_view name;
  std::string_view parent;  // "Form1" for the window itself
  Rect rect;
  int font_px;             // own font's character height in pixels; 0 when inherited
  bool height_follows_font; // edit fields and the drop-down keep the height of their font
  DesignFace face = DesignFace::TahomaBold;
};

// Every placed control of the window, parents before their children.
const std::vector<ControlDesign>& DesignControls();
const ControlDesign* FindControl(std::string_view name);

inline constexpr int kDesignClientWidth = 792;
inline constexpr int kDesignClientHeight = 528;
inline constexpr int kWindowFontPx = 16;
inline constexpr int kSunDesignRowHeight = 13;
inline constexpr int kSatDesignRowHeight = 11;

struct GridLayout {
  int width = 0;       // the grid's width after scaling
  int row_height = 0;  // default row height
  std::vector<int> col_widths;
};

struct WindowLayout {
  int client_width = 0;
  int client_height = 0;
  int window_font_px = 0;
  GridLayout sun;  // StringGridVos
  GridLayout sat;  // StringGridSat
};

// Sun table: w = (Wg − 11) div 9; column 0 = Wg − 8w + 18, columns 5 and 6 = w − 15, the rest w,
// which adds up to Wg − 12. Satellite table: w = (Wg − 20) div 19 each on average; the separator
// columns 4, 9 and 14 get max(4, w div 3), the sixteen others share the rest of 19w evenly.
GridLayout SunGridLayout(int grid_width, int v);
GridLayout SatGridLayout(int grid_width, int v);
WindowLayout ComputeWindowLayout(int v);

}  // namespace kelmar::ui
