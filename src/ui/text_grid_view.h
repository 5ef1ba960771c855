#pragma once
// A read-only string grid over a TextGrid: one fixed header row that stays in place, grid lines
// between all cells, a current cell that the mouse and the keyboard move, scroll bars when the
// cells do not fit. It draws no cell content itself: every cell goes to the draw-cell handler.
#include <QAbstractScrollArea>
#include <functional>
#include <vector>

#include "core/text_grid.h"

namespace kelmar::ui {

class TextGridView : public QAbstractScrollArea {
 public:
  // (painter, column, row, cell rectangle in viewport coordinates)
  using DrawCellFn = std::function<void(QPainter&, int, int, const QRect&)>;

  TextGridView(const TextGrid& grid, QWidget* parent);

  void SetDrawCell(DrawCellFn fn) { draw_cell_ = std::move(fn); }
  // (column, row) of a double-clicked cell, header row included.
  void SetDoubleClick(std::function<void(int, int)> fn) { double_click_ = std::move(fn); }
  // The tooltip of a cell (column, row); none where it gives an empty text.
  void SetCellTooltip(std::function<QString(int, int)> fn) { cell_tooltip_ = std::move(fn); }
  // (column, row, global position) of a right click on a cell.
  void SetContextMenu(std::function<void(int, int, const QPoint&)> fn) { context_menu_ = std::move(fn); }
  void SetColWidths(std::vector<int> widths);
  void SetDefaultRowHeight(int h);
  const std::vector<int>& ColWidths() const { return col_widths_; }
  int DefaultRowHeight() const { return row_height_; }

  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCurrent(int col, int row);  // row ≥ 1; scrolls the cell into view
  int TopRow() const;                 // first body row shown under the header

  // The rectangle of a cell in viewport coordinates as currently scrolled; empty when the row
  // is scrolled out of view under the header.
  QRect CellRect(int col, int row) const;

  // The grid's cells have changed: repaint.
  void Refresh() { viewport()->update(); }
  // The grid has a new number of rows (at least two): scroll bars and current cell follow.
  void Resized();

  static constexpr int kLineWidth = 1;
  static const QColor kLineColor;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollBars();
  // The cell under a point of the widget; false when there is none.
  bool CellAt(const QPoint& widget_pos, int& col, int& row) const;
  int VisibleBodyRows() const;
  int ContentWidth() const;
  int ColLeft(int col) const;  // without scrolling

  const TextGrid& grid_;
  DrawCellFn draw_cell_;
  std::function<void(int, int)> double_click_;
  std::function<QString(int, int)> cell_tooltip_;
  std::function<void(int, int, const QPoint&)> context_menu_;
  std::vector<int> col_widths_;
  int row_height_ = 13;
  int col_ = 0;
  int row_ = 1;
};

}  // namespace kelmar::ui
