#pragma once
// Shared pieces of the export tests: tables filled with texts that show where every cell went.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/text_grid.h"
#include "temp_dir.h"

namespace kelmar::testing {

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
inline void WriteFile(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

// A month of `days` days, texts shaped like the real ones: dates, times that look like numbers,
// azimuths with their leading spaces. Rows after the last day stay empty, as the table leaves them.
inline TextGrid SunGridOf(int days, bool seconds = false) {
  TextGrid g = MakeSunGrid();
  for (int r = 1; r <= days; ++r) {
    const std::string dd = (r < 10 ? "0" : "") + std::to_string(r);
    g.SetCell(0, r, dd + ".11.26   " + (r % 2 ? "Пн" : "Вт"));
    g.SetCell(1, r, "08:" + dd + (seconds ? ":07" : ""));
    g.SetCell(2, r, "16:" + dd);
    g.SetCell(3, r, "7.5");  // a number-like text must arrive as text
    g.SetCell(4, r, "12:" + dd);
    g.SetCell(5, r, " 1" + std::to_string(r) + ".3");
    g.SetCell(6, r, "  2" + std::to_string(r) + ".4");
    g.SetCell(7, r, r == 7 ? "---" : "07:" + dd);
    g.SetCell(8, r, r == 8 ? "день\"" : "17:" + dd + " 23:59");
  }
  return g;
}

inline TextGrid SatGridOf() {
  TextGrid g = MakeSatGrid();
  for (int r = 1; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) {
      if (c % 5 == 4) continue;  // separator columns stay empty
      const int slot = -80 + (c / 5) * 40 + r - 1;
      g.SetCell(c, r, c % 5 == 0 ? std::to_string(slot) + (slot < 0 ? "W" : "E")
                                 : std::to_string(r) + "." + std::to_string(c % 5));
    }
  return g;
}

}  // namespace kelmar::testing
