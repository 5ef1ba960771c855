// kelmar-cli run as a separate process: the printed tables must be the core's tables, the
// worked cells must show, and failures must come out as exit statuses with exact messages.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "core/calc_state.h"
#include "core/date_names.h"
#include "core/input_fields.h"
#include "core/outage.h"
#include "core/sun_align.h"
#include "core/magnetic.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "core/text_grid.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using Rows = std::vector<std::vector<std::string>>;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

CliRun RunCli(const std::vector<std::string>& args) {
  char err_path[] = "/tmp/kelmar-cli-test-XXXXXX";
  const int fd = mkstemp(err_path);
  close(fd);
  std::string cmd = Quote(KELMAR_CLI_PATH);
  for (const std::string& a : args) cmd += " " + Quote(a);
  cmd += " 2>" + Quote(err_path);
  CliRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return run;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
  const int st = pclose(p);
  run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  std::ifstream err(err_path, std::ios::binary);
  std::stringstream ss;
  ss << err.rdbuf();
  run.err = ss.str();
  unlink(err_path);
  return run;
}

Rows GridRows(const TextGrid& g) {
  Rows rows(g.RowCount());
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) rows[r].push_back(g.Cell(c, r));
  return rows;
}

Rows JsonRows(const std::string& text) {
  return nlohmann::json::parse(text).get<Rows>();
}

// RFC 4180: fields separated by commas, records by CRLF, quoted fields double their quotes.
Rows CsvRows(const std::string& text) {
  Rows rows(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      rows.back().push_back(field);
      field.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.back().push_back(field);
      field.clear();
      rows.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  if (!rows.back().empty() || !field.empty()) rows.back().push_back(field);
  else rows.pop_back();
  return rows;
}

// The rows csv and text print: the headers and every row with a text in it.
Rows WithoutPadding(Rows rows) {
  std::erase_if(rows, [](const std::vector<std::string>& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return cell.empty(); });
  });
  return rows;
}

InputFields Fields(const char* lat, const char* lon, const char* gmt) {
  return testing_support::PlaceFields(lat, lon, gmt);
}

CalcState State(int year, int month) { return testing_support::MonthState(year, month); }

Rows CoreSun(const InputFields& in, int year, int month) {
  CalcState st = State(year, month);
  TextGrid g = MakeSunGrid();
  Calc(st, in, g);
  return GridRows(g);
}

Rows CoreSat(const InputFields& in, std::optional<double> compass_declination = {}) {
  TextGrid g = MakeSatGrid();
  Satel(ObserverFromFields(in), g, compass_declination);
  return GridRows(g);
}

