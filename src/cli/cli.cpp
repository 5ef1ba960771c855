#include "cli/cli.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <ostream>

#include "core/calc_error.h"
#include "core/calc_state.h"
#include "core/input_fields.h"
#include "core/locator.h"
#include "core/number_text.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#ifdef KELMAR_HAVE_SETTINGS
#include "cli/cli_places.h"
#endif

namespace kelmar {
namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kelmar-cli sun --lat TEXT --lon TEXT [--gmt TEXT | --msk TEXT] [--year N] [--month N]\n"
    "                 [--angle TEXT | --height TEXT] [--seconds] [--format text|csv|json]\n"
    "  kelmar-cli sat --lat TEXT --lon TEXT [--format text|csv|json]\n"
#ifdef KELMAR_HAVE_SETTINGS
    "  kelmar-cli sun --place NAME [--settings FILE] [other sun options override the file]\n"
    "  kelmar-cli sat --place NAME [--settings FILE] [--lat TEXT] [--lon TEXT] [--format ...]\n"
    "  kelmar-cli places [--settings FILE] [--format text|json]\n"
#endif
    "  kelmar-cli locator --lat TEXT --lon TEXT\n"
    "  kelmar-cli locator \" KO85TS\"\n";

// What an option left out means. Field options take texts as the window's fields hold them.
constexpr const char* kFieldHelp =
    "  --lat TEXT, --lon TEXT  degrees, north and east positive, \".\" as decimal separator\n";
constexpr const char* kFormatHelp = "  --format F              text (default), csv or json\n";
constexpr const char* kSunHelp =
    "  --gmt TEXT              zone in hours from GMT; default: --gmt 0\n"
    "  --msk TEXT              zone in hours from Moscow time (GMT+4) instead\n"
    "  --angle TEXT            twilight by the Sun's depression in degrees; default: --angle 6\n"
    "  --height TEXT           twilight by the observer's height in km instead\n"
    "  --year N, --month N     default: the current year and month\n"
    "  --seconds               times with seconds; default: without\n";

std::string CommandHelp(const std::string& cmd) {
  std::string help;
  if (cmd == "sun" || cmd == "sat") {
    help = "usage: kelmar-cli " + cmd + " (--lat TEXT --lon TEXT | --place NAME) [options]\n" + kFieldHelp;
    if (cmd == "sun") help += kSunHelp;
    help += kFormatHelp;
#ifdef KELMAR_HAVE_SETTINGS
    help += "  --place NAME            a place of the settings file: its latitude and longitude replace\n"
            "                          --lat and --lon";
    // The window's zone and twilight come with the place; the date and format defaults stay.
    if (cmd == "sun") help += ",\n                          its zone and twilight replace --gmt 0 and --angle 6";
    help += ";\n                          options given on the line still win\n";
#endif
  } else if (cmd == "locator") {
    return "usage: kelmar-cli locator --lat TEXT --lon TEXT   the 6-character locator\n"
           "       kelmar-cli locator \" KO85TS\"             the locator's latitude and longitude\n" +
           std::string(kFieldHelp);
  } else if (cmd == "places") {
    help = "usage: kelmar-cli places [--settings FILE] [--format text|json]\n";
  } else {
    return kUsage;
  }
#ifdef KELMAR_HAVE_SETTINGS
  help += "  --settings FILE         default: " + DefaultSettingsPath() + "\n";
#endif
  return help;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size(); ++i)
    if (args[i] == "--help" || args[i] == "-h") return true;
  return false;
}

const std::string& Required(const CliOptions& opts, const std::string& name) {
  const std::string* v = opts.Value(name);
  if (v == nullptr) throw UsageError("missing " + name);
  return *v;
}

int NumberOption(const CliOptions& opts, const std::string& name, int fallback, int lo, int hi) {
  const std::string* v = opts.Value(name);
  if (v == nullptr) return fallback;
  auto n = ParseInt(*v);
  if (!n || *n < lo || *n > hi)
    throw UsageError(name + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
  return *n;
}

std::tm Today() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}

