// The export into a real headless LibreOffice Calc, read back with an independent reader (xlrd).
// One private office serves the whole suite; it is started by the first export, as the window
// would start it, and killed at the end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <thread>

#include "core/outage.h"
#include "core/table_text.h"
#include "export/excel_export.h"
#include "export/file_backup.h"
#include "export_support.h"
#include "office_support.h"

namespace kelmar::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kBinDir = KELMAR_TEST_BIN_DIR;
const std::string kPlugin = kBinDir + "/libkelmar_calc.so";
const std::string kReader = KELMAR_TEST_READ_XLS;

struct Cell {
  std::string kind, text;
  bool operator==(const Cell&) const = default;
};
using Sheet = std::map<std::pair<int, int>, Cell>;  // (row, column) from 1 → cell

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char n = s[++i];
      out += n == 't' ? '\t' : n == 'n' ? '\n' : n;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Reads a worksheet with xlrd; fails the test when the file is not a readable workbook.
Sheet ReadBack(const std::string& path, const std::string& sheet_name) {
  Sheet sheet;
  const std::string cmd = "/usr/bin/python3 '" + kReader + "' '" + path + "' '" + sheet_name + "'";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) {
    ADD_FAILURE() << "cannot run " << cmd;
    return sheet;
  }
  std::string all;
  char buf[4096];
  while (std::size_t n = fread(buf, 1, sizeof buf, p)) all.append(buf, n);
  const int rc = pclose(p);
  EXPECT_EQ(rc, 0) << "reading " << path << " failed";
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = all.find('\n', start);
    const std::string line = all.substr(start, end - start);
    start = end == std::string::npos ? all.size() : end + 1;
    const auto t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
    if (t3 == std::string::npos) continue;
    sheet[{std::stoi(line.substr(0, t1)), std::stoi(line.substr(t1 + 1, t2 - t1 - 1))}] =
        Cell{line.substr(t2 + 1, t3 - t2 - 1), Unescape(line.substr(t3 + 1))};
  }
  return sheet;
}

// What a cell should hold: a text, or nothing for an empty text.
void ExpectText(const Sheet& sheet, int row, int col, const std::string& text) {
  const auto it = sheet.find({row, col});
  if (text.empty()) {
    EXPECT_TRUE(it == sheet.end()) << "R" << row << "C" << col << " holds '" << it->second.text << "'";
    return;
  }
  ASSERT_TRUE(it != sheet.end()) << "R" << row << "C" << col << " is empty, expected '" << text << "'";
  EXPECT_EQ(it->second, (Cell{"text", text})) << "R" << row << "C" << col;
}

// The grid's body lands at sheet row r + 4, column c + 1, every cell a text.
void ExpectBody(const Sheet& sheet, const TextGrid& grid, int last_row) {
  for (int r = 1; r <= last_row; ++r)
    for (int c = 0; c < grid.ColCount(); ++c) ExpectText(sheet, r + 4, c + 1, grid.Cell(c, r));
}

class OfficeExport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    office_ = std::make_unique<PrivateOffice>();
    exporter_ = std::make_unique<ExcelExporter>(office_->Options(kPlugin));
  }
  static void TearDownTestSuite() {
    exporter_.reset();  // releases the office's objects while it still runs
    office_.reset();
  }

  void SetUp() override {
#ifdef KELMAR_TEST_NO_OFFICE
    GTEST_SKIP() << KELMAR_TEST_NO_OFFICE;
#endif
    fs::copy_file(kBinDir + "/Sun.xls", dir_.Path() / "Sun.xls");
    fs::copy_file(kBinDir + "/Sat.xls", dir_.Path() / "Sat.xls");
    fs::copy_file(kBinDir + "/Out.xls", dir_.Path() / "Out.xls");
    fields_.zone = ZoneKind::FromGmt;
    fields_.gmt_offset = "3";
  }

  ExcelRequest Request(int tab, std::string place = "Самара", std::uint16_t month = 11) {
    return ExcelRequest{.TabIndex = tab, .StringGridVos = sun_, .StringGridSat = sat_, .Fields = fields_,
                        .PlaceName = std::move(place), .Locator = "LO43BF", .Month = month,
                        .ExeDir = dir_.Dir()};
  }
  std::string Path(const std::string& name) const { return dir_.Dir() + name; }
  // Runs one export; returns the error text, "" on success.
  std::string Export(const ExcelRequest& request, const std::string& sat_note = {}) {
    try {
      exporter_->ButtonExcelClick(request, sat_note);
      return "";
    } catch (const std::exception& e) {
      return e.what();
    }
  }

  static std::unique_ptr<PrivateOffice> office_;
  static std::unique_ptr<ExcelExporter> exporter_;
  TempDir dir_;
  TextGrid sun_ = SunGridOf(30);
  TextGrid sat_ = SatGridOf();
  InputFields fields_;
};

