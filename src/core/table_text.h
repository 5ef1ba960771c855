#pragma once
// The text of the three tables: one formatter per table turns its typed rows into the cells the
// window shows, the workbook receives and kelmar-cli prints.
#include <string>

#include "date_names.h"
#include "outage.h"
#include "sat_table.h"
#include "sun_table.h"
#include "text_grid.h"

namespace kelmar {

// StringGridVos: clears rows 1..33, then writes the rows of the month.
void FormatSunTable(const SunMonth& month, bool seconds, const DateNames& names, TextGrid& StringGridVos);
// Appends a formatted time ("hh:nn" or "hh:nn:ss") to cell (col, row).
void TtoCell(TextGrid& grid, bool seconds, int col, int row, double hours);

// Rows 1..40 of StringGridSat: one decimal everywhere but "---", "зенит", "+" and, without a
// compass, the equator's "90" and "270".
void FormatSatTable(const SatTable& table, TextGrid& StringGridSat);
// The azimuth, elevation and correction cells of one position, as the table writes them.
void WriteSlotCells(const SatSlot& s, bool compass, std::string& azimuth, std::string& elevation, std::string& correction);

// The outage table as the window shows it: a header row, then one row per outage, "*" after a
// time cut by the Sun's rise or set.
inline constexpr int kOutageCols = 6;
TextGrid MakeOutageGrid(const OutageTable& table);
// "hh:mm:ss" of a count of seconds after midnight, taken modulo a day (a negative count is a
// time of an earlier day), and "mm:ss" of a duration, the minutes uncapped: the texts of
// OutageRow and of the alignment moments.
std::string ClockText(long long secs);
std::string OutageDurationText(long long secs);
// "26.02.2026"
std::string OutageDateText(const OutageRow& row);
// Two decimals, as the table shows angles: "1.24".
std::string FormatTwoDecimals(double value);
// The zone the times are in, as headings and picture titles name it: "GMT+3", "MSK-1", and "GMT"
// or "MSK" alone for an offset of 0. The offset goes in as typed ("+3" gives "GMT++3"). Throws
// CalcError for an offset that is not a number.
std::string ZoneText(const InputFields& fields);
// "Спутник 36 E не виден из этого пункта"
std::string HiddenSlotMessage(const std::string& slot);
// The line above the table: "Угол интерференции 1.94°   Азимут 181.9°   Высота 26.5°".
std::string OutageInfoLine(const OutageTable& table);
// What stands instead of the table: the hidden slot's message, "В 2026 году интерференции нет"
// for a visible slot without outages, nothing when there are rows.
std::string OutageNote(const OutageTable& table, int year);

}  // namespace kelmar
