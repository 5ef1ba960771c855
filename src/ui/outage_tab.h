#pragma once
// The outage tab: the slot, dish and frequency fields over the year's sun outages, computed when
// the tab is shown; elsewhere the table is only marked out of date.
#include <optional>

#include "core/outage.h"
#include "core/text_grid.h"

namespace kelmar::ui {

class TForm1;

class OutageTab {
 public:
  explicit OutageTab(TForm1& form);
  void Build();     // PageOut and what it holds, on the tab control
  void Place();     // the page over the tables' place, its controls scaled
  void Connect();

  void RunOutage();
  void MarkStale() { stale_ = true; }
  bool Stale() const { return stale_; }
  // The slot's name beside the tab's fields.
  void ShowSlotName();
  const TextGrid& Grid() const { return grid_; }
  // The table behind the grid; none before it was first computed or after a failure.
  const std::optional<OutageTable>& Table() const { return table_; }

  void ESlotExit();
  void EDishExit();
  void EFreqExit();

 private:
  void PlaceOutGrid();

  TForm1& f_;
  TextGrid grid_;
  std::optional<OutageTable> table_;
  bool stale_ = true;
};

}  // namespace kelmar::ui