std::unique_ptr<PrivateOffice> OfficeExport::office_;
std::unique_ptr<ExcelExporter> OfficeExport::exporter_;

TEST_F(OfficeExport, SunTableOfAThirtyDayMonth) {
  ASSERT_EQ(Export(Request(0)), "");
  const std::string out = Path("Сама_11.xls");
  EXPECT_EQ(exporter_->ExportFileName(), out);
  const Sheet sheet = ReadBack(out, "Sun");
  ExpectBody(sheet, sun_, 31);  // row 35 (the 31st day) stays empty
  for (int c = 1; c <= 9; ++c) ExpectText(sheet, 35, c, "");
  ExpectText(sheet, 2, 2, "Самара");
  ExpectText(sheet, 3, 1, "Время: GMT+3");
  ExpectText(sheet, 3, 4, "QTH-локатор: LO43BF");
  ExpectText(sheet, 3, 8, "Сумерки: Угол=6гр.");
  ExpectText(sheet, 37, 1, "    ");
  ExpectText(sheet, 37, 6, "   ");
  // The template's own texts are still there.
  ExpectText(sheet, 1, 1, "Восход и заход Солнца");
  ExpectText(sheet, 4, 1, "Дата");
  ExpectText(sheet, 4, 9, "Веч. сумер.");
  EXPECT_FALSE(fs::exists(BackupPathFor(out)));
}

TEST_F(OfficeExport, SatelliteTable) {
  ASSERT_EQ(Export(Request(1)), "");
  const std::string out = Path("Сама_Sat.xls");
  const Sheet sheet = ReadBack(out, "Satel");
  ExpectBody(sheet, sat_, 40);
  ExpectText(sheet, 2, 1, "Самара");
  ExpectText(sheet, 4, 1, "Спутник");
  ExpectText(sheet, 4, 19, "Коррекц.");
  EXPECT_EQ(sheet.count({45, 1}), 0u);
  EXPECT_EQ(sheet.count({2, 6}), 0u);  // true azimuths: nothing beside the place
  // Compass bearings say so beside the place name.
  const std::string note = "Азимут по компасу, склонение 12.1° В (WMM2025, 08.12.2025)";
  ASSERT_EQ(Export(Request(1), note), "");
  const Sheet again = ReadBack(out, "Satel");
  ExpectText(again, 2, 1, "Самара");
  ExpectText(again, 2, 6, note);
}