// With --place: the stored place and the file's zone and twilight settings, which explicit
// options then override.
bool StoredPlaceFields(const CliOptions& opts, InputFields& in) {
#ifdef KELMAR_HAVE_SETTINGS
  if (opts.Has("--place")) {
    in = FieldsOfStoredPlace(opts);
    if (const std::string* v = opts.Value("--lat")) in.EditSir = *v;
    if (const std::string* v = opts.Value("--lon")) in.EditDolg = *v;
    return true;
  }
  if (opts.Has("--settings")) throw UsageError("--settings goes with --place");
#else
  (void)opts;
  (void)in;
#endif
  return false;
}

// The field texts the window would hold. Defaults: GMT offset "0", angle "6".
InputFields FieldsFromOptions(const CliOptions& opts) {
  if (opts.Has("--gmt") && opts.Has("--msk")) throw UsageError("--gmt and --msk exclude each other");
  if (opts.Has("--angle") && opts.Has("--height")) throw UsageError("--angle and --height exclude each other");
  InputFields in;
  if (StoredPlaceFields(opts, in)) {
    if (opts.Has("--gmt")) {
      in.RadioButtonMSK = false;
      in.EditGMT = *opts.Value("--gmt");
    }
    if (opts.Has("--msk")) {
      in.RadioButtonMSK = true;
      in.EditMSK = *opts.Value("--msk");
    }
    if (opts.Has("--angle")) {
      in.RadioButtonUgol = true;
      in.EditUg = *opts.Value("--angle");
    }
    if (opts.Has("--height")) {
      in.RadioButtonUgol = false;
      in.EditKm = *opts.Value("--height");
    }
    in.CheckBoxSec = opts.Has("--seconds");
    return in;
  }
  in.EditSir = Required(opts, "--lat");
  in.EditDolg = Required(opts, "--lon");
  in.RadioButtonMSK = opts.Has("--msk");
  in.EditGMT = opts.Has("--gmt") ? *opts.Value("--gmt") : "0";
  if (in.RadioButtonMSK) in.EditMSK = *opts.Value("--msk");
  in.RadioButtonUgol = !opts.Has("--height");
  if (opts.Has("--angle")) in.EditUg = *opts.Value("--angle");
  if (opts.Has("--height")) in.EditKm = *opts.Value("--height");
  in.CheckBoxSec = opts.Has("--seconds");
  return in;
}

CalcState NewState() {
  CalcState st;
  InitRiseAltSin(st);
  st.Names = LocaleDateNames();
  return st;
}

int RunSun(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon", "--gmt", "--msk", "--year", "--month", "--angle", "--height", "--format",
                                                 "--place", "--settings"},
                                       {"--seconds"});
  const InputFields in = FieldsFromOptions(opts);
  const std::tm today = Today();
  CalcState st = NewState();
  st.Year = static_cast<std::uint16_t>(NumberOption(opts, "--year", today.tm_year + 1900, 1, 9999));
  st.Month = static_cast<std::uint16_t>(NumberOption(opts, "--month", today.tm_mon + 1, 1, 12));
  const GridFormat format = FormatOf(opts);
  TextGrid grid = MakeSunGrid();
  Calc(st, in, grid);
  PrintGrid(grid, format, out);
  return 0;
}

int RunSat(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon", "--format", "--place", "--settings"}, {});
  InputFields in;
  if (!StoredPlaceFields(opts, in)) {
    in.EditSir = Required(opts, "--lat");
    in.EditDolg = Required(opts, "--lon");
  }
  const GridFormat format = FormatOf(opts);
  CalcState st = NewState();
  // The satellite table reads the latitude state that the sun table establishes.
  TextGrid sun = MakeSunGrid();
  Calc(st, in, sun);
  TextGrid grid = MakeSatGrid();
  Satel(st, in, grid);
  PrintGrid(grid, format, out);
  return 0;
}

int RunLocator(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon"}, {});
  if (opts.positional.size() == 1 && !opts.Has("--lat") && !opts.Has("--lon")) {
    const std::string& name = opts.positional[0];
    if (!IsValidLocatorName(name))
      throw CalcError(kInvalidLocator);
    const CoordTexts c = LocatorToCoords(name);
    out << c.lat << ' ' << c.lon << '\n';
    return 0;
  }
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  InputFields in;
  in.EditSir = Required(opts, "--lat");
  in.EditDolg = Required(opts, "--lon");
  CalcState st;
  QTHloc(st, in);
  out << st.Locator << '\n';
  return 0;
}

