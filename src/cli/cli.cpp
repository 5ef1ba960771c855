#include "cli/cli.h"

#include "cli/cli_places.h"

#include <charconv>
#include <chrono>
#include <ctime>
#include <iostream>
#include <optional>
#include <ostream>

#include "core/calc_error.h"
#include "core/calc_state.h"
#include "core/day_serial.h"
#include "core/float_chars.h"
#include "core/input_fields.h"
#include "core/locator.h"
#include "core/number_text.h"
#include "core/observer.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "core/utf8.h"
#include "cli/cli_magnetic.h"
#include "cli/cli_pictures.h"

namespace kelmar {
namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kelmar-cli sun --lat TEXT --lon TEXT [--gmt TEXT | --msk TEXT] [--year N] [--month N]\n"
    "                 [--angle TEXT | --height TEXT] [--seconds] [--format text|csv|json]\n"
    "  kelmar-cli sat --lat TEXT --lon TEXT [--format text|csv|json]\n"
    "  kelmar-cli sat ... --magnetic [--date YYYY-MM-DD]     (compass azimuths)\n"
    "  kelmar-cli sun --place NAME [--settings FILE] [other sun options override the file]\n"
    "  kelmar-cli sat --place NAME [--settings FILE] [--lat TEXT] [--lon TEXT] [--format ...]\n"
    "  kelmar-cli places [--settings FILE] [--format text|json]\n"
    "  kelmar-cli outage (--lat TEXT --lon TEXT | --place NAME) --slot TEXT|all [--year N]\n"
    "                    [--dish 0.9] [--freq 12] [--gmt TEXT | --msk TEXT] [--format text|csv|json]\n"
    "  kelmar-cli align (--lat TEXT --lon TEXT | --place NAME) --slot TEXT [--date YYYY-MM-DD]\n"
    "                   [--days N] [--gmt TEXT | --msk TEXT] [--format text|json]\n"
    "  kelmar-cli declination (--lat TEXT --lon TEXT | --place NAME [--settings FILE])\n"
    "                 [--date YYYY-MM-DD] [--format text|json]\n"
    "  kelmar-cli sky --lat TEXT --lon TEXT [--date YYYY-MM-DD] [--horizon \"90:5 150:25\"]\n"
    "                 [--horizon-file FILE] [--gmt TEXT | --msk TEXT] (--svg FILE | --png FILE)\n"
    "                 [--size WxH]\n"
    "  kelmar-cli year --lat TEXT --lon TEXT [--year N] [--gmt TEXT | --msk TEXT]\n"
    "                  [--angle TEXT | --height TEXT] (--svg FILE | --png FILE) [--size WxH]\n"
    "  kelmar-cli locator --lat TEXT --lon TEXT\n"
    "  kelmar-cli locator KO85TS\n";

// What an option left out means. Field options take texts as the window's fields hold them.
constexpr const char* kFieldHelp =
    "  --lat TEXT, --lon TEXT  degrees, north and east positive, \".\" as decimal separator\n";
constexpr const char* kFormatHelp = "  --format F              text (default), csv or json\n";
constexpr const char* kZoneHelp =
    "  --gmt TEXT              zone in hours from GMT; default: --gmt 0\n"
    "  --msk TEXT              zone in hours from Moscow time (GMT+4) instead\n";
constexpr const char* kTwilightHelp =
    "  --angle TEXT            twilight by the Sun's depression in degrees; default: --angle 6\n"
    "  --height TEXT           twilight by the observer's height in km instead\n";
constexpr const char* kDateHelp = "  --date YYYY-MM-DD       default: today\n";
constexpr const char* kPictureHelp =
    "  --svg FILE | --png FILE the picture's file, one of them required\n"
    "  --size WxH              each from 200 to 4000; default: 1200x600\n";

constexpr const char* kYearHelp = "  --year N                default: the current year\n";

// The options after the coordinates, and what --place replaces besides --lat and --lon: the
// window's zone, twilight and horizon come with a place; the date, format and picture defaults stay.
struct CommandHelpText {
  std::string options, replaces;
};

std::optional<CommandHelpText> HelpOf(const std::string& cmd) {
  const std::string zone = kZoneHelp, twilight = kTwilightHelp, format = kFormatHelp, date = kDateHelp;
  if (cmd == "sun")
    return CommandHelpText{zone + twilight +
                               "  --year N, --month N     default: the current year and month\n"
                               "  --seconds               times with seconds; default: without\n" + format,
                           ",\n                          its zone and twilight replace --gmt 0 and --angle 6"};
  if (cmd == "sat")
    return CommandHelpText{"  --magnetic              compass azimuths; default: true azimuths\n"
                           "  --date YYYY-MM-DD       with --magnetic, the magnetic model's day; default: today\n" +
                               format,
                           ""};
  if (cmd == "outage")
    return CommandHelpText{"  --slot TEXT|all         the satellite's slot (\"36 E\", \"13.5 W\", \"0\") or every\n"
                           "                          visible slot; required\n" +
                               std::string(kYearHelp) +
                               "  --dish M                dish diameter in m; default: 0.9\n"
                               "  --freq GHZ              frequency in GHz; default: 12\n" + zone + format + "  " +
                               kOutageCutNote + "\n",
                           ",\n                          its zone replaces --gmt 0; the stored dish and frequency\n"
                           "                          are not used"};
  if (cmd == "align")
    return CommandHelpText{"  --slot TEXT             the satellite's slot (\"36 E\", \"13.5 W\", \"0\"); required\n" + date +
                               "  --days N                days from --date, 1 to 366; default: 1\n" + zone +
                               "  --format F              text (default) or json\n",
                           ",\n                          its zone replaces --gmt 0, its horizon marks the Sun\n"
                           "                          behind it"};
  if (cmd == "declination")
    return CommandHelpText{date + "  --format F              text (default) or json\n", ", which it excludes"};
  if (cmd == "sky")
    return CommandHelpText{"  --horizon TEXT          \"AZ:EL AZ:EL ...\" in degrees; default: none\n"
                           "  --horizon-file FILE     a horizon profile instead: PVGIS's CSV or JSON, or lines\n"
                           "                          \"azimuth elevation\"\n" + date + zone +
                               kPictureHelp,
                           ",\n                          its zone and horizon replace --gmt 0 and no horizon"};
  if (cmd == "year")
    return CommandHelpText{kYearHelp + zone + twilight + kPictureHelp,
                           ",\n                          its zone and twilight replace --gmt 0 and --angle 6"};
  return std::nullopt;
}

std::string CommandHelp(const std::string& cmd) {
  std::string help;
  if (cmd == "locator") {
    return "usage: kelmar-cli locator --lat TEXT --lon TEXT   the 6-character locator\n"
           "       kelmar-cli locator KO85TS                 the locator's latitude and longitude\n" +
           std::string(kFieldHelp);
  }
  if (cmd == "places") {
    help = "usage: kelmar-cli places [--settings FILE] [--format text|json]\n";
  } else {
    const std::optional<CommandHelpText> h = HelpOf(cmd);
    if (!h) return kUsage;
    help = "usage: kelmar-cli " + cmd + " (--lat TEXT --lon TEXT | --place NAME) [options]\n" + kFieldHelp +
           h->options +
           "  --place NAME            a place of the settings file: its latitude and longitude replace\n"
           "                          --lat and --lon" +
           h->replaces + (cmd == "declination" ? "\n" : ";\n                          options given on the line still win\n");
  }
  help += "  --settings FILE         default: " + DefaultSettingsPath() + "\n";
  return help;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (std::size_t i = 1; i < args.size(); ++i)
    if (args[i] == "--help" || args[i] == "-h") return true;
  return false;
}

}  // namespace

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

