#include "table_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "day_serial.h"
#include "number_text.h"

namespace kelmar {
namespace {

// "hh:nn" or "hh:nn:ss", two digits each: the one way both tables and the outage rows write a time.
int WriteClock(char* out, int h, int n, int s, bool seconds) {
  out[0] = static_cast<char>('0' + h / 10);
  out[1] = static_cast<char>('0' + h % 10);
  out[2] = ':';
  out[3] = static_cast<char>('0' + n / 10);
  out[4] = static_cast<char>('0' + n % 10);
  if (!seconds) return 5;
  out[5] = ':';
  out[6] = static_cast<char>('0' + s / 10);
  out[7] = static_cast<char>('0' + s % 10);
  return 8;
}

// "hh:nn" or "hh:nn:ss" of a fraction of a day, rounded to whole milliseconds, the remainder dropped.
int FormatTimeOfDay(double day_fraction, bool seconds, char* out) {
  long long ms = std::llround(day_fraction * 86400000.0);
  if (ms < 0) ms = 0;
  return WriteClock(out, static_cast<int>(ms / 3600000 % 100), static_cast<int>(ms / 60000 % 60),
                    static_cast<int>(ms / 1000 % 60), seconds);
}

// One decimal, right-aligned in at least four characters: " 7.1", "43.3", "316.7".
void AppendAzimuth(std::string& cell, const Crossing& c) {
  cell += ' ';
  if (!c.has_azimuth) return;
  char buf[kOneDecimalMax];
  const std::size_t len = FormatOneDecimal(c.azimuth, buf);
  if (len < 4) cell.append(4 - len, ' ');
  cell.append(buf, len);
}

// "42 W", "117 E", and "0" and "180" alone; −180 is "180 W".
void WriteSlotLabel(std::string& cell, int slot) {
  // At most three digits: written directly, as the table writes 160 of them each time.
  char buf[8];
  char* p = buf;
  const int deg = slot < 0 ? -slot : slot;
  if (deg >= 100) *p++ = static_cast<char>('0' + deg / 100);
  if (deg >= 10) *p++ = static_cast<char>('0' + deg / 10 % 10);
  *p++ = static_cast<char>('0' + deg % 10);
  if (slot != 0 && slot != 180) {
    *p++ = ' ';
    *p++ = slot < 0 ? 'W' : 'E';
  }
  TextGrid::AssignCell(cell, std::string_view(buf, static_cast<std::size_t>(p - buf)));
}

void WriteNumber(std::string& cell, double value) {
  char buf[kOneDecimalMax];
  TextGrid::AssignCell(cell, std::string_view(buf, FormatOneDecimal(value, buf)));
}

void Append2(std::string& s, long long v) {
  s += static_cast<char>('0' + v / 10 % 10);
  s += static_cast<char>('0' + v % 10);
}

}  // namespace

void TtoCell(TextGrid& grid, bool seconds, int col, int row, double hours) {
  std::string& cell = grid.Cell(col, row);
  char buf[8];
  int len;
  if (seconds) {
    if (hours < 23.9998) {
      len = FormatTimeOfDay((hours + 0.5 / 3600) / 24, true, buf);
    } else {
      len = 8;
      std::copy_n("24:00:00", 8, buf);
    }
  } else if (hours < 23.99) {
    len = FormatTimeOfDay((hours + 0.5 / 60) / 24, false, buf);
  } else {
    len = 5;
    std::copy_n("24:00", 5, buf);
  }
  // old + " " + time, less a leading blank: an empty cell gets the time alone.
  if (cell.empty()) {
    cell.assign(buf, static_cast<std::size_t>(len));
    return;
  }
  cell += ' ';
  cell.append(buf, static_cast<std::size_t>(len));
  if (cell.front() == ' ') cell.erase(0, 1);
}

void FormatSunTable(const SunMonth& month, bool sec, const DateNames& names, TextGrid& grid) {
  grid.ClearRows(1, kSunRows - 1);
  const int yy = month.year % 100;
  for (const SunDayRow& row : month.days) {
    const int r = row.day;
    const char date[] = {static_cast<char>('0' + r / 10), static_cast<char>('0' + r % 10), '.',
                         static_cast<char>('0' + month.month / 10), static_cast<char>('0' + month.month % 10), '.',
                         static_cast<char>('0' + yy / 10), static_cast<char>('0' + yy % 10), ' ', ' ', ' '};
    std::string& date_cell = grid.Cell(0, r);
    date_cell.assign(date, sizeof date);
    date_cell += names.weekday_short[row.weekday];
    if (!row.sun_done) continue;

    for (const Crossing& c : row.sun) {
      TtoCell(grid, sec, c.rise ? 1 : 2, r, c.hours);
      AppendAzimuth(grid.Cell(c.rise ? 5 : 6, r), c);
    }
    TtoCell(grid, sec, 4, r, row.noon);
    if (row.sun.rises != 0 || row.sun.sets != 0) {
      if (row.sun.rises == 0) grid.SetCell(1, r, "---"), grid.SetCell(5, r, "---");
      if (row.sun.sets == 0) grid.SetCell(2, r, "---"), grid.SetCell(6, r, "---");
    } else if (row.sun_polar != PolarState::None) {
      const bool night = row.sun_polar == PolarState::Night;
      grid.SetCell(1, r, night ? "ПОЛЯРНАЯ" : "ПОЛЯРНЫЙ");
      grid.SetCell(2, r, night ? "НОЧЬ" : "ДЕНЬ");
      grid.SetCell(3, r, night ? (sec ? "00:00:00" : "00:00") : (sec ? "24:00:00" : "24:00"));
      grid.SetCell(5, r, "---");
      grid.SetCell(6, r, "---");
    }
    if (row.day_length) TtoCell(grid, sec, 3, r, *row.day_length);
    if (!row.twilight_done) continue;

    for (const Crossing& c : row.twilight) TtoCell(grid, sec, c.rise ? 7 : 8, r, c.hours);
    if (row.twilight.rises != 0 || row.twilight.sets != 0) {
      if (row.twilight.rises == 0) grid.SetCell(7, r, "---");
      if (row.twilight.sets == 0) grid.SetCell(8, r, "---");
    } else if (row.twilight_polar != PolarState::None) {
      const bool night = row.twilight_polar == PolarState::Night;
      grid.SetCell(7, r, night ? "\"полярная" : "\"полярный");
      grid.SetCell(8, r, night ? "ночь\"" : "день\"");
    }
  }
}

void WriteSlotCells(const SatSlot& s, bool compass, std::string& az_cell, std::string& el_cell, std::string& corr_cell) {
  if (s.kind == SlotKind::Pole) {
    TextGrid::AssignCell(az_cell, "---");
  } else if (s.kind == SlotKind::Zenith) {
    TextGrid::AssignCell(az_cell, "зенит");
  } else if (s.kind == SlotKind::Equator && !compass) {
    TextGrid::AssignCell(az_cell, s.azimuth == 270 ? "270" : "90");
  } else {
    WriteNumber(az_cell, s.azimuth);
  }

  if (s.kind == SlotKind::Zenith) {
    TextGrid::AssignCell(el_cell, "зенит");
  } else {
    WriteNumber(el_cell, s.elevation);
  }

  if (s.kind == SlotKind::Zenith) {
    TextGrid::AssignCell(corr_cell, "---");
  } else if (s.kind == SlotKind::Equator) {
    TextGrid::AssignCell(corr_cell, "+");
  } else {
    WriteNumber(corr_cell, s.correction);
  }
}

void FormatSatTable(const SatTable& table, TextGrid& grid) {
  for (int i = 0; i < kSlotCount; ++i) {
    const SatSlot& s = table.positions[static_cast<std::size_t>(i)];
    const auto [col, row] = SlotCellOf(i);
    WriteSlotLabel(grid.Cell(col, row), s.lon);
    WriteSlotCells(s, table.compass, grid.Cell(col + 1, row), grid.Cell(col + 2, row), grid.Cell(col + 3, row));
  }
}

std::string ClockText(long long secs) {
  // Floored: before 1899-12-30 the seconds are negative, and truncation would give negative
  // clock digits.
  secs -= (secs / 86400 - (secs % 86400 != 0 && secs < 0)) * 86400;
  char buf[8];
  const int h = static_cast<int>(secs / 3600), n = static_cast<int>(secs / 60 % 60), s = static_cast<int>(secs % 60);
  return std::string(buf, static_cast<std::size_t>(WriteClock(buf, h, n, s, true)));
}

std::string OutageDurationText(long long secs) {
  std::string s = (secs < 600 ? "0" : "") + std::to_string(secs / 60) + ':';
  Append2(s, secs % 60);
  return s;
}

std::string OutageDateText(const OutageRow& r) { return DateText({r.year, r.month, r.day}); }

std::string FormatTwoDecimals(double v) {
  const long long c = std::llround(std::abs(v) * 100);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%lld.%02lld", v < 0 && c != 0 ? "-" : "", c / 100, c % 100);
  return buf;
}

std::string ZoneText(const InputFields& fields) {
  const std::string& text = fields.ZoneOffset();
  std::string zone = fields.FromMoscow() ? "MSK" : "GMT";
  const double value = StrToFloat(text);
  if (value > 0) zone += "+" + text;
  else if (value < 0) zone += text;
  return zone;
}

std::string HiddenSlotMessage(const std::string& slot) { return "Спутник " + slot + " не виден из этого пункта"; }

std::string OutageInfoLine(const OutageTable& table) {
  return "Угол интерференции " + FormatTwoDecimals(table.angle) + "°   Азимут " + FormatOneDecimal(table.azimuth) +
         "°   Высота " + FormatOneDecimal(table.elevation) + "°";
}

std::string OutageNote(const OutageTable& table, int year) {
  if (!table.visible) return HiddenSlotMessage(table.slot);
  if (table.rows.empty()) return "В " + std::to_string(year) + " году интерференции нет";
  return {};
}

TextGrid MakeOutageGrid(const OutageTable& table) {
  TextGrid grid(kOutageCols, static_cast<int>(table.rows.size()) + 1);
  static const char* const kHeaders[kOutageCols] = {"Дата", "Начало", "Максимум", "Конец", "Длит.", "Угол, °"};
  for (int c = 0; c < kOutageCols; ++c) grid.SetCell(c, 0, kHeaders[c]);
  int r = 1;
  for (const OutageRow& row : table.rows) {
    const bool cut_start = row.cut == OutageCut::Start || row.cut == OutageCut::Both;
    const bool cut_end = row.cut == OutageCut::End || row.cut == OutageCut::Both;
    const std::string cells[kOutageCols] = {OutageDateText(row),         row.start + (cut_start ? "*" : ""),
                                            row.peak,                    row.end + (cut_end ? "*" : ""),
                                            row.duration,                FormatTwoDecimals(row.separation)};
    for (int c = 0; c < kOutageCols; ++c) grid.SetCell(c, r, cells[c]);
    ++r;
  }
  return grid;
}

}  // namespace kelmar
