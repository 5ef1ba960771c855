#include "ui/sun_tab.h"

#include <QComboBox>

#include "core/sun_table.h"
#include "core/table_text.h"
#include "ui/cell_drawing.h"
#include "ui/form1.h"
#include "ui/input_panel.h"
#include "ui/outage_tab.h"
#include "ui/picture_tabs.h"
#include "ui/places_panel.h"
#include "ui/text_grid_view.h"
#include "ui/widget_kit.h"

namespace kelmar::ui {

SunTab::SunTab(TForm1& form) : f_(form), grid_(MakeSunGrid()) {}

void SunTab::Build() {
  const int v = f_.ScreenHeight();
  f_.StringGridVos = Designed(new TextGridView(grid_, f_.TabControl1), "StringGridVos", v);
  f_.StringGridVos->SetDrawCell([this](QPainter& p, int c, int r, const QRect& rc) { StringGridVosDrawCell(p, c, r, rc); });
}

void SunTab::RunCalc() {
  // Without a stored place there is nothing to compute for; the tables stay empty.
  if (f_.PlaceBox().List().Empty()) return;
  if (f_.Options().on_compute) f_.Options().on_compute('C');
  const InputFields in = f_.Input().ReadFields();
  struct Repaint {
    TextGridView* grid;
    ~Repaint() { grid->Refresh(); }  // also the rows written before a failure
  } repaint{f_.StringGridVos};
  Calc(f_.St(), in, grid_);
  computed_ = true;
  computed_fields_ = in;
  computed_place_ = S(f_.ComboBoxPunkt->currentText());
  f_.Outage().RunOutage();
  f_.Pictures().Refresh();
}

InputFields SunTab::ComputedFields() const {
  InputFields in = computed_fields_;
  const InputFields now = f_.Input().ReadFields();
  in.slot = now.slot, in.dish = now.dish, in.frequency = now.frequency;
  in.compass = now.compass;
  return in;
}

void SunTab::StringGridVosDrawCell(QPainter& p, int col, int row, const QRect& rect) const {
  DrawCell(p, rect, Q(grid_.Cell(col, row)), SunCellLook(row));
}

}  // namespace kelmar::ui
