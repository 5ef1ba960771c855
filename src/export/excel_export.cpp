#include "export/excel_export.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "core/calc_error.h"
#include "core/number_text.h"
#include "core/outage.h"
#include "core/table_text.h"
#include "core/utf8.h"
#include "export/file_backup.h"
#include "export/plugin_loader.h"

namespace kelmar {

namespace {

constexpr const char* kNoPlace = "Сначала выберите или добавьте пункт";

std::string WithSlash(std::string dir) {
  if (dir.empty()) return "./";
  if (dir.back() != '/') dir += '/';
  return dir;
}

// The table body as one block: grid rows 1..rows-1, columns 0..cols-1, texts as they stand.
automation::TextArray BodyOf(const TextGrid& grid, int last_row) {
  automation::TextArray block;
  block.reserve(static_cast<std::size_t>(last_row));
  for (int r = 1; r <= last_row; ++r) {
    auto& row = block.emplace_back();
    row.reserve(static_cast<std::size_t>(grid.ColCount()));
    for (int c = 0; c < grid.ColCount(); ++c) row.push_back(grid.Cell(c, r));
  }
  return block;
}

// One template being filled: every office failure is reported naming the template.
class Filling {
 public:
  Filling(automation::Workbook& book, std::string path, std::string sheet)
      : book_(book), path_(std::move(path)), sheet_(std::move(sheet)) {}

  // The worksheet is fetched afresh for every operation, as the office's object model expects.
  std::unique_ptr<automation::Worksheet> Sheet() {
    std::unique_ptr<automation::Worksheet> ws;
    Guard([&] { ws = book_.Worksheets(sheet_); });
    if (!ws) throw ExportError("В шаблоне " + path_ + " нет листа " + sheet_);
    return ws;
  }
  void Activate() {
    auto ws = Sheet();
    Guard([&] { ws->Activate(); });
  }
  void Cells(int row, int column, const std::string& text) {
    auto ws = Sheet();
    Guard([&] { ws->Cells(row, column, text); });
  }
  void RangeValue(const std::string& address, const automation::TextArray& values) {
    auto ws = Sheet();
    Guard([&] { ws->Range(address)->Value(values); });
  }

  template <class F>
  void Guard(F&& f) {
    try {
      f();
    } catch (const ExportError&) {
      throw;
    } catch (const std::exception& e) {
      throw ExportError("Не удалось заполнить " + path_ + " (LibreOffice: " + e.what() + ")");
    }
  }

 private:
  automation::Workbook& book_;
  std::string path_;
  std::string sheet_;
};

std::unique_ptr<automation::Workbook> OpenTemplate(automation::Application& app, const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) throw ExportError("Не найден шаблон " + path);
  try {
    auto book = app.Workbooks()->Open(path);
    if (!book) throw std::runtime_error("no workbook");
    return book;
  } catch (const std::exception& e) {
    throw ExportError("Не удалось открыть шаблон " + path + " (LibreOffice: " + e.what() + ")");
  }
}

// The new workbook is never left behind untitled when it cannot be saved.
void CloseUnsaved(std::unique_ptr<automation::Workbook>& book) {
  try {
    book->Close();
  } catch (const std::exception&) {
    // The office is gone or refuses: nothing more can be done about the document.
  }
  book.reset();
}

// Saves book under path. A workbook open in the office from that very file would stand in the way:
// it is closed when it holds nothing unsaved, while unsaved changes of the user stop the export.
// The previous file is only moved aside, so a failed save cannot lose it.
void SaveOver(automation::Application& app, std::unique_ptr<automation::Workbook>& book, const std::string& path) {
  const std::string failed = "Не удалось сохранить " + path;
  try {
    if (auto open = app.Workbooks()->Item(path)) {
      if (!open->Saved()) {
        CloseUnsaved(book);
        throw ExportError("Книга " + path + " открыта в Calc и изменена. Сохраните или закройте её в Calc и повторите.");
      }
      open->Close();
    }
  } catch (const ExportError&) {
    throw;
  } catch (const std::exception&) {
    CloseUnsaved(book);
    throw ExportError(failed);
  }
  FileBackup backup(path);
  try {
    book->SaveAs(path);
  } catch (const std::exception&) {
    backup.Restore();
    CloseUnsaved(book);
    throw ExportError(failed);
  }
  backup.Discard();
}

}  // namespace

std::string TwilightText(const InputFields& fields) {
  if (fields.ByAngle()) return "Угол=" + fields.twilight_angle + "гр.";
  return "Высота=" + fields.twilight_height + "км";
}

std::string PlacePrefix(const std::string& place_name) {
  // Four characters, not bytes.
  std::string prefix;
  int chars = 0;
  for (char ch : place_name) {
    if (!IsContinuationByte(ch) && ++chars > 4) break;
    prefix += ch;
  }
  // The prefix names a file inside the program's folder and nothing else.
  for (char& ch : prefix)
    if (ch == '/' || ch == '\0') ch = '_';
  if (!prefix.empty() && prefix.front() == '.') prefix.front() = '_';
  return prefix;
}

std::string SunFileName(const std::string& place_name, std::uint16_t month, bool seconds) {
  return PlacePrefix(place_name) + "_" + std::to_string(month) + (seconds ? "с" : "") + ".xls";
}

std::string SatFileName(const std::string& place_name) { return PlacePrefix(place_name) + "_Sat.xls"; }

