// The export without an office: names, header texts, the order of the calls, backups, messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/calc_error.h"
#include "core/outage.h"
#include "core/table_text.h"
#include "export/excel_export.h"
#include "export/file_backup.h"
#include "export_support.h"
#include "fake_office.h"

namespace kelmar::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ExportFileNames, FromPlaceMonthAndSeconds) {
  struct Case {
    std::string place;
    std::uint16_t month;
    bool seconds;
    std::string sun, sat;
  };
  const Case cases[] = {
      {"Самара", 3, true, "Сама_3с.xls", "Сама_Sat.xls"},      // four Cyrillic characters, not bytes
      {"Самара", 12, false, "Сама_12.xls", "Сама_Sat.xls"},    // no leading zero, no suffix
      {"Самара", 12, true, "Сама_12с.xls", "Сама_Sat.xls"},    // the Cyrillic "с" suffix
      {"Уфа", 5, false, "Уфа_5.xls", "Уфа_Sat.xls"},           // shorter names are used whole
      {" LO56CD", 1, false, " LO5_1.xls", " LO5_Sat.xls"},     // a locator keeps its leading space
      {"a/b/c", 2, false, "a_b__2.xls", "a_b__Sat.xls"},       // "/" cannot leave the folder
      {"../x", 2, false, "_._x_2.xls", "_._x_Sat.xls"},        // nor can a leading "." climb out
      {".hid", 7, false, "_hid_7.xls", "_hid_Sat.xls"},        // nor hide the file
      {std::string("a\0b", 3), 9, false, "a_b_9.xls", "a_b_Sat.xls"},  // NUL would cut the path
      {"", 4, false, "_4.xls", "_Sat.xls"},                    // empty place: the bare suffix
      {"Ёлки-Палки", 10, false, "Ёлки_10.xls", "Ёлки_Sat.xls"},  // two-byte letters, fifth dropped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.place);
    EXPECT_EQ(SunFileName(c.place, c.month, c.seconds), c.sun);
    EXPECT_EQ(SatFileName(c.place), c.sat);
  }
}

TEST(ExportFileNames, OutagesBySlotAndYear) {
  struct Case {
    std::string place, slot;
    int year;
    std::string file;
  };
  const Case cases[] = {
      {"Москва", "36 E", 2026, "Моск_36E_2026.xls"},  // the slot without its blank
      {"Уфа", "19.2 E", 2027, "Уфа_19.2E_2027.xls"},  // decimals kept
      {"Уфа", "180", 2026, "Уфа_180_2026.xls"},       // a slot without a side
  };
  for (const auto& c : cases) EXPECT_EQ(OutFileName(c.place, c.slot, c.year), c.file);
  InputFields in;
  in.zone = ZoneKind::FromGmt;
  in.slot = "36e", in.dish = "1.2", in.frequency = "11.7";
  OutageTable t;
  t.slot = "36 E", t.angle = OutageAngleOf(in);
  EXPECT_EQ(OutageHeading(t, in), "Спутник: 36 E   Антенна: 1.2 м, 11.7 ГГц   Угол: 1.01°   Время: GMT+3");
}

