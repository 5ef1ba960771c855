#pragma once
// "В Excel": copies the table of the selected tab into a workbook made from the template beside
// the program and saves it there under a name built from the place and the month. The office is
// driven through the automation layer (automation.h); the LibreOffice back end is a plugin that is
// loaded on the first click, so the program starts and works without LibreOffice installed.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "core/input_fields.h"
#include "core/outage.h"
#include "core/table_text.h"  // ZoneText
#include "core/text_grid.h"
#include "export/automation.h"

namespace kelmar {

// Everything an export reads from the window, as it stands at the click.
struct ExcelRequest {
  int TabIndex = 0;                 // TabControl1: 1 exports StringGridSat, anything else StringGridVos
  const TextGrid& StringGridVos;
  const TextGrid& StringGridSat;
  const InputFields& Fields;        // zone and twilight inputs, seconds
  std::string PlaceName;            // the text of ComboBoxPunkt
  std::string Locator;              // CalcState::Locator
  std::uint16_t Month = 1;          // CalcState::Month
  std::string ExeDir;               // the templates' folder; a trailing '/' is added when missing
  std::string SaveDir = {};         // where the workbook is saved, made when missing; empty: ExeDir
  // The outage tab (TabIndex 2): the table the window shows and its year.
  const OutageTable* Outage = nullptr;
  int Year = 2000;
};

// Every failure of an export; what() is the text for the window's error box.
// (A zone field that is not a number throws kelmar::CalcError instead.)
class ExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ExcelExporter {
 public:
  // Creates a new application object; gets the executable's directory (with '/').
  using AppFactory = std::function<std::unique_ptr<automation::Application>(const std::string& exe_dir)>;

  ExcelExporter();                                 // LibreOffice with default options
  explicit ExcelExporter(OfficeOptions options);   // LibreOffice, options given
  explicit ExcelExporter(AppFactory create_app);   // any back end (tests)
  ~ExcelExporter();
  ExcelExporter(const ExcelExporter&) = delete;
  ExcelExporter& operator=(const ExcelExporter&) = delete;

  // Runs the whole export; throws ExportError (or CalcError for a bad zone field). Whatever the
  // office already did stays; the previous file of the same name survives a failed save.
  // A satellite workbook carries `sat_note` beside the place name when it is not empty.
  void ButtonExcelClick(const ExcelRequest& request, const std::string& sat_note = {});
  // At the window's close: an office started for the export and left with nothing to show (every
  // export failed before a workbook stayed open) is ended; otherwise nothing happens. Never throws.
  void QuitIdleOffice() noexcept;

  // State kept between clicks, null and empty before the first one.
  automation::Application* ExcelApp() const { return app_.get(); }
  automation::Workbook* ExcelBook() const { return book_.get(); }
  const std::string& ExeDir() const { return exe_dir_; }                   // with the trailing '/'
  const std::string& ExportFileName() const { return export_file_name_; }  // the last saved workbook

 private:
  AppFactory create_app_;
  // The workbook and an office that shows it are never closed by the program: dropping these
  // references leaves both open for the user.
  std::unique_ptr<automation::Application> app_;
  std::unique_ptr<automation::Workbook> book_;
  std::string exe_dir_;
  std::string export_file_name_;
};

// Pieces of the export that the window or the tests may want on their own.
std::string TwilightText(const InputFields& fields);  // "Угол=6гр.", "Высота=12.345км"
// First four characters (not bytes) of the place name, made safe as a file name:
// "/" and NUL become "_", and so does a leading ".".
std::string PlacePrefix(const std::string& place_name);
std::string SunFileName(const std::string& place_name, std::uint16_t month, bool seconds);
std::string SatFileName(const std::string& place_name);
// "Моск_36E_2026.xls": the slot's normal form without its blank.
std::string OutFileName(const std::string& place_name, const std::string& slot, int year);
// The line above the outage table: the table's slot and angle, the fields' dish, frequency and
// zone. Throws CalcError for a zone that is not a number.
std::string OutageHeading(const OutageTable& table, const InputFields& fields);

}  // namespace kelmar