std::string OutFileName(const std::string& place_name, const std::string& slot, int year) {
  std::string compact = slot;
  std::erase(compact, ' ');
  return PlacePrefix(place_name) + "_" + compact + "_" + std::to_string(year) + ".xls";
}

std::string OutageHeading(const OutageTable& table, const InputFields& fields) {
  return "Спутник: " + table.slot + "   Антенна: " + fields.dish + " м, " + fields.frequency +
         " ГГц   Угол: " + FormatTwoDecimals(table.angle) + "°   Время: " + ZoneText(fields);
}

ExcelExporter::ExcelExporter() : ExcelExporter(OfficeOptions{}) {}

ExcelExporter::ExcelExporter(OfficeOptions options)
    : create_app_([options = std::move(options)](const std::string& exe_dir) {
        return CreateCalcApplication(options, exe_dir);
      }) {}

ExcelExporter::ExcelExporter(AppFactory create_app) : create_app_(std::move(create_app)) {}

ExcelExporter::~ExcelExporter() = default;

void ExcelExporter::QuitIdleOffice() noexcept {
  if (!app_) return;
  try {
    app_->Quit();
  } catch (...) {
    // An office already gone or refusing: nothing is left to end.
  }
}

void ExcelExporter::ButtonExcelClick(const ExcelRequest& request, const std::string& sat_note) {
  // Without a place the workbook would be named by its suffix alone and hold empty tables.
  if (request.PlaceName.empty()) throw ExportError(kNoPlace);
  const std::string exe_dir = WithSlash(request.ExeDir);

  // A new application object replaces the previous one; the old workbook stays open.
  std::unique_ptr<automation::Application> app;
  try {
    app = create_app_(exe_dir);
    if (!app) throw std::runtime_error("нет объекта приложения");
  } catch (const ExportError&) {
    throw;
  } catch (const std::exception& e) {
    throw ExportError(kStartFailed + std::string(e.what()));
  }
  app_ = std::move(app);
  try {
    app_->Visible(true);
  } catch (const std::exception& e) {
    throw ExportError(kStartFailed + std::string(e.what()));
  }

  exe_dir_ = exe_dir;
  const std::string save_dir = request.SaveDir.empty() ? exe_dir_ : WithSlash(request.SaveDir);
  // A workbook made from the template file, its sheet in front.
  auto from_template = [&](const char* file, const char* sheet_name) {
    const std::string path = exe_dir_ + file;
    book_ = OpenTemplate(*app_, path);
    Filling sheet(*book_, path, sheet_name);
    sheet.Activate();
    return sheet;
  };

  // The selected tab's table into a workbook made from its template, headed with the place (the
  // sun table also with its zone, twilight and locator, the outage table with its slot, dish and
  // angle), and the name it is saved under.
  if (request.TabIndex == 2 && request.Outage != nullptr) {
    const OutageTable& table = *request.Outage;
    const TextGrid grid = MakeOutageGrid(table);
    const std::string heading = OutageHeading(table, request.Fields);
    Filling sheet = from_template("Out.xls", "Out");
    sheet.Cells(2, 2, request.PlaceName);
    sheet.Cells(3, 1, heading);
    if (grid.RowCount() > 1) {
      sheet.RangeValue("A5:F" + std::to_string(grid.RowCount() + 3), BodyOf(grid, grid.RowCount() - 1));
      // One row below the last outage, as the window shows it under the table.
      if (HasCut(table)) sheet.Cells(grid.RowCount() + 5, 1, kOutageCutNote);
    } else if (const std::string note = OutageNote(table, request.Year); !note.empty())
      sheet.Cells(5, 1, note);
    export_file_name_ = save_dir + OutFileName(request.PlaceName, table.slot, request.Year);
  } else if (request.TabIndex == 1) {
    const TextGrid& grid = request.StringGridSat;
    Filling sheet = from_template("Sat.xls", "Satel");
    const auto body = BodyOf(grid, grid.RowCount() - 1);
    sheet.RangeValue("A5:S" + std::to_string(grid.RowCount() + 3), body);
    sheet.Cells(2, 1, request.PlaceName);
    if (!sat_note.empty()) sheet.Cells(2, 6, sat_note);
    export_file_name_ = save_dir + SatFileName(request.PlaceName);
  } else {
    const TextGrid& grid = request.StringGridVos;
    Filling sheet = from_template("Sun.xls", "Sun");
    sheet.Guard([&] { app_->DisplayAlerts(true); });
    sheet.Cells(3, 1, "Время: " + ZoneText(request.Fields));
    sheet.Cells(3, 8, "Сумерки: " + TwilightText(request.Fields));
    sheet.Cells(3, 4, "QTH-локатор: " + request.Locator);
    sheet.RangeValue("A5:I35", BodyOf(grid, 31));
    sheet.Cells(2, 2, request.PlaceName);
    sheet.Cells(37, 1, grid.Cell(0, 33) + "  " + grid.Cell(1, 33) + "  " + grid.Cell(2, 33));
    sheet.Cells(37, 6, grid.Cell(5, 33) + "  " + grid.Cell(6, 33) + " " + grid.Cell(7, 33));
    export_file_name_ = save_dir + SunFileName(request.PlaceName, request.Month, request.Fields.seconds);
  }

  // A folder that cannot be made fails as the save.
  std::error_code ec;
  std::filesystem::create_directories(save_dir, ec);
  SaveOver(*app_, book_, export_file_name_);
}

}  // namespace kelmar