CalendarDate DateOption(const CliOptions& opts) {
  const std::string* v = opts.Value("--date");
  if (v == nullptr) {
    const std::tm today = Today();
    return {today.tm_year + 1900, today.tm_mon + 1, today.tm_mday};
  }
  const std::string& s = *v;
  const auto y = s.size() == 10 && s[4] == '-' && s[7] == '-' ? ParseInt(s.substr(0, 4)) : std::nullopt;
  const auto m = y ? ParseInt(s.substr(5, 2)) : std::nullopt;
  const auto d = m ? ParseInt(s.substr(8, 2)) : std::nullopt;
  if (!d || *y < 1 || s.find_first_not_of("0123456789-") != std::string::npos)
    throw UsageError("--date takes YYYY-MM-DD");
  if (*m < 1 || *m > 12 || *d < 1 || *d > DaysInMonth(*y, *m)) throw UsageError("--date " + s + " is not a date");
  return {*y, *m, *d};
}

InputFields PlaceFromOptions(const CliOptions& opts, bool lat_lon_override) {
  InputFields in;
  if (opts.Has("--place")) {
    if (!lat_lon_override && (opts.Has("--lat") || opts.Has("--lon"))) throw UsageError("--place excludes --lat and --lon");
    in = FieldsOfStoredPlace(opts);
    if (const std::string* v = opts.Value("--lat")) in.latitude = *v;
    if (const std::string* v = opts.Value("--lon")) in.longitude = *v;
  } else {
    if (opts.Has("--settings")) throw UsageError("--settings goes with --place");
    in.latitude = Required(opts, "--lat");
    in.longitude = Required(opts, "--lon");
    in.zone = ZoneKind::FromGmt;
    in.gmt_offset = "0";
  }
  return in;
}