TEST(ExportHeaderTexts, ZoneFromTheSelectedField) {
  struct Case {
    bool gmt;
    std::string text, expected;
  };
  const Case cases[] = {
      {true, "3", "GMT+3"},        // positive: "+" and the text as typed
      {true, "+3", "GMT++3"},      // its own plus sign is kept too
      {true, "0", "GMT"},          // zero: nothing appended
      {true, "-2.5", "GMT-2.5"},   // negative: the text's own minus
      {false, "-1", "MSK-1"},      // Moscow time
      {false, "0", "MSK"},
      {true, "3.50", "GMT+3.50"},  // not normalised
  };
  for (const auto& c : cases) {
    InputFields f;
    f.zone = c.gmt ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
    (c.gmt ? f.gmt_offset : f.msk_offset) = c.text;
    (c.gmt ? f.msk_offset : f.gmt_offset) = "junk";  // the other field is never read
    EXPECT_EQ(ZoneText(f), c.expected) << c.text;
  }
  InputFields bad;
  bad.zone = ZoneKind::FromGmt;
  bad.gmt_offset = "abc";
  try {
    ZoneText(bad);
    ADD_FAILURE() << "no error";
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
}

TEST(ExportHeaderTexts, TwilightByAngleOrHeight) {
  InputFields f;
  f.twilight = TwilightKind::ByAngle;
  f.twilight_angle = "6";
  f.twilight_height = "junk";
  EXPECT_EQ(TwilightText(f), "Угол=6гр.");
  f.twilight = TwilightKind::ByHeight;
  f.twilight_height = "12.345";
  EXPECT_EQ(TwilightText(f), "Высота=12.345км");
}

// A program folder with both templates, a recording office and an exporter driving it.
struct ExportEnv {
  ExportEnv() : exporter([this](const std::string&) { return office.Create(); }) {
    WriteFile(dir.Path() / "Sun.xls", "template");
    WriteFile(dir.Path() / "Sat.xls", "template");
    fields.zone = ZoneKind::FromGmt;
    fields.gmt_offset = "3";
  }
  ExcelRequest Request(int tab, std::string place = "Самара") {
    return ExcelRequest{.TabIndex = tab, .StringGridVos = sun, .StringGridSat = sat, .Fields = fields,
                        .PlaceName = std::move(place), .Locator = "LO43BF", .Month = 11,
                        .ExeDir = dir.Path().string()};  // no trailing slash: it is added
  }
  std::string Path(const std::string& name) const { return dir.Dir() + name; }

  TempDir dir;
  FakeOffice office;
  ExcelExporter exporter;
  TextGrid sun = SunGridOf(30);
  TextGrid sat = SatGridOf();
  InputFields fields;
};

class ExportCalls : public ::testing::Test, public ExportEnv {};

TEST_F(ExportCalls, SatelliteTabSendsItsStepsInOrder) {
  exporter.ButtonExcelClick(Request(1));
  EXPECT_THAT(office.log, ElementsAre("Create", "Visible=true", "Workbooks", "Open " + Path("Sat.xls"),
                                       "Worksheets Satel", "Activate Satel",
                                       "Worksheets Satel", "Range A5:S44", "Value A5:S44 40x19",
                                       "Worksheets Satel", "Cells(2,1)=Самара",
                                       "Workbooks", "Item " + Path("Сама_Sat.xls"),
                                       "SaveAs " + Path("Сама_Sat.xls")));
  const auto& block = office.values.at("A5:S44");
  for (int r = 1; r <= 40; ++r)
    for (int c = 0; c <= 18; ++c) ASSERT_EQ(block[r - 1][c], sat.Cell(c, r)) << r << "," << c;
  EXPECT_EQ(exporter.ExportFileName(), Path("Сама_Sat.xls"));
  EXPECT_EQ(exporter.ExeDir(), dir.Dir());
}

TEST_F(ExportCalls, CompassBearingsAreNotedBesideThePlace) {
  exporter.ButtonExcelClick(Request(1), "Азимут по компасу");
  EXPECT_THAT(office.log, ::testing::IsSupersetOf({"Cells(2,1)=Самара", "Cells(2,6)=Азимут по компасу"}));
  office.log.clear();
  exporter.ButtonExcelClick(Request(0), "Азимут по компасу");  // the sun workbook never carries it
  for (const std::string& call : office.log) EXPECT_EQ(call.find("Азимут"), std::string::npos) << call;
}

TEST_F(ExportCalls, SunTabSendsItsStepsInOrder) {
  exporter.ButtonExcelClick(Request(0));
  EXPECT_THAT(office.log,
              ElementsAre("Create", "Visible=true", "Workbooks", "Open " + Path("Sun.xls"), "Worksheets Sun",
                          "Activate Sun", "DisplayAlerts=true",
                          "Worksheets Sun", "Cells(3,1)=Время: GMT+3",
                          "Worksheets Sun", "Cells(3,8)=Сумерки: Угол=6гр.",
                          "Worksheets Sun", "Cells(3,4)=QTH-локатор: LO43BF",
                          "Worksheets Sun", "Range A5:I35", "Value A5:I35 31x9",
                          "Worksheets Sun", "Cells(2,2)=Самара",
                          "Worksheets Sun", "Cells(37,1)=    ",  // row 33 is empty: the joins are blanks
                          "Worksheets Sun", "Cells(37,6)=   ",
                          "Workbooks", "Item " + Path("Сама_11.xls"),
                          "SaveAs " + Path("Сама_11.xls")));
  const auto& block = office.values.at("A5:I35");
  for (int r = 1; r <= 31; ++r)
    for (int c = 0; c <= 8; ++c) ASSERT_EQ(block[r - 1][c], sun.Cell(c, r)) << r << "," << c;
  EXPECT_THAT(block[30], ::testing::Each(std::string()));  // a 30-day month: the 31st row is empty
}

TEST_F(ExportCalls, RowThirtyThreeIsJoinedWithItsSpaces) {
  for (int c = 0; c < 9; ++c) sun.SetCell(c, 33, "c" + std::to_string(c));
  exporter.ButtonExcelClick(Request(0));
  EXPECT_EQ((office.cells[{37, 1}]), "c0  c1  c2");
  EXPECT_EQ((office.cells[{37, 6}]), "c5  c6 c7");
}

TEST_F(ExportCalls, AnyTabButOneIsTheSun) {
  exporter.ButtonExcelClick(Request(2));
  EXPECT_EQ(office.log.at(3), "Open " + Path("Sun.xls"));
}

TEST_F(ExportCalls, EachClickRequestsANewApplicationAndClosesNothing) {
  exporter.ButtonExcelClick(Request(0));
  exporter.ButtonExcelClick(Request(1));
  EXPECT_EQ(office.apps_created, 2);
  EXPECT_EQ(office.apps_alive, 1);  // the first reference was released on replacement
  // Releasing is all that happened to the first application and workbook.
  for (const auto& entry : office.log) EXPECT_THAT(entry, ::testing::Not(HasSubstr("Close")));
  EXPECT_NE(std::find(office.log.begin(), office.log.end(), "~Application"), office.log.end());
}

TEST_F(ExportCalls, WithoutAPlaceNothingIsWritten) {
  try {
    exporter.ButtonExcelClick(Request(0, ""));
    ADD_FAILURE() << "no error";
  } catch (const ExportError& e) {
    EXPECT_STREQ(e.what(), "Сначала выберите или добавьте пункт");
  }
  EXPECT_TRUE(office.log.empty());  // not even the office is started
  EXPECT_FALSE(fs::exists(Path("_11.xls")));
}

TEST_F(ExportCalls, ExistingOutputIsReplacedAndNoBackupRemains) {
  WriteFile(Path("Сама_11.xls"), "old export");
  exporter.ButtonExcelClick(Request(0));
  EXPECT_EQ(ReadFile(Path("Сама_11.xls")), "saved by fake");
  EXPECT_FALSE(fs::exists(BackupPathFor(Path("Сама_11.xls"))));
}

// Installed, the templates stay where they are and each workbook goes to a folder made for it;
// a backup an interrupted export left there is put back before the save replaces the workbook.
TEST_F(ExportCalls, AWorkbookFolderOfItsOwnIsMadeOnDemand) {
  WriteFile(dir.Path() / "Out.xls", "template");
  office.sheet_names.push_back("Out");
  OutageTable no_outages;
  no_outages.slot = "0";
  const struct {
    int tab;
    const char* tmpl;
    const char* file;
  } cases[] = {{0, "Sun.xls", "Сама_11.xls"}, {1, "Sat.xls", "Сама_Sat.xls"}, {2, "Out.xls", "Сама_0_2000.xls"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    office.log.clear();
    ExcelRequest r = Request(c.tab);
    r.SaveDir = Path("Documents/Kelmar");
    r.Outage = &no_outages;
    r.Year = 2000;
    if (c.tab == 0) {
      fs::create_directories(Path("Documents/Kelmar"));
      WriteFile(BackupPathFor(Path(std::string("Documents/Kelmar/") + c.file)), "left by a kill");
    }
    exporter.ButtonExcelClick(r);
    EXPECT_THAT(office.log, Contains("Open " + Path(c.tmpl)));
    EXPECT_EQ(ReadFile(Path(std::string("Documents/Kelmar/") + c.file)), "saved by fake");
    EXPECT_FALSE(fs::exists(BackupPathFor(Path(std::string("Documents/Kelmar/") + c.file))));
  }
}

// The line about cut times goes one row below the last outage, as in the window; without it
// the sheet is as before.
TEST_F(ExportCalls, CutTimesExplainedUnderTheOutages) {
  WriteFile(dir.Path() / "Out.xls", "template");
  office.sheet_names.push_back("Out");
  OutageTable t;
  t.rows.resize(3);
  for (const bool cut : {true, false}) {  // header and three rows: A5:F7
    office.log.clear();
    t.rows[1].cut = cut ? OutageCut::End : OutageCut::None;
    ExcelRequest r = Request(2);
    r.Outage = &t;
    exporter.ButtonExcelClick(r);
    const std::string note = std::string("Cells(9,1)=") + kOutageCutNote;
    EXPECT_EQ(std::count(office.log.begin(), office.log.end(), note), cut ? 1 : 0);
    EXPECT_EQ(std::count_if(office.log.begin(), office.log.end(), [](const std::string& e) { return e.starts_with("Cells(9,"); }),
              cut ? 1 : 0);
  }
}

// Each failure stops the export with a message naming the file, and the previous export stays.
TEST(ExportFailures, ClearMessagesAndThePreviousExportKept) {
  struct Case {
    const char* what;
    int tab;
    std::function<void(ExportEnv&)> arrange;
    std::string message;  // the whole text, or its start when prefix_only
    bool prefix_only;
    std::string last_call;  // the export stops right there
  };
  const Case cases[] = {
      {"template missing", 0, [](ExportEnv& e) { fs::remove(e.dir.Path() / "Sun.xls"); },
       "Не найден шаблон {}Sun.xls", false, "Visible=true"},
      {"worksheet missing", 1, [](ExportEnv& e) { e.office.sheet_names = {"Лист1"}; },
       "В шаблоне {}Sat.xls нет листа Satel", false, "Worksheets Satel"},
      {"save rejected", 0, [](ExportEnv& e) { e.office.fail_on = "SaveAs"; },
       "Не удалось сохранить {}Сама_11.xls", false, "~Workbook"},  // closed: no untitled workbook stays
      {"open rejected", 0, [](ExportEnv& e) { e.office.fail_on = "Open"; },
       "Не удалось открыть шаблон {}Sun.xls (LibreOffice: office says no", true, "Open {}Sun.xls"},
      {"cell rejected", 1, [](ExportEnv& e) { e.office.fail_on = "Cells"; },
       "Не удалось заполнить {}Sat.xls (LibreOffice: office says no", true, "Cells(2,1)=Самара"},
      {"office cannot start", 1, [](ExportEnv& e) { e.office.fail_on = "Create"; },
       "Не удалось запустить LibreOffice Calc: office says no: Create", false, "Create"},
  };
  const auto fill = [](std::string text, const std::string& dir) {
    if (auto at = text.find("{}"); at != std::string::npos) text.replace(at, 2, dir);
    return text;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ExportEnv env;
    const std::string out = c.tab == 1 ? env.Path("Сама_Sat.xls") : env.Path("Сама_11.xls");
    WriteFile(out, "previous export");
    c.arrange(env);
    try {
      env.exporter.ButtonExcelClick(env.Request(c.tab));
      ADD_FAILURE() << "no error";
    } catch (const ExportError& e) {
      const std::string expected = fill(c.message, env.dir.Dir());
      if (c.prefix_only) EXPECT_THAT(e.what(), ::testing::StartsWith(expected));
      else EXPECT_EQ(e.what(), expected);
    }
    EXPECT_EQ(env.office.log.back(), fill(c.last_call, env.dir.Dir()));
    EXPECT_EQ(ReadFile(out), "previous export");
    EXPECT_FALSE(fs::exists(BackupPathFor(out)));
  }
}

TEST(ExportFailures, ZoneFieldNotANumberStopsAfterTheTemplateIsActive) {
  ExportEnv env;
  env.fields.gmt_offset = "abc";
  try {
    env.exporter.ButtonExcelClick(env.Request(0));
    ADD_FAILURE() << "no error";
  } catch (const ExportError&) {
    ADD_FAILURE() << "the conversion error is the computations' own";
  } catch (const CalcError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(env.office.log.back(), "DisplayAlerts=true");
  EXPECT_NE(env.exporter.ExcelBook(), nullptr);  // the template stays open for the user
}

TEST(ExportFailures, MissingPluginNamesTheModule) {
  TempDir dir;
  OfficeOptions options;
  options.PluginPath = dir.Dir() + "libkelmar_calc.so";
  ExcelExporter exporter(options);
  TextGrid sun = SunGridOf(31), sat = SatGridOf();
  InputFields fields;
  try {
    exporter.ButtonExcelClick({.TabIndex = 0, .StringGridVos = sun, .StringGridSat = sat, .Fields = fields,
                               .PlaceName = "Уфа", .Locator = "", .Month = 1, .ExeDir = dir.Dir()});
    ADD_FAILURE() << "no error";
  } catch (const ExportError& e) {
    EXPECT_THAT(e.what(), ::testing::StartsWith("Не удалось запустить LibreOffice Calc: "));
    EXPECT_THAT(e.what(), HasSubstr(dir.Dir() + "libkelmar_calc.so"));
  }
  EXPECT_EQ(exporter.ExcelApp(), nullptr);
}

TEST(ExportBackup, MovesOnlyARegularFileAsideAndSettlesIt) {
  TempDir dir;
  const std::string file = dir.Dir() + "Сама_3с.xls";
  EXPECT_EQ(BackupPathFor(file), dir.Dir() + ".~Сама_3с.xls.kelmar-backup");

  struct Case {
    const char* what;
    const char* file_there;  // nullptr: nothing, "<dir>": a folder, else the file's text
    bool backup_there;       // a backup left by an export killed before its save
    bool save_succeeds;
    std::string expect_at_path;  // "<dir>" = the folder
    bool backup_left;
  };
  const Case cases[] = {
      {"nothing there, saved", nullptr, false, true, "new", false},
      {"old file, saved: replaced, older backup gone", "old", true, true, "new", false},
      {"old file, save failed half-way: old file back", "old", true, false, "old", false},
      {"killed before the save: its backup is the workbook again", nullptr, true, false, "backup", false},
      {"killed before the save, saved now", nullptr, true, true, "new", false},
      {"a folder in the way: neither it nor the backup is moved", "<dir>", true, false, "<dir>", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(file);
    fs::remove(BackupPathFor(file));
    const bool folder = c.file_there && std::string(c.file_there) == "<dir>";
    if (folder) fs::create_directory(file);
    else if (c.file_there) WriteFile(file, c.file_there);
    if (c.backup_there) WriteFile(BackupPathFor(file), "backup");
    {
      FileBackup backup(file);
      EXPECT_EQ(backup.Active(), !folder && (c.file_there || c.backup_there));
      if (!folder) WriteFile(file, c.save_succeeds ? "new" : "half");
      if (c.save_succeeds) backup.Discard();
      else backup.Restore();
    }
    if (folder) EXPECT_TRUE(fs::is_directory(file));
    else EXPECT_EQ(ReadFile(file), c.expect_at_path);
    EXPECT_EQ(fs::exists(BackupPathFor(file)), c.backup_left);
  }
}

TEST(ExportBackup, AnUnsettledBackupIsPutBack) {
  TempDir dir;
  const std::string file = dir.Dir() + "x.xls";
  WriteFile(file, "old");
  { FileBackup backup(file); }  // e.g. an exception that nobody expected
  EXPECT_EQ(ReadFile(file), "old");
}

}  // namespace
}  // namespace kelmar::testing