TEST_F(OfficeExport, OutageTable) {
  struct Case {
    const char* slot;
    std::string file;
    const char* note;  // a hidden slot: the line instead of the table
  };
  const Case cases[] = {
      {"36e", "Сама_36E_2026.xls", ""},
      {"140 W", "Сама_140W_2026.xls", "Спутник 140 W не виден из этого пункта"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    fields_.latitude = "53.2", fields_.longitude = "50.15", fields_.slot = c.slot;
    const OutageTable table = ComputeOutages(fields_, 2026);
    const TextGrid out = MakeOutageGrid(table);
    ExcelRequest request = Request(2);  // the outage tab
    request.Outage = &table;
    request.Year = 2026;
    ASSERT_EQ(Export(request), "");
    EXPECT_EQ(exporter_->ExportFileName(), Path(c.file));
    const Sheet sheet = ReadBack(Path(c.file), "Out");
    ExpectText(sheet, 1, 1, "Солнечная интерференция");
    ExpectText(sheet, 2, 2, "Самара");
    ExpectText(sheet, 3, 1, OutageHeading(table, fields_));
    ExpectText(sheet, 4, 2, "Начало");
    ExpectBody(sheet, out, out.RowCount() - 1);
    if (*c.note) ExpectText(sheet, 5, 1, c.note);
    EXPECT_EQ(out.RowCount() > 10, *c.note == 0);
  }
}

TEST_F(OfficeExport, ZoneAndTwilightHeaderTexts) {
  struct Case {
    bool gmt;
    std::string zone_field;
    bool by_angle;
    std::string a3, h3;
  };
  const Case cases[] = {
      {true, "3", true, "Время: GMT+3", "Сумерки: Угол=6гр."},              // positive offset
      {true, "+3", false, "Время: GMT++3", "Сумерки: Высота=12.345км"},     // as typed; twilight by height
      {true, "0", true, "Время: GMT", "Сумерки: Угол=6гр."},                // zero: the bare name
      {false, "-1", true, "Время: MSK-1", "Сумерки: Угол=6гр."},            // Moscow time, negative
      {true, "-2.5", true, "Время: GMT-2.5", "Сумерки: Угол=6гр."},         // half hours
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a3);
    fields_.zone = c.gmt ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
    (c.gmt ? fields_.gmt_offset : fields_.msk_offset) = c.zone_field;
    fields_.twilight = c.by_angle ? TwilightKind::ByAngle : TwilightKind::ByHeight;
    ASSERT_EQ(Export(Request(0)), "");
    const Sheet sheet = ReadBack(Path("Сама_11.xls"), "Sun");
    ExpectText(sheet, 3, 1, c.a3);
    ExpectText(sheet, 3, 8, c.h3);
  }
}

TEST_F(OfficeExport, FileNamesFromPlaceMonthAndSeconds) {
  struct Case {
    int tab;
    std::string place;
    std::uint16_t month;
    bool seconds;
    std::string file;
  };
  const Case cases[] = {
      {0, "Уфа", 5, false, "Уфа_5.xls"},               // three characters, used whole
      {1, " LO56CD", 5, false, " LO5_Sat.xls"},        // a locator keeps its leading space
      {0, "Н/Новгород", 12, true, "Н_Но_12с.xls"},     // "/" stays inside the folder; seconds suffix
      {0, "Самара", 12, false, "Сама_12.xls"},         // no suffix without seconds
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    fields_.seconds = c.seconds;
    ASSERT_EQ(Export(Request(c.tab, c.place, c.month)), "");
    EXPECT_EQ(exporter_->ExportFileName(), Path(c.file));
    ExpectText(ReadBack(Path(c.file), c.tab == 1 ? "Satel" : "Sun"), 2, c.tab == 1 ? 1 : 2, c.place);
  }
}

TEST_F(OfficeExport, ExistingExportIsReplaced) {
  // Twice the same export: the first workbook is still open in the office, bound to the name.
  ASSERT_EQ(Export(Request(0)), "");
  sun_.SetCell(1, 1, "05:55");
  ASSERT_EQ(Export(Request(0)), "");
  ExpectText(ReadBack(Path("Сама_11.xls"), "Sun"), 5, 2, "05:55");
  // A foreign file of that name is replaced as well.
  WriteFile(Path("Сама_Sat.xls"), "not a workbook");
  ASSERT_EQ(Export(Request(1)), "");
  ExpectText(ReadBack(Path("Сама_Sat.xls"), "Satel"), 2, 1, "Самара");
  EXPECT_FALSE(fs::exists(BackupPathFor(Path("Сама_11.xls"))));
  EXPECT_FALSE(fs::exists(BackupPathFor(Path("Сама_Sat.xls"))));
}

