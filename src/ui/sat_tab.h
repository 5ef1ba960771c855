#pragma once
// The satellite tab: StringGridSat, the declination line under the note and the compass switch
// beside the tabs; a double click on a slot opens its outages, the context menu names it.
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/input_fields.h"
#include "core/sat_table.h"
#include "core/text_grid.h"

class QPainter;
class QRect;

namespace kelmar::ui {

class TForm1;

class SatTab {
 public:
  explicit SatTab(TForm1& form);
  void BuildGrid();     // StringGridSat, on the tab control
  void BuildCompass();  // LabelMag and CheckBoxMagAz, on the window
  void Connect();

  // The satellite table; only ever after the sun table succeeded, so the fields convert as they
  // did then.
  void RunSatel();
  // The tab was shown: a declination line left out of date is made now.
  void Shown();
  // The declination line takes what its text needs below the note, down to the window's edge.
  void FitLabelMag();
  // The declination line's warning reaches where Label1 stands, which then hides on this tab.
  bool NeedsCreditRoom() const { return mag_needs_credit_room_; }
  const std::string& CompassNoteText() const { return compass_note_; }
  TextGrid& Grid() { return grid_; }

  // The position (degrees east, "180 W" as 180) whose group a cell of StringGridSat is in; none
  // for the header row, a separator column or an empty table.
  std::optional<int> SatPositionAt(int col, int row) const;
  void StringGridSatDrawCell(QPainter& p, int col, int row, const QRect& rect) const;
  // A double click on a cell of one of the table's four groups: that slot's outages.
  void StringGridSatDblClick(int col, int row);
  // "Название…" of the context menu on a cell of a group: names its slot.
  void StringGridSatNameClick(int col, int row);
  void CheckBoxMagAzClick();

  // Asks for a slot's name (the question, the name so far); nullopt when cancelled. The input
  // dialog when empty.
  std::function<std::optional<QString>(const QString& question, const QString& name)> ask_name;

 private:
  // The declination line for the place and today; the declination when the table is to show
  // compass bearings, with the note the exported workbook then carries.
  std::optional<double> ShowDeclination(const InputFields& in, std::string& note);

  TForm1& f_;
  TextGrid grid_;
  SatTable table_{};  // the numbers behind grid_, for the cells' colours; none below the horizon at first
  std::string compass_note_;  // set while the table shows compass bearings
  bool declination_stale_ = true;  // LabelMag waits for the tab
  bool mag_needs_credit_room_ = false;
};

}  // namespace kelmar::ui
