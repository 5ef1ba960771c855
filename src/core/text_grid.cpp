#include "text_grid.h"

#include <cassert>

namespace kelmar {

TextGrid::TextGrid(int col_count, int row_count)
    : cols_(col_count), rows_(row_count), cells_(static_cast<std::size_t>(col_count) * row_count) {}

void TextGrid::ClearRows(int first, int last) {
  for (int r = first; r <= last; ++r)
    for (int c = 0; c < cols_; ++c) Cell(c, r).clear();
}

void WriteSunHeaders(TextGrid& grid) {
  static const char* const kHeaders[kSunCols] = {"Дата",     "Восход",   "Заход",
                                                 "Долг. дня", "Полдень",  "Азим. В.",
                                                 "Азим. З.", "Утр. сумер.", "Веч. сумер."};
  for (int c = 0; c < kSunCols; ++c) grid.SetCell(c, 0, kHeaders[c]);
}

void WriteSatHeaders(TextGrid& grid) {
  static const char* const kHeaders[kGroupCols - 1] = {"Спутник", "Азимут", "Высота", "Коррекц."};
  for (int g = 0; g < kSlotGroups; ++g)
    for (int o = 0; o < kGroupCols - 1; ++o) grid.SetCell(kGroupCols * g + o, 0, kHeaders[o]);
}

TextGrid MakeSunGrid() {
  TextGrid g(kSunCols, kSunRows);
  WriteSunHeaders(g);
  return g;
}

TextGrid MakeSatGrid() {
  TextGrid g(kSatCols, kSatRows);
  WriteSatHeaders(g);
  return g;
}

}  // namespace kelmar