// The previous export still open in the office: it makes way unless it holds unsaved changes,
// which stop the export instead. Either way one document stands for the file, none untitled.
TEST_F(OfficeExport, WorkbookStillOpenInTheOffice) {
  const std::string out = Path("Сама_11.xls");
  const std::string busy = "Книга " + out + " открыта в Calc и изменена. Сохраните или закройте её в Calc и повторите.";
  for (const bool modified : {false, true}) {
    SCOPED_TRACE(modified ? "modified" : "unchanged");
    sun_.SetCell(1, 1, "04:00");
    ASSERT_EQ(Export(Request(0)), "");
    const std::string before = ReadFile(out);
    auto books = exporter_->ExcelApp()->Workbooks();
    // Made through another link to the folder: the same file all the same.
    const std::string link = Path("link");
    fs::create_directory_symlink(dir_.Path(), link);
    if (modified) books->Item(link + "/Сама_11.xls")->Worksheets("Sun")->Cells(40, 1, "user's note");
    const int open = books->Count();
    sun_.SetCell(1, 1, "05:55");
    EXPECT_EQ(Export(Request(0)), modified ? busy : "");
    EXPECT_EQ(books->Count(), open);  // the old one closed for the new one, or the new one closed
    auto shown = books->Item(out);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Saved(), !modified);  // the user's changes are still there
    if (modified) EXPECT_EQ(ReadFile(out), before);
    else ExpectText(ReadBack(out, "Sun"), 5, 2, "05:55");
    EXPECT_FALSE(fs::exists(BackupPathFor(out)));
    shown->Close();
    fs::remove(link);
  }
}

// Each failure gives its message and leaves the previous export as it was.
TEST_F(OfficeExport, FailuresKeepThePreviousExport) {
  ASSERT_EQ(Export(Request(0)), "");
  ASSERT_EQ(Export(Request(1)), "");
  const std::string sun_out = Path("Сама_11.xls"), sat_out = Path("Сама_Sat.xls");
  const std::string sun_before = ReadFile(sun_out), sat_before = ReadFile(sat_out);

  struct Case {
    const char* what;
    int tab;
    std::function<void()> arrange, undo;
    std::string message;
  };
  std::vector<Case> cases = {
      {"template missing", 0, [&] { fs::rename(Path("Sun.xls"), Path("Sun.xls.away")); },
       [&] { fs::rename(Path("Sun.xls.away"), Path("Sun.xls")); }, "Не найден шаблон " + Path("Sun.xls")},
      {"worksheet missing", 0,
       [&] {
         fs::rename(Path("Sun.xls"), Path("Sun.xls.away"));
         fs::copy_file(Path("Sat.xls"), Path("Sun.xls"));  // a workbook without "Sun"
       },
       [&] {
         fs::remove(Path("Sun.xls"));
         fs::rename(Path("Sun.xls.away"), Path("Sun.xls"));
       },
       "В шаблоне " + Path("Sun.xls") + " нет листа Sun"},
  };
  // A file that is no workbook fails at once, never offered to the user as text to import.
  for (const std::string& bytes : {std::string("\xD0\xCF\x11\xE0 broken", 11), std::string("\x13\x9a q\x01 7", 7)}) {
    cases.push_back({"template not a workbook", 1,
                     [&, bytes] {
                       fs::rename(Path("Sat.xls"), Path("Sat.xls.away"));
                       WriteFile(Path("Sat.xls"), bytes);
                     },
                     [&] {
                       fs::remove(Path("Sat.xls"));
                       fs::rename(Path("Sat.xls.away"), Path("Sat.xls"));
                     },
                     "Не удалось открыть шаблон " + Path("Sat.xls")});
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    c.arrange();
    EXPECT_THAT(Export(Request(c.tab)), StartsWith(c.message));
    c.undo();
    EXPECT_EQ(ReadFile(sun_out), sun_before);
    EXPECT_EQ(ReadFile(sat_out), sat_before);
  }
}

TEST_F(OfficeExport, SaveThatCannotBeWritten) {
  // Root writes anywhere, but not over a folder.
  fs::create_directory(Path("Сама_Sat.xls"));
  WriteFile(Path("Сама_Sat.xls") + "/keep.txt", "mine");
  EXPECT_EQ(Export(Request(1)), "Не удалось сохранить " + Path("Сама_Sat.xls"));
  EXPECT_EQ(ReadFile(Path("Сама_Sat.xls") + "/keep.txt"), "mine");
  // The office is still usable afterwards.
  EXPECT_EQ(Export(Request(0)), "");
}