InputFields FieldsFromOptions(const CliOptions& opts) {
  if (opts.Has("--gmt") && opts.Has("--msk")) throw UsageError("--gmt and --msk exclude each other");
  if (opts.Has("--angle") && opts.Has("--height")) throw UsageError("--angle and --height exclude each other");
  // The stored place and the file's zone and twilight settings, which the options below override.
  InputFields in = PlaceFromOptions(opts, true);
  if (const std::string* v = opts.Value("--gmt")) in.zone = ZoneKind::FromGmt, in.gmt_offset = *v;
  if (const std::string* v = opts.Value("--msk")) in.zone = ZoneKind::FromMoscow, in.msk_offset = *v;
  if (const std::string* v = opts.Value("--angle")) in.twilight = TwilightKind::ByAngle, in.twilight_angle = *v;
  if (const std::string* v = opts.Value("--height")) in.twilight = TwilightKind::ByHeight, in.twilight_height = *v;
  in.seconds = opts.Has("--seconds");
  return in;
}

namespace {

CalcState NewState() {
  CalcState st;
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
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon", "--format", "--place", "--settings", "--date"}, {"--magnetic"});
  const InputFields in = FieldsFromOptions(opts);  // only the place is read
  const GridFormat format = FormatOf(opts);
  const std::optional<double> declination = CompassDeclination(opts, in);
  TextGrid grid = MakeSatGrid();
  Satel(ObserverFromFields(in), grid, declination);
  PrintGrid(grid, format, out);
  return 0;
}

int RunLocator(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon"}, {});
  if (opts.positional.size() == 1 && !opts.Has("--lat") && !opts.Has("--lon")) {
    const CoordTexts c = CoordsOfLocator(opts.positional[0]);
    out << c.lat << ' ' << c.lon << '\n';
    return 0;
  }
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  InputFields in;
  in.latitude = Required(opts, "--lat");
  in.longitude = Required(opts, "--lon");
  const Observer obs = ObserverFromFields(in);
  out << LocatorFromCoords(obs.LatDeg, obs.LonDeg) << '\n';
  return 0;
}

bool RowEmpty(const TextGrid& grid, int r) {
  for (int c = 0; c < grid.ColCount(); ++c)
    if (!grid.Cell(c, r).empty()) return false;
  return true;
}

void PrintText(const TextGrid& grid, std::ostream& out) {
  std::vector<std::size_t> width(grid.ColCount(), 0);
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) width[c] = std::max(width[c], CharCount(grid.Cell(c, r)));
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r > 0 && RowEmpty(grid, r)) continue;
    std::string line;
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) line += "  ";
      const std::string& cell = grid.Cell(c, r);
      line += cell;
      line.append(width[c] - CharCount(cell), ' ');
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

std::string JsonNumber(double v) {
  return ShortestText(v);
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
    if (cmd == "outage") return RunOutage(args, out);
    if (cmd == "align") return RunAlign(args, out);
    if (cmd == "declination") return RunDeclination(args, out);
    if (cmd == "sky") return RunSky(args);
    if (cmd == "year") return RunYear(args);
    if (cmd == "places") return RunPlaces(args, out);
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
      out << kUsage << "settings file (places, --place): " << DefaultSettingsPath() << '\n'
          << "\nCommands and their defaults:\n\n";
      for (const char* c : {"sun", "sat", "outage", "align", "declination", "sky", "year", "locator", "places"})
        out << CommandHelp(c) << '\n';
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
