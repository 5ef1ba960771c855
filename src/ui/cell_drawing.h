#pragma once
// How the cells of the two tables look. The drawing state (selection, focus) is deliberately
// not an input: a selected cell looks like any other.
#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace kelmar::ui {

// The Windows system colours the tables use, fixed to their classic values.
inline const QColor kBtnFace{240, 240, 240};                 // COLOR_BTNFACE
inline const QColor kActiveBorder{180, 180, 180};            // COLOR_ACTIVEBORDER
inline const QColor kGradientActiveCaption{185, 209, 234};  // COLOR_GRADIENTACTIVECAPTION

struct CellLook {
  QColor fill;       // the whole cell
  QColor text;       // the characters
  QColor text_back;  // the box behind the characters
  int point_size;
};

// StringGridVos: red on yellow in the header row, black on aqua below it.
CellLook SunCellLook(int row);
// StringGridSat: as the sun table in 9 points; the separator columns 4, 9 and 14 are filled with
// COLOR_ACTIVEBORDER in every row; the elevation (columns 2, 7, 12, 17) of a position below the
// horizon (SatSlot::below_horizon) is red on a yellow box.
CellLook SatCellLook(int col, int row, bool below_horizon);

// The smallest pixel size a cell's text is set in to fit its cell.
inline constexpr int kMinCellTextPx = 8;

// Fills the cell and draws the text centred by integer division. A text wider than its cell is
// set smaller until it fits or reaches kMinCellTextPx; one wider still starts outside the cell by
// half the excess, and the text is not clipped to the cell.
void DrawCell(QPainter& p, const QRect& cell, const QString& text, const CellLook& look);

}  // namespace kelmar::ui
