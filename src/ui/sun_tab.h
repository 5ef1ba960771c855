#pragma once
// The sun tab: StringGridVos, the month's table. Its computation comes first on every change of
// the inputs; the satellite and outage tables and the pictures take the fields it was made from.
#include <string>

#include "core/input_fields.h"
#include "core/text_grid.h"

class QPainter;
class QRect;

namespace kelmar::ui {

class TForm1;

class SunTab {
 public:
  explicit SunTab(TForm1& form);
  void Build();

  // The sun table from the fields as they are; then the outage table and the picture shown.
  void RunCalc();
  void StringGridVosDrawCell(QPainter& p, int col, int row, const QRect& rect) const;

  TextGrid& Grid() { return grid_; }
  bool Computed() const { return computed_; }
  const std::string& ComputedPlace() const { return computed_place_; }
  // The fields the tables were last computed from, the outage tab's and the compass switch as
  // they are now: typed coordinates count from the next recomputation, on every tab alike.
  InputFields ComputedFields() const;

 private:
  TForm1& f_;
  TextGrid grid_;
  bool computed_ = false;  // the table was computed at least once
  InputFields computed_fields_;
  std::string computed_place_;
};

}  // namespace kelmar::ui
