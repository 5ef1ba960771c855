#include "text_grid_view.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <algorithm>
#include <numeric>

#include "ui/cell_drawing.h"

namespace kelmar::ui {

const QColor TextGridView::kLineColor{192, 192, 192};

TextGridView::TextGridView(const TextGrid& grid, QWidget* parent)
    : QAbstractScrollArea(parent), grid_(grid), col_widths_(grid.ColCount(), 64) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setSingleStep(1);
  UpdateScrollBars();
}

void TextGridView::SetColWidths(std::vector<int> widths) {
  col_widths_ = std::move(widths);
  col_widths_.resize(grid_.ColCount(), 64);
  UpdateScrollBars();
  viewport()->update();
}

void TextGridView::SetDefaultRowHeight(int h) {
  row_height_ = std::max(1, h);
  UpdateScrollBars();
  viewport()->update();
}

int TextGridView::ContentWidth() const {
  return std::accumulate(col_widths_.begin(), col_widths_.end(), 0) +
         kLineWidth * static_cast<int>(col_widths_.size());
}

int TextGridView::ColLeft(int col) const {
  int x = 0;
  for (int c = 0; c < col; ++c) x += col_widths_[c] + kLineWidth;
  return x;
}

int TextGridView::VisibleBodyRows() const {
  const int pitch = row_height_ + kLineWidth;
  return std::max(0, (viewport()->height() - pitch) / pitch);
}

int TextGridView::TopRow() const { return 1 + verticalScrollBar()->value(); }

void TextGridView::UpdateScrollBars() {
  // Decide from the whole inner area whether each bar is needed: one bar's width can make the
  // other needed, never the other way round, so two rounds settle it.
  const int pitch = row_height_ + kLineWidth;
  const int body_rows = grid_.RowCount() - 1;
  const int full_w = width() - 2 * frameWidth();
  const int full_h = height() - 2 * frameWidth();
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int content_w = ContentWidth();
  auto rows_fit = [&](int h) { return std::max(0, (h - pitch) / pitch); };
  bool need_h = content_w > full_w;
  bool need_v = rows_fit(full_h) < body_rows;
  if (need_v && !need_h) need_h = content_w > full_w - bar;
  if (need_h && !need_v) need_v = rows_fit(full_h - bar) < body_rows;
  const int view_w = full_w - (need_v ? bar : 0);
  const int visible = std::max(1, rows_fit(full_h - (need_h ? bar : 0)));

  verticalScrollBar()->setRange(0, need_v ? std::max(0, body_rows - visible) : 0);
  verticalScrollBar()->setPageStep(visible);
  horizontalScrollBar()->setRange(0, need_h ? std::max(0, content_w - view_w) : 0);
  horizontalScrollBar()->setPageStep(std::max(1, view_w));
}

QRect TextGridView::CellRect(int col, int row) const {
  const int pitch = row_height_ + kLineWidth;
  const int x = ColLeft(col) - horizontalScrollBar()->value();
  int y = 0;
  if (row > 0) {
    if (row < TopRow()) return {};
    y = pitch * (1 + row - TopRow());
  }
  return QRect(x, y, col_widths_[col], row_height_);
}

void TextGridView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  const QRect area = viewport()->rect();
  p.fillRect(area, kActiveBorder);  // the grid's own background beyond its cells
  const int pitch = row_height_ + kLineWidth;
  const int content_w = ContentWidth() - horizontalScrollBar()->value();

  // Which rows are on screen: the header, then body rows from TopRow while they start inside.
  std::vector<int> rows{0};
  for (int r = TopRow(); r < grid_.RowCount() && pitch * (1 + r - TopRow()) < area.height(); ++r) {
    rows.push_back(r);
  }
  const int content_h = pitch * static_cast<int>(rows.size());

  // Lines first: a line after every column and under every row, as far as the cells reach.
  for (int c = 0, x = -horizontalScrollBar()->value(); c < grid_.ColCount(); ++c) {
    x += col_widths_[c];
    p.fillRect(QRect(x, 0, kLineWidth, content_h), kLineColor);
    x += kLineWidth;
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    p.fillRect(QRect(0, pitch * static_cast<int>(i) + row_height_, content_w, kLineWidth), kLineColor);
  }

  // Cells row by row, left to right: a cell drawn later covers what its neighbours overflowed.
  if (!draw_cell_) return;
  for (int r : rows) {
    for (int c = 0; c < grid_.ColCount(); ++c) {
      const QRect cell = CellRect(c, r);
      if (cell.right() < 0 || cell.left() > area.right()) continue;
      p.save();
      draw_cell_(p, c, r, cell);
      p.restore();
    }
  }
}