// At the close an office the export started is ended when every export failed before a workbook
// stayed open (a bad zone, a folder that takes no file); one showing a saved workbook stays.
TEST(OfficeAtClose, AnOfficeLeftWithNothingToShowIsEnded) {
#ifdef KELMAR_TEST_NO_OFFICE
  GTEST_SKIP() << KELMAR_TEST_NO_OFFICE;
#endif
  struct Case {
    const char* what;
    bool read_only, bad_zone, stays;
  } cases[] = {
      {"a zone that is no number", false, true, false},
      {"a folder that takes no file", true, false, false},
      {"a saved workbook", false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    fs::copy_file(kBinDir + "/Out.xls", dir.Path() / "Out.xls");
    PrivateOffice office;
    ExcelExporter exporter(office.Options(kPlugin));
    TextGrid sun = SunGridOf(31), sat = SatGridOf();
    InputFields fields;
    if (c.bad_zone) fields.msk_offset = "abc";
    OutageTable out;
    out.slot = "0";
    // Root writes into any folder, but not where a folder stands in the way of the file.
    if (c.read_only) fs::create_directory(dir.Path() / OutFileName("Уфа", out.slot, 2026));
    try {
      exporter.ButtonExcelClick({.TabIndex = 2, .StringGridVos = sun, .StringGridSat = sat, .Fields = fields,
                                 .PlaceName = "Уфа", .Locator = "", .Month = 1, .ExeDir = dir.Dir(),
                                 .Outage = &out, .Year = 2026});
      EXPECT_TRUE(c.stays) << "no error";
    } catch (const std::exception& e) {
      EXPECT_FALSE(c.stays) << e.what();
    }
    ASSERT_TRUE(office.Running());
    exporter.QuitIdleOffice();
    bool running = true;
    for (int i = 0; i < 100 && running; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      running = office.Running();
      if (c.stays && i == 10) break;
    }
    EXPECT_EQ(running, c.stays);
  }
}

// An office that is not there, or ends without ever answering, is named as the reason; nothing
// in the folder is touched.
TEST(OfficeMissing, ExportSaysTheOfficeCannotStart) {
#ifdef KELMAR_TEST_NO_OFFICE
  GTEST_SKIP() << KELMAR_TEST_NO_OFFICE;
#endif
  struct Case {
    std::string program;  // "{}" is the test's folder
    std::string reason;
  };
  const Case cases[] = {
      {"{}no-office/soffice", "не найдена программа {}no-office/soffice"},
      {"/bin/false", "LibreOffice завершился, не открыв соединение"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const auto fill = [&](std::string text) {
      if (auto at = text.find("{}"); at != std::string::npos) text.replace(at, 2, dir.Dir());
      return text;
    };
    SCOPED_TRACE(c.program);
    fs::copy_file(kBinDir + "/Sun.xls", dir.Path() / "Sun.xls");
    WriteFile(dir.Path() / "Уфа_1.xls", "previous export");
    PrivateOffice never_started;  // its pipe has nobody behind it
    OfficeOptions options = never_started.Options(kPlugin);
    options.OfficeProgram = fill(c.program);
    ExcelExporter exporter(options);
    TextGrid sun = SunGridOf(31), sat = SatGridOf();
    InputFields fields;
    try {
      exporter.ButtonExcelClick({.TabIndex = 0, .StringGridVos = sun, .StringGridSat = sat, .Fields = fields,
                                 .PlaceName = "Уфа", .Locator = "", .Month = 1, .ExeDir = dir.Dir()});
      ADD_FAILURE() << "no error";
    } catch (const ExportError& e) {
      EXPECT_EQ(std::string(e.what()), "Не удалось запустить LibreOffice Calc: " + fill(c.reason));
    }
    EXPECT_EQ(ReadFile(dir.Path() / "Уфа_1.xls"), "previous export");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
    EXPECT_EQ(exporter.ExcelApp(), nullptr);
  }
}

}  // namespace
}  // namespace kelmar::testing
