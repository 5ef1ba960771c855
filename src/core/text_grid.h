#pragma once
// A grid of text cells addressed (column, row); row 0 holds the headers.
// Both tables live in one of these; drawing, export and the CLI read the cells back.
#include <cassert>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace kelmar {

class TextGrid {
 public:
  TextGrid(int col_count, int row_count);

  int ColCount() const { return cols_; }
  int RowCount() const { return rows_; }

  const std::string& Cell(int col, int row) const { return cells_[Index(col, row)]; }
  std::string& Cell(int col, int row) { return cells_[Index(col, row)]; }
  void SetCell(int col, int row, std::string_view text) { AssignCell(cells_[Index(col, row)], text); }

  // A recomputed table mostly writes texts as long as the old ones: overwrite those in place.
  static void AssignCell(std::string& cell, std::string_view text) {
    if (cell.size() == text.size())
      std::memcpy(cell.data(), text.data(), text.size());
    else
      cell.assign(text);
  }

  // Empties every cell of rows first..last (inclusive); the strings keep their capacity.
  void ClearRows(int first, int last);

  bool operator==(const TextGrid&) const = default;

 private:
  std::size_t Index(int col, int row) const {
    assert(col >= 0 && col < cols_ && row >= 0 && row < rows_);
    return static_cast<std::size_t>(row) * cols_ + col;
  }

  int cols_;
  int rows_;
  std::vector<std::string> cells_;
};

// The two tables with their header rows written. The satellite table shows its 160 positions in
// four groups of 40 rows, each group a label, azimuth, elevation and correction column and a
// separator column between groups.
inline constexpr int kSunCols = 9;
inline constexpr int kSunRows = 34;
inline constexpr int kSlotGroups = 4;
inline constexpr int kSlotsPerGroup = 40;
inline constexpr int kGroupCols = 5;
inline constexpr int kSatCols = kSlotGroups * kGroupCols - 1;  // no separator after the last group
inline constexpr int kSatRows = kSlotsPerGroup + 1;
TextGrid MakeSunGrid();        // StringGridVos
TextGrid MakeSatGrid();        // StringGridSat
void WriteSunHeaders(TextGrid& grid);
void WriteSatHeaders(TextGrid& grid);

}  // namespace kelmar