void TextGridView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);  // the viewport; the bars are decided from our own size
  UpdateScrollBars();
}

void TextGridView::scrollContentsBy(int, int) { viewport()->update(); }

void TextGridView::SetCurrent(int col, int row) {
  col_ = std::clamp(col, 0, grid_.ColCount() - 1);
  row_ = std::clamp(row, 1, grid_.RowCount() - 1);
  // Bring the row under the header and the column into the viewport.
  const int visible = std::max(1, VisibleBodyRows());
  QScrollBar* v = verticalScrollBar();
  if (row_ < TopRow()) v->setValue(row_ - 1);
  if (row_ >= TopRow() + visible) v->setValue(row_ - visible);
  QScrollBar* h = horizontalScrollBar();
  const int left = ColLeft(col_);
  const int right = left + col_widths_[col_];
  if (left < h->value()) h->setValue(left);
  if (right > h->value() + viewport()->width()) h->setValue(right - viewport()->width());
  viewport()->update();
}

bool TextGridView::CellAt(const QPoint& widget_pos, int& col, int& row) const {
  const QPoint pos = viewport()->mapFrom(this, widget_pos);
  const auto hit = [&](int r) {
    for (int c = 0; c < grid_.ColCount(); ++c) {
      if (CellRect(c, r).contains(pos)) {
        col = c;
        row = r;
        return true;
      }
    }
    return false;
  };
  // The header row stays in place over the scrolled rows.
  if (hit(0)) return true;
  for (int r = TopRow(); r < grid_.RowCount(); ++r)
    if (hit(r)) return true;
  return false;
}

void TextGridView::mousePressEvent(QMouseEvent* e) {
  int c = 0, r = 0;
  if (CellAt(e->position().toPoint(), c, r) && r > 0) SetCurrent(c, r);
}

void TextGridView::mouseDoubleClickEvent(QMouseEvent* e) {
  int c = 0, r = 0;
  if (double_click_ && CellAt(e->position().toPoint(), c, r)) double_click_(c, r);
}

void TextGridView::contextMenuEvent(QContextMenuEvent* e) {
  int c = 0, r = 0;
  if (context_menu_ && CellAt(e->pos(), c, r)) context_menu_(c, r, e->globalPos());
}

bool TextGridView::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::ToolTip && cell_tooltip_) {
    auto* help = static_cast<QHelpEvent*>(e);
    int c = 0, r = 0;
    const QString text = CellAt(help->pos(), c, r) ? cell_tooltip_(c, r) : QString();
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), text, viewport());
    }
    return true;
  }
  return QAbstractScrollArea::viewportEvent(e);
}

void TextGridView::Resized() {
  row_ = std::clamp(row_, 1, std::max(1, grid_.RowCount() - 1));
  UpdateScrollBars();
  viewport()->update();
}

void TextGridView::keyPressEvent(QKeyEvent* e) {
  const int page = std::max(1, VisibleBodyRows());
  switch (e->key()) {
    case Qt::Key_Left: SetCurrent(col_ - 1, row_); break;
    case Qt::Key_Right: SetCurrent(col_ + 1, row_); break;
    case Qt::Key_Up: SetCurrent(col_, row_ - 1); break;
    case Qt::Key_Down: SetCurrent(col_, row_ + 1); break;
    case Qt::Key_PageUp: SetCurrent(col_, row_ - page); break;
    case Qt::Key_PageDown: SetCurrent(col_, row_ + page); break;
    case Qt::Key_Home: SetCurrent(0, row_); break;
    case Qt::Key_End: SetCurrent(grid_.ColCount() - 1, row_); break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  e->accept();
}

}  // namespace kelmar::ui
