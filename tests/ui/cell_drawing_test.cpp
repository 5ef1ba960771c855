// The colours of the table cells, read back from grabbed pixels and compared with literal
// colours.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <set>
#include <utility>

#include "core/text_grid.h"
#include "ui/cell_drawing.h"
#include "ui/text_grid_view.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

const QColor kYellow(255, 255, 0);
const QColor kAqua(0, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kGrey180(180, 180, 180);

// A satellite grid with large cells, so every cell has a margin around its text box.
struct SatGridPicture {
  TextGrid grid{kSatCols, 3};
  std::set<std::pair<int, int>> below;  // the cells of positions below the horizon
  std::unique_ptr<TextGridView> view;
  QImage image;

  void Draw(bool sun_look = false, int col_width = 90) {
    view = std::make_unique<TextGridView>(grid, nullptr);
    view->setFont(QFont(QStringLiteral("DejaVu Sans Condensed")));  // the window's face for Tahoma
    view->SetColWidths(std::vector<int>(kSatCols, col_width));
    view->SetDefaultRowHeight(30);
    view->SetDrawCell([this, sun_look](QPainter& p, int c, int r, const QRect& rc) {
      const std::string& t = grid.Cell(c, r);
      DrawCell(p, rc, QString::fromStdString(t), sun_look ? SunCellLook(r) : SatCellLook(c, r, below.count({c, r}) != 0));
    });
    view->resize(19 * 91 + 10, 3 * 31 + 10);
    image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  QRect Cell(int col, int row) const { return view->CellRect(col, row); }
  QColor Corner(int col, int row) const { return image.pixelColor(Cell(col, row).topLeft() + QPoint(1, 1)); }
};

TEST(CellDrawing, SatelliteCellColours) {
  struct Case {
    int col, row;
    const char* text;
    bool below;          // the cell's position is below the horizon
    QColor fill;         // the cell's corner, outside the text box
    QColor text_colour;  // pixels that must be there
    bool yellow_box;     // a yellow box behind the text inside an aqua cell
    const char* pins;
  } cases[] = {
      {2, 0, "Высота", false, kYellow, kRed, false, "header of an elevation column: red on yellow"},
      {0, 1, "35 W", true, kAqua, kBlack, false, "body cell: black on aqua"},
      {2, 1, "-5.3", true, kAqua, kRed, true, "below the horizon: red on a yellow box in an aqua cell"},
      {7, 1, "-0.0", false, kAqua, kBlack, false, "above it: black, whatever the text"},
      {12, 1, "0.0", false, kAqua, kBlack, false, "zero is not below zero"},
      {17, 1, "зенит", false, kAqua, kBlack, false, "overhead"},
      {3, 1, "-33.5", true, kAqua, kBlack, false, "outside the elevation columns a low position stays black"},
      {4, 0, "", false, kGrey180, kGrey180, false, "separator column in the header row"},
      {9, 2, "", false, kGrey180, kGrey180, false, "separator column in a body row"},
      {5, 2, "", false, kAqua, kAqua, false, "an empty cell is an empty filled rectangle"},
  };
  SatGridPicture pic;
  for (const Case& c : cases) {
    pic.grid.SetCell(c.col, c.row, c.text);
    if (c.below) pic.below.insert({c.col, c.row});
  }
  pic.Draw();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    const QRect cell = pic.Cell(c.col, c.row);
    EXPECT_EQ(pic.Corner(c.col, c.row), c.fill);
    EXPECT_GT(test::CountColour(pic.image, cell, c.text_colour, 40), 0);
    const int yellow = test::CountColour(pic.image, cell, kYellow);
    if (c.yellow_box) {
      EXPECT_GT(yellow, 0);
    } else if (c.fill != kYellow) {
      EXPECT_EQ(yellow, 0);
    }
    if (c.text_colour == kBlack) {
      EXPECT_EQ(test::CountColour(pic.image, cell, kRed, 40), 0);
    }
    if (c.text[0] == '\0') {  // nothing but the fill
      EXPECT_EQ(test::CountColour(pic.image, cell, c.fill), cell.width() * cell.height());
    }
  }
}

TEST(CellDrawing, SunCellsAndTheGridLines) {
  SatGridPicture pic;  // the sun look on the same large cells
  pic.grid.SetCell(1, 0, "Восход");
  pic.grid.SetCell(1, 1, "-0:07");  // a sun cell is never marked, whatever it reads
  pic.Draw(/*sun_look=*/true);
  EXPECT_EQ(pic.Corner(1, 0), kYellow);
  EXPECT_GT(test::CountColour(pic.image, pic.Cell(1, 0), kRed, 40), 0);
  EXPECT_EQ(pic.Corner(1, 1), kAqua);
  EXPECT_GT(test::CountColour(pic.image, pic.Cell(1, 1), kBlack, 40), 0);
  EXPECT_EQ(test::CountColour(pic.image, pic.Cell(1, 1), kRed, 40), 0);
  // One line of the line colour between neighbouring cells, right of and under each cell.
  const QRect c = pic.Cell(0, 1);
  EXPECT_EQ(pic.image.pixelColor(c.right() + 1, c.center().y()), TextGridView::kLineColor);
  EXPECT_EQ(pic.image.pixelColor(c.center().x(), c.bottom() + 1), TextGridView::kLineColor);
  EXPECT_EQ(pic.Cell(1, 1).left(), c.right() + 2);
}

TEST(CellDrawing, AWideTextIsSetSmallerToStayInItsCell) {
  // The satellite headers and three-digit slots in cells as narrow as a 768-pixel screen gives;
  // only a text too wide even at the smallest size starts left of its cell by half the excess.
  struct Case {
    const char* text;
    int width;
    bool inside;
  } cases[] = {
      {"Коррекц.", 37, true}, {"Спутник", 37, true}, {"150 W", 37, true}, {"Утр. сумер.", 65, true},
      {"Коррекция Коррекция Коррекция", 90, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SatGridPicture pic;
    pic.grid.SetCell(1, 0, c.text);
    pic.Draw(false, c.width);
    // The right neighbour is drawn after the cell and covers what runs into it.
    EXPECT_EQ(test::CountColour(pic.image, pic.Cell(0, 0), kRed, 40) == 0, c.inside);
  }
}

}  // namespace
}  // namespace kelmar::ui