TEST(CliSun, JsonIsTheCoresWholeTable) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    InputFields in;
    int year, month;
  };
  InputFields seconds = Fields("55.75", "37.62", "3");
  seconds.CheckBoxSec = true;
  InputFields height = Fields("55.75", "37.62", "3");
  height.RadioButtonUgol = false;
  height.EditKm = "12.345";
  InputFields msk = Fields("55.75", "37.62", "0");
  msk.RadioButtonMSK = true;
  msk.EditMSK = "-1";
  const Case cases[] = {
      {"Moscow June", {"--lat", "55.75", "--lon", "37.62", "--gmt", "3"}, Fields("55.75", "37.62", "3"), 2026, 6},
      {"with seconds", {"--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--seconds"}, seconds, 2026, 6},
      {"height mode", {"--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--height", "12.345"}, height, 2026, 6},
      {"Moscow-time zone", {"--lat", "55.75", "--lon", "37.62", "--msk", "-1"}, msk, 2026, 6},
      {"defaults: GMT 0, angle 6", {"--lat", "55.75", "--lon", "37.62"}, Fields("55.75", "37.62", "0"), 2026, 6},
      {"polar December", {"--lat", "69", "--lon", "33", "--gmt", "3"}, Fields("69", "33", "3"), 2026, 12},
      {"leap February", {"--lat", "-33.9", "--lon", "18.4", "--gmt", "2"}, Fields("-33.9", "18.4", "2"), 2028, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> args = {"sun"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--year", std::to_string(c.year), "--month", std::to_string(c.month), "--format", "json"});
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Rows rows = JsonRows(run.out);
    ASSERT_EQ(rows.size(), 34u);
    for (const auto& row : rows) ASSERT_EQ(row.size(), 9u);
    EXPECT_EQ(rows, CoreSun(c.in, c.year, c.month));
  }
}

TEST(CliSun, WorkedCellsShowInEveryFormat) {
  const std::vector<std::string> base = {"sun", "--lat", "55.75", "--lon", "37.62", "--gmt", "3",
                                         "--year", "2026", "--month", "6"};
  const std::vector<std::string> day21 = {"21.06.26   Вс", "03:45", "21:18", "17:33", "12:31",
                                          " 43.3", " 316.7", "02:43", "22:20"};
  auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> a = base;
    a.insert(a.end(), extra.begin(), extra.end());
    return RunCli(a);
  };
  const CliRun json = with({"--format", "json"});
  ASSERT_EQ(json.status, 0);
  EXPECT_EQ(JsonRows(json.out)[21], day21);
  EXPECT_EQ(JsonRows(json.out)[0][0], "Дата");

  const CliRun csv = with({"--format", "csv"});
  ASSERT_EQ(csv.status, 0);
  const Rows csv_rows = CsvRows(csv.out);
  ASSERT_EQ(csv_rows.size(), 31u);  // json keeps the padding rows after the 30 days, csv does not
  EXPECT_EQ(csv_rows[21], day21);
  EXPECT_EQ(csv_rows, WithoutPadding(JsonRows(json.out)));

  // The text table: headers and one line per day, each holding its cells in order.
  const CliRun text = with({});
  ASSERT_EQ(text.status, 0);
  std::vector<std::string> lines;
  std::istringstream is(text.out);
  for (std::string line; std::getline(is, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 31u);  // header + 30 days of June
  EXPECT_NE(lines[0].find("Дата"), std::string::npos);
  EXPECT_NE(lines[0].find("Веч. сумер."), std::string::npos);
  std::size_t at = 0;
  for (const std::string& cell : day21) {
    at = lines[21].find(cell, at);
    ASSERT_NE(at, std::string::npos) << cell << " in " << lines[21];
    at += cell.size();
  }
  EXPECT_EQ(with({"--format", "text"}).out, text.out);
}

TEST(CliSun, CsvQuotesTheQuotedPolarTexts) {
  // Polar-day twilight cells hold a double quote, which CSV must double inside quotes.
  const CliRun csv = RunCli({"sun", "--lat", "69", "--lon", "33", "--gmt", "3", "--year", "2026", "--month", "6",
                          "--format", "csv"});
  ASSERT_EQ(csv.status, 0);
  EXPECT_NE(csv.out.find(",\"\"\"полярный\",\"день\"\"\"\r\n"), std::string::npos);
  EXPECT_EQ(CsvRows(csv.out), WithoutPadding(CoreSun(Fields("69", "33", "3"), 2026, 6)));
}

TEST(CliHelp, StatesEveryDefault) {
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> says;
  };
  const Case cases[] = {
      // The overview lists every command with its defaults.
      {{"--help"}, {"usage:", "--gmt 0", "--angle 6", "current year and month", "--settings FILE", "kelmar.INI",
                    "settings file (places, --place): ", "kelmar-cli year (--lat"}},
      // Help after a command is that command's help, whatever else is on the line.
      {{"sun", "--help"}, {"kelmar-cli sun", "--gmt 0", "--angle 6", "current year and month", "text (default)",
                           "kelmar.INI", "its zone and twilight replace --gmt 0 and --angle 6"}},
      {{"sat", "--lat", "x", "-h"}, {"kelmar-cli sat", "replace\n                          --lat and --lon;",
                                     "kelmar.INI"}},
      {{"sat", "--magnetic", "--help"}, {"--magnetic ", "default: true azimuths", "default: today"}},
      {{"outage", "--help"}, {"--slot TEXT|all", "default: 0.9", "default: 12", "--gmt 0", "current year",
                              "its zone replaces --gmt 0; the stored dish and frequency"}},
      {{"declination", "--help"}, {"default: today", "text (default) or json", "--lat and --lon, which it excludes"}},
      {{"sky", "--help"}, {"default: 1200x600", "default: none", "its zone and horizon replace"}},
      {{"year", "--help"}, {"default: 1200x600", "current year", "its zone and twilight replace --gmt 0 and --angle 6"}},
      {{"locator", "--help"}, {"kelmar-cli locator", "KO85TS"}},
      {{"places", "--help"}, {"kelmar-cli places", "kelmar.INI"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const std::string& s : c.says) EXPECT_NE(run.out.find(s), std::string::npos) << s << " in\n" << run.out;
  }
  // The satellite table needs no zone: its help offers none.
  EXPECT_EQ(RunCli({"sat", "--help"}).out.find("--gmt"), std::string::npos);
}

TEST(CliSun, MoscowTimeZeroEqualsGmtFour) {
  const std::vector<std::string> tail = {"--year", "2026", "--month", "1", "--format", "json"};
  std::vector<std::string> msk = {"sun", "--lat", "55.75", "--lon", "37.62", "--msk", "0"};
  std::vector<std::string> gmt = {"sun", "--lat", "55.75", "--lon", "37.62", "--gmt", "4"};
  msk.insert(msk.end(), tail.begin(), tail.end());
  gmt.insert(gmt.end(), tail.begin(), tail.end());
  const CliRun a = RunCli(msk), b = RunCli(gmt);
  ASSERT_EQ(a.status, 0);
  EXPECT_EQ(a.out, b.out);
}

TEST(CliSun, DefaultMonthIsTheCurrentOne) {
  const CliRun run = RunCli({"sun", "--lat", "55.75", "--lon", "37.62", "--format", "json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const Rows rows = JsonRows(run.out);
  ASSERT_EQ(rows.size(), 34u);
  EXPECT_EQ(rows[1][0].substr(0, 3), "01.");
}

TEST(CliSat, JsonIsTheCoresWholeTable) {
  struct Case {
    const char* lat;
    const char* lon;
  };
  const Case cases[] = {
      {"55.75", "37.62"},  // the worked example
      {"-33.9", "18.4"},   // southern hemisphere
      {"0", "170"},        // the equator, across the antimeridian
      {"55.75", "370"},    // a longitude beyond the range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lat) + " " + c.lon);
    const CliRun run = RunCli({"sat", "--lat", c.lat, "--lon", c.lon, "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Rows rows = JsonRows(run.out);
    ASSERT_EQ(rows.size(), 41u);
    for (const auto& row : rows) ASSERT_EQ(row.size(), 19u);
    EXPECT_EQ(rows, CoreSat(Fields(c.lat, c.lon, "0")));
  }
  const Rows moscow = JsonRows(RunCli({"sat", "--lat", "55.75", "--lon", "37.62", "--format", "json"}).out);
  EXPECT_EQ(moscow[0][0], "Спутник");
  EXPECT_EQ(moscow[1][0], "42 W");
  EXPECT_EQ(moscow[1][1], "261.4");
  EXPECT_EQ(moscow[1][2], "-2.9");
  EXPECT_EQ(moscow[1][3], "34.1");
  EXPECT_EQ(moscow[40][15], "117 E");
  EXPECT_EQ(moscow[40][18], "-34.1");
  const Rows csv = CsvRows(RunCli({"sat", "--lat", "55.75", "--lon", "37.62", "--format", "csv"}).out);
  EXPECT_EQ(csv, moscow);
  // The text table: headers and all 40 rows, the first starting with the first position.
  const CliRun text = RunCli({"sat", "--lat", "55.75", "--lon", "37.62"});
  ASSERT_EQ(text.status, 0);
  std::vector<std::string> lines;
  std::istringstream is(text.out);
  for (std::string line; std::getline(is, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 41u);
  EXPECT_EQ(lines[0].rfind("Спутник", 0), 0u);
  EXPECT_EQ(lines[1].rfind("42 W", 0), 0u);
  EXPECT_NE(lines[40].find("117 E"), std::string::npos);
}

TEST(CliMagnetic, DeclinationAndCompassTable) {
  const CalendarDate june{2026, 6, 1};
  const MagneticField moscow = MagneticForFields("55.75", "37.62", june);
  const CliRun json = RunCli({"declination", "--lat", "55.75", "--lon", "37.62", "--date", "2026-06-01", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["declination"].get<double>(), moscow.declination);  // unrounded, to the last bit
  EXPECT_EQ(j["horizontal_intensity"].get<double>(), moscow.horizontal);
  EXPECT_NEAR(moscow.declination, 12.107, 0.0005);
  EXPECT_EQ(j["model"], "WMM2025");
  EXPECT_EQ(j["date"], "2026-06-01");  // as asked
  EXPECT_EQ(j["valid"], true);

  struct Case {
    std::vector<std::string> args;
    const char* out;
  } cases[] = {
      {{"declination", "--lat", "55.75", "--lon", "37.62", "--date", "2025-12-08"},
       "Магнитное склонение: 12.1° В (WMM2025, 08.12.2025)\n"},
      {{"declination", "--lat", "80", "--lon", "-96", "--date", "2025-01-01"},  // the window's warning too
       "Магнитное склонение: 31.3° З (WMM2025, 01.01.2025)\nКомпас здесь ненадёжен: слабое горизонтальное поле\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }

  // The compass table is the core's table with the declination of the place and date.
  const CliRun sat = RunCli({"sat", "--lat", "55.75", "--lon", "37.62", "--magnetic", "--date", "2026-06-01", "--format", "json"});
  ASSERT_EQ(sat.status, 0) << sat.err;
  const Rows rows = JsonRows(sat.out);
  EXPECT_EQ(rows, CoreSat(Fields("55.75", "37.62", "0"), moscow.declination));
  EXPECT_EQ(rows[1][1], "249.3");  // 42 W: 261.4 true, 12.1 east
}

TEST(CliLocator, BothDirections) {
  struct Case {
    std::vector<std::string> args;
    const char* out;
  };
  const Case cases[] = {
      {{"locator", "--lat", "55.75", "--lon", "37.62"}, "KO85ts\n"},
      {{"locator", "--lat", "0", "--lon", "0"}, "JJ00aa\n"},
      {{"locator", "--lat", "-90", "--lon", "-180"}, "AA00aa\n"},
      {{"locator", " KO85TS"}, "55.7708 37.625\n"},  // latitude text, one blank, longitude text
      {{"locator", " ko85ts"}, "55.7708 37.625\n"},  // either case
      {{"locator", " AA00AA"}, "-89.979 -179.95\n"},
      {{"locator", " IJ99XX"}, "9.97916 -0.0416\n"},
      {{"locator", "KO85TS"}, "55.7708 37.625\n"},  // without the blank of a place name
      {{"locator", "ko85ts"}, "55.7708 37.625\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out);
  }
}

TEST(CliOutage, JsonIsTheCoresForecast) {
  // One slot, a hidden one, and every visible slot in the satellite table's order.
  const InputFields moscow = Fields("55.75", "37.62", "3");
  const std::vector<std::string> place = {"outage", "--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--year", "2026",
                                          "--format", "json", "--slot"};
  const auto run = [&](const std::string& slot) {
    std::vector<std::string> args = place;
    args.push_back(slot);
    const CliRun r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out);
  };
  const auto same = [](const nlohmann::json& j, const OutageTable& t) {
    EXPECT_EQ(j["slot"], t.slot);
    EXPECT_EQ(j["visible"], t.visible);
    EXPECT_EQ(j["elevation"].get<double>(), t.elevation);
    EXPECT_EQ(j["angle"].get<double>(), t.angle);
    ASSERT_EQ(j["days"].size(), t.rows.size());
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
      const auto& d = j["days"][i];
      const OutageRow& r = t.rows[i];
      EXPECT_EQ(d["date"].get<std::string>(), OutageDateText(r).substr(6) + "-" + OutageDateText(r).substr(3, 2) + "-" +
                                                  OutageDateText(r).substr(0, 2));
      EXPECT_EQ(std::vector<std::string>({d["start"], d["peak"], d["end"], d["duration"]}),
                std::vector<std::string>({r.start, r.peak, r.end, r.duration}));
      EXPECT_EQ(d["separation"].get<double>(), r.separation);
    }
  };
  const nlohmann::json one = run("36e");
  const auto slot = [&](const std::string& text) {
    InputFields in = moscow;
    in.ESlot = text;
    return ComputeOutages(in, 2026);
  };
  same(one, slot("36 E"));
  EXPECT_EQ(one["days"][0]["date"], "2026-02-26");
  const nlohmann::json hidden = run("140 W");
  EXPECT_EQ(hidden["visible"], false);
  EXPECT_TRUE(hidden["days"].empty());

  const nlohmann::json all = run("all");
  const Rows sat = CoreSat(moscow);
  std::vector<std::string> visible;
  for (int col = 0; col < kSatCols; col += 5)
    for (int row = 1; row < kSatRows; ++row)
      // A table's "0.0" may be a hair above the horizon: the unrounded elevation decides.
      if (slot(sat[row][col]).visible) visible.push_back(SlotText(SlotFromText(sat[row][col])));
  ASSERT_EQ(all["slots"].size(), visible.size());
  for (std::size_t i = 0; i < visible.size(); ++i) EXPECT_EQ(all["slots"][i]["slot"], visible[i]);
  same(all["slots"][0], slot(visible[0]));
}

TEST(CliOutage, CutTimesAreMarkedInEveryFormat) {
  // Moscow, a C-band dish on 36 W: in February the Sun sets during the passes.
  const std::vector<std::string> args = {"outage", "--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--slot", "36W",
                                         "--dish", "0.45", "--freq", "4", "--year", "2026", "--format"};
  const auto run = [&](const char* format) {
    std::vector<std::string> a = args;
    a.push_back(format);
    const CliRun r = RunCli(a);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const nlohmann::json j = nlohmann::json::parse(run("json"));
  std::map<std::string, std::string> cut;  // date → "cut", days without the field left out
  for (const auto& d : j["days"])
    if (d.contains("cut")) cut[d["date"]] = d["cut"];
  EXPECT_EQ(cut.at("2026-02-18"), "end");
  EXPECT_EQ(cut.count("2026-03-08"), 0u);  // a whole pass has no field
  EXPECT_EQ(cut.size(), 36u);  // 18 February to 7 March, 6 to 23 October
  const std::string text = run("text");
  EXPECT_NE(text.find("18.02.2026  17:39:08  17:40:15  17:40:15*  01:07"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with(std::string(kOutageCutNote) + "\n"));
  const std::string csv = run("csv");
  EXPECT_NE(csv.find("36 W,18.02.2026,17:39:08,17:40:15,17:40:15*,01:07"), std::string::npos) << csv;
  EXPECT_EQ(csv.find(kOutageCutNote), std::string::npos);  // rows only
  EXPECT_NE(RunCli({"outage", "--help"}).out.find(kOutageCutNote), std::string::npos);
}

TEST(CliOutage, NoSlotAtThePoleIsSaidInText) {
  struct Case {
    const char* format;
    const char* out;
  } cases[] = {
      {"text", "Спутники не видны у полюса\n"},
      {"json", "{\"slots\":[]}\n"},  // an empty list, as for any place
      {"csv", ""},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCli({"outage", "--lat", "90", "--lon", "0", "--slot", "all", "--format", c.format});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << c.format;
  }
}

TEST(CliAlign, JsonAndTextAreTheCoresMoments) {
  const std::vector<std::string> args = {"align", "--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--slot", "36e",
                                         "--date", "2026-03-20", "--days", "3"};
  InputFields in = Fields("55.75", "37.62", "3");
  in.ESlot = "36 E";
  const AlignTable t = ComputeAlignment(in, Horizon(), {2026, 3, 20}, 3);
  std::vector<std::string> json_args = args;
  json_args.insert(json_args.end(), {"--format", "json"});
  const CliRun json = RunCli(json_args);
  ASSERT_EQ(json.status, 0) << json.err;
  const nlohmann::json j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["slot"], "36 E");
  EXPECT_EQ(j["azimuth"].get<double>(), 181.96);  // two decimals, as the table shows angles
  ASSERT_EQ(j["days"].size(), 3u);
  EXPECT_EQ(j["days"][2]["date"], "2026-03-22");
  const nlohmann::json& e = j["days"][0]["events"][1];
  EXPECT_EQ(e["kind"], "sun");
  EXPECT_EQ(e["time"], ClockText(t.days[0].events[1].seconds));
  EXPECT_EQ(e["elevation"].get<double>(), std::stod(FormatTwoDecimals(t.days[0].events[1].elevation)));
  EXPECT_EQ(e["above_horizon"], true);
  EXPECT_EQ(e["above_mask"], true);
  EXPECT_EQ(j["days"][0]["events"][0]["kind"], "shadow");

  const CliRun text = RunCli(args);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.substr(0, text.out.find('\n')), "36 E: azimuth 182.0, elevation 26.5");
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), 2 + 6);  // the line, the header, two moments a day

  // The tropics in June never see the Sun at an eastern slot's azimuth: an empty list.
  const CliRun none = RunCli({"align", "--lat", "10", "--lon", "0", "--slot", "60 E", "--date", "2026-06-21", "--format", "json"});
  EXPECT_EQ(nlohmann::json::parse(none.out)["days"][0]["events"], nlohmann::json::array());
}

TEST(CliErrors, BadFieldsExitWithOneAndTheExactMessage) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"sun", "--lat", "abc", "--lon", "37.62", "--year", "2026", "--month", "6"},
       "'abc' is not a valid floating point value"},
      {{"sun", "--lat", "55.75", "--lon", "37,62", "--year", "2026", "--month", "6"},
       "'37,62' is not a valid floating point value"},
      {{"sun", "--lat", "55.75", "--lon", "37.62", "--gmt", "", "--year", "2026", "--month", "6"},
       "'' is not a valid floating point value"},
      {{"sun", "--lat", "55.75", "--lon", "37.62", "--angle", "six", "--year", "2026", "--month", "6"},
       "'six' is not a valid floating point value"},
      {{"sun", "--lat", "55.75", "--lon", "37.62", "--height", "-5", "--year", "2026", "--month", "6"},
       "Invalid floating point operation"},
      {{"sat", "--lat", "55.75", "--lon", "x"}, "'x' is not a valid floating point value"},
      {{"locator", "--lat", "55.75", "--lon", " 37.62e"}, "' 37.62e' is not a valid floating point value"},
      {{"outage", "--lat", "55.75", "--lon", "37.62", "--slot", "36X"}, "Неверная позиция спутника '36X'"},
      {{"outage", "--lat", "55.75", "--lon", "37.62", "--slot", "all", "--dish", "40"},
       "Диаметр антенны должен быть от 0.1 до 30 м"},
      {{"align", "--lat", "55.75", "--lon", "37.62", "--slot", "36X"}, "Неверная позиция спутника '36X'"},
      {{"declination", "--lat", "abc", "--lon", "37.62"}, "'abc' is not a valid floating point value"},
      {{"declination", "--lat", "90.01", "--lon", "0"}, "Широта должна быть от -90 до 90"},
      // No table for a latitude beyond the poles, whichever command.
      {{"sun", "--lat", "91", "--lon", "37.62"}, "Широта должна быть от -90 до 90"},
      {{"sun", "--lat", "1000", "--lon", "37.62"}, "Широта должна быть от -90 до 90"},
      {{"sun", "--lat", "1e308", "--lon", "37.62"}, "Широта должна быть от -90 до 90"},
      {{"sat", "--lat", "-91", "--lon", "37.62"}, "Широта должна быть от -90 до 90"},
      {{"outage", "--lat", "91", "--lon", "0", "--slot", "all"}, "Широта должна быть от -90 до 90"},
      {{"outage", "--lat", "91", "--lon", "0", "--slot", "36E"}, "Широта должна быть от -90 до 90"},
      {{"locator", "--lat", "91", "--lon", "0"}, "Широта должна быть от -90 до 90"},
      {{"align", "--lat", "91", "--lon", "0", "--slot", "36E"}, "Широта должна быть от -90 до 90"},
      // A wrong locator says why.
      {{"locator", "KO85T"}, "Неверный QTH-локатор: нужно 6 символов"},
      {{"locator", "  KO85TS"}, "Неверный QTH-локатор: нужно 6 символов"},
      {{"locator", "KS85TS"}, "Неверный QTH-локатор: 1-й и 2-й символы — буквы от A до R"},
      {{"locator", "KOX5TS"}, "Неверный QTH-локатор: 3-й и 4-й символы — цифры"},
      {{"locator", " KO85TY"}, "Неверный QTH-локатор: 5-й и 6-й символы — буквы от A до X"},
      // A settings file that is not there is named as such.
      {{"sun", "--place", "Москва", "--settings", "/nonexistent/k.INI"}, "settings file /nonexistent/k.INI does not exist"},
      {{"places", "--settings", "/nonexistent/k.INI"}, "settings file /nonexistent/k.INI does not exist"},
      {{"sat", "--lat", "89", "--lon", "-121", "--magnetic", "--date", "2025-01-01"},  // beside the dip pole
       "Компас здесь непригоден: слишком слабое горизонтальное поле"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, std::string(c.message) + "\n");
    EXPECT_EQ(run.out, "");  // no partial table
  }
}

TEST(CliErrors, UsageErrorsExitWithTwoAndShowTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {},                                                          // no command
      {"moon"},                                                    // unknown command
      {"sun", "--lon", "37.62"},                                   // latitude missing
      {"sat", "--lat", "55.75"},                                   // longitude missing
      {"sun", "--lat", "55.75", "--lon", "37.62", "--format", "xml"},  // unknown format
      {"sun", "--lat", "55.75", "--lon", "37.62", "--gmt", "3", "--msk", "0"},  // two zones
      {"sun", "--lat", "55.75", "--lon", "37.62", "--angle", "6", "--height", "1"},  // two twilights
      {"sun", "--lat", "55.75", "--lon", "37.62", "--month", "13"},  // no such month
      {"sun", "--lat", "55.75", "--lon", "37.62", "--colour"},     // unknown option
      {"sun", "--lat", "55.75", "--lon"},                          // option without its value
      {"locator"},                                                 // nothing to convert
      {"outage", "--lat", "55.75", "--lon", "37.62"},              // no slot
      {"align", "--lat", "55.75", "--lon", "37.62", "--slot", "0", "--days", "0"},       // no day
      {"align", "--lat", "55.75", "--lon", "37.62", "--slot", "0", "--format", "csv"},  // text or json only
      {"sat", "--lat", "55.75", "--lon", "37.62", "--date", "2026-06-01"},  // a date without --magnetic
      {"declination", "--lat", "55.75", "--lon", "37.62", "--date", "2026-02-30"},  // no such day
      {"declination", "--lat", "55.75", "--lon", "37.62", "--date", "1.6.2026"},    // not YYYY-MM-DD
      {"declination", "--lat", "55.75", "--lon", "37.62", "--format", "csv"},       // no table to print
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace kelmar
