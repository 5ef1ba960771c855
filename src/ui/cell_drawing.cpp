#include "cell_drawing.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

#include "core/text_grid.h"


namespace kelmar::ui {

namespace {
const QColor kYellow{255, 255, 0};
const QColor kAqua{0, 255, 255};
const QColor kRed{255, 0, 0};
const QColor kBlack{0, 0, 0};

bool IsElevationColumn(int col) { return col % kGroupCols == 2; }
bool IsSeparatorColumn(int col) { return col % kGroupCols == kGroupCols - 1; }
}  // namespace

CellLook SunCellLook(int row) {
  if (row == 0) return {kYellow, kRed, kYellow, 11};
  return {kAqua, kBlack, kAqua, 11};
}

CellLook SatCellLook(int col, int row, bool below_horizon) {
  CellLook look = row == 0 ? CellLook{kYellow, kRed, kYellow, 9} : CellLook{kAqua, kBlack, kAqua, 9};
  if (IsSeparatorColumn(col)) {
    look.fill = kActiveBorder;
    look.text_back = kActiveBorder;
  }
  if (row >= 1 && IsElevationColumn(col) && below_horizon) {
    look.text = kRed;
    look.text_back = kYellow;
  }
  return look;
}

void DrawCell(QPainter& p, const QRect& cell, const QString& text, const CellLook& look) {
  p.fillRect(cell, look.fill);
  if (text.isEmpty()) return;
  QFont font = p.font();
  font.setPointSize(look.point_size);
  font.setBold(true);
  // Times, numbers and short names need no text shaping: each cell is measured and drawn
  // straight from its glyphs, a sixth of the first paint of a table and more of every repaint.
  font.setStyleStrategy(QFont::PreferNoShaping);
  // A text wider than its cell is set smaller, down to a size still readable, rather than run
  // into its neighbours (the cells are narrower than the texts where the screen is low). The
  // size found is kept: a table repaints the same texts in the same cells again and again.
  QFontMetrics fm(font, p.device());
  int tw = fm.horizontalAdvance(text);
  if (tw > cell.width() - 2) {
    static QHash<QString, int> fitted;
    const QString key = font.key() + QLatin1Char('|') + QString::number(cell.width()) + QLatin1Char('|') + text;
    auto it = fitted.find(key);
    if (it == fitted.end()) {
      const int full = qRound(font.pointSizeF() * p.device()->logicalDpiY() / 72.0);
      int px = std::max(kMinCellTextPx, full * (cell.width() - 2) / tw);
      font.setPixelSize(px);
      while (px > kMinCellTextPx && QFontMetrics(font, p.device()).horizontalAdvance(text) > cell.width() - 2)
        font.setPixelSize(--px);
      it = fitted.insert(key, px);
    }
    font.setPixelSize(*it);
    fm = QFontMetrics(font, p.device());
    tw = fm.horizontalAdvance(text);
  }
  p.setFont(font);
  const int th = fm.height();
  // QRect::width() is right − left + 1 of the inclusive rectangle, the same as right − left of
  // the exclusive one; C++ division truncates toward zero as the layout needs.
  const int x = cell.left() + (cell.width() - tw) / 2;
  const int y = cell.top() + (cell.height() - th) / 2;
  p.fillRect(QRect(x, y, tw, th), look.text_back);
  p.setPen(look.text);
  p.drawText(x, y + fm.ascent(), text);
}

}  // namespace kelmar::ui
