// kelmar-cli outage: the sun-outage forecast of the outage tab, for one slot or for all.
#include <cmath>
#include <ostream>

#include "cli/cli.h"
#include "core/magnetic.h"
#include "core/number_text.h"
#include "core/observer.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/sun_table.h"

namespace kelmar {
namespace {

void PrintJson(const OutageTable& t, std::ostream& out) {
  out << "{\"slot\":" << JsonString(t.slot) << ",\"visible\":" << (t.visible ? "true" : "false")
      << ",\"azimuth\":" << JsonNumber(t.azimuth) << ",\"elevation\":" << JsonNumber(t.elevation)
      << ",\"angle\":" << JsonNumber(t.angle) << ",\"days\":[";
  bool first = true;
  for (const OutageRow& r : t.rows) {
    out << (first ? "" : ",") << "{\"date\":\"" << IsoDate({r.year, r.month, r.day}) << "\",\"start\":\"" << r.start
        << "\",\"peak\":\"" << r.peak << "\",\"end\":\"" << r.end << "\",\"duration\":\"" << r.duration
        << "\",\"separation\":" << JsonNumber(r.separation);
    if (const char* cut = OutageCutName(r.cut)) out << ",\"cut\":\"" << cut << '"';
    out << '}';
    first = false;
  }
  out << "]}";
}

void PrintText(const OutageTable& t, std::ostream& out) {
  out << t.slot << ": azimuth " << FormatOneDecimal(t.azimuth) << ", elevation " << FormatOneDecimal(t.elevation)
      << ", angle " << FloatToStr(std::round(t.angle * 1000) / 1000) << '\n';
  if (t.visible) {
    PrintGrid(MakeOutageGrid(t), GridFormat::Text, out);
    if (HasCut(t)) out << kOutageCutNote << '\n';
  } else
    out << HiddenSlotMessage(t.slot) << '\n';
}

// csv: one table, the slot in the first column; a hidden slot adds no rows.
void PrintCsvRows(const OutageTable& t, bool header, std::ostream& out) {
  const TextGrid g = MakeOutageGrid(t);
  const int skip = header ? 0 : 1;
  TextGrid rows(kOutageCols + 1, g.RowCount() - skip);
  for (int r = skip; r < g.RowCount(); ++r) {
    rows.SetCell(0, r - skip, r == 0 ? "Спутник" : t.slot);
    for (int c = 0; c < kOutageCols; ++c) rows.SetCell(c + 1, r - skip, g.Cell(c, r));
  }
  PrintGrid(rows, GridFormat::Csv, out);
}

// The slots of the satellite table for the place, in the table's order.
std::vector<double> TableSlots(const Observer& obs) {
  TextGrid grid = MakeSatGrid();
  Satel(obs, grid);
  std::vector<double> slots;
  for (int col = 0; col < kSatCols; col += 5)
    for (int row = 1; row < kSatRows; ++row) slots.push_back(SlotFromText(grid.Cell(col, row)));
  return slots;
}

}  // namespace

int RunOutage(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(
      args, 1, {"--lat", "--lon", "--place", "--settings", "--slot", "--year", "--dish", "--freq", "--gmt", "--msk", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  InputFields in = FieldsFromOptions(opts);
  in.ESlot = Required(opts, "--slot");
  // The window's stored dish and frequency are not the command's: its defaults are the fields'.
  const InputFields defaults;
  const std::string* dish = opts.Value("--dish");
  const std::string* freq = opts.Value("--freq");
  in.EDish = dish != nullptr ? *dish : defaults.EDish;
  in.EFreq = freq != nullptr ? *freq : defaults.EFreq;
  const int year = NumberOption(opts, "--year", Today().tm_year + 1900, 1, 9998);
  const GridFormat format = FormatOf(opts);

  std::vector<OutageTable> tables;
  const bool all = in.ESlot == "all";
  if (all) {
    const Observer obs = ObserverFromFields(in);
    const double angle = OutageAngleOf(in);
    const double zone = ZoneHoursOf(in);
    for (const double slot : TableSlots(obs)) {
      OutageTable t = ComputeOutages(obs, zone, slot, angle, year);
      if (t.visible) tables.push_back(std::move(t));
    }
  } else {
    tables.push_back(ComputeOutages(in, year));
  }

  switch (format) {
    case GridFormat::Json:
      if (all) out << "{\"slots\":[";
      for (std::size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) out << ",\n";
        PrintJson(tables[i], out);
      }
      out << (all ? "]}\n" : "\n");
      break;
    case GridFormat::Text:
      if (all && tables.empty()) out << kNoSlotsAtPoleText << '\n';
      for (std::size_t i = 0; i < tables.size(); ++i) {
        if (i > 0) out << '\n';
        PrintText(tables[i], out);
      }
      break;
    case GridFormat::Csv:
      for (std::size_t i = 0; i < tables.size(); ++i) PrintCsvRows(tables[i], i == 0, out);
      break;
  }
  return 0;
}

}  // namespace kelmar