std::size_t DisplayWidth(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

bool RowEmpty(const TextGrid& grid, int r) {
  for (int c = 0; c < grid.ColCount(); ++c)
    if (!grid.Cell(c, r).empty()) return false;
  return true;
}

void PrintText(const TextGrid& grid, std::ostream& out) {
  std::vector<std::size_t> width(grid.ColCount(), 0);
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) width[c] = std::max(width[c], DisplayWidth(grid.Cell(c, r)));
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r > 0 && RowEmpty(grid, r)) continue;
    std::string line;
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) line += "  ";
      const std::string& cell = grid.Cell(c, r);
      line += cell;
      line.append(width[c] - DisplayWidth(cell), ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

void PrintCsv(const TextGrid& grid, std::ostream& out) {
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r > 0 && RowEmpty(grid, r)) continue;  // the padding rows after a short month
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) out << ',';
      const std::string& cell = grid.Cell(c, r);
      if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        out << cell;
      } else {
        out << '"';
        for (char ch : cell) out << (ch == '"' ? "\"\"" : std::string(1, ch));
        out << '"';
      }
    }
    out << "\r\n";
  }
}

void PrintJson(const TextGrid& grid, std::ostream& out) {
  out << '[';
  for (int r = 0; r < grid.RowCount(); ++r) {
    out << (r > 0 ? ",\n [" : "[");
    for (int c = 0; c < grid.ColCount(); ++c) out << (c > 0 ? "," : "") << JsonString(grid.Cell(c, r));
    out << ']';
  }
  out << "]\n";
}

}  // namespace

CliOptions ParseOptions(const std::vector<std::string>& args, std::size_t first,
                        const std::set<std::string>& with_value, const std::set<std::string>& flags) {
  CliOptions opts;
  for (std::size_t i = first; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (with_value.count(a)) {
      if (i + 1 >= args.size()) throw UsageError(a + " needs a value");
      opts.values[a] = args[++i];
    } else if (flags.count(a)) {
      opts.flags.insert(a);
    } else if (a.starts_with("--")) {
      throw UsageError("unknown option " + a);
    } else {
      opts.positional.push_back(a);
    }
  }
  return opts;
}

GridFormat FormatOf(const CliOptions& opts) {
  const std::string* f = opts.Value("--format");
  if (f == nullptr || *f == "text") return GridFormat::Text;
  if (*f == "csv") return GridFormat::Csv;
  if (*f == "json") return GridFormat::Json;
  throw UsageError("--format takes text, csv or json");
}

void PrintGrid(const TextGrid& grid, GridFormat format, std::ostream& out) {
  switch (format) {
    case GridFormat::Text: PrintText(grid, out); break;
    case GridFormat::Csv: PrintCsv(grid, out); break;
    case GridFormat::Json: PrintJson(grid, out); break;
  }
}

std::string JsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    if (args.empty()) throw UsageError("no command");
    const std::string& cmd = args[0];
    if (AsksForHelp(args)) {
      out << CommandHelp(cmd);
      return 0;
    }
    if (cmd == "sun") return RunSun(args, out);
    if (cmd == "sat") return RunSat(args, out);
    if (cmd == "locator") return RunLocator(args, out);
#ifdef KELMAR_HAVE_SETTINGS
    if (cmd == "places") return RunPlaces(args, out);
#endif
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
      out << kUsage << "\nCommands and their defaults:\n\n";
      for (const char* c : {"sun", "sat", "locator", "places"}) out << CommandHelp(c) << '\n';
      return 0;
    }
    throw UsageError("unknown command " + cmd);
  } catch (const UsageError& e) {
    err << "kelmar-cli: " << e.what() << '\n' << kUsage;
    return 2;
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    return 1;
  }
}

int RunCli(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, std::cout, std::cerr);
}

}  // namespace kelmar
