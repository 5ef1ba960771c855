#pragma once
// TForm1: the one window. It composes one controller per tab (the input panel, the places, the
// sun, satellite and outage tabs, and the picture tabs); each owns its controls' wiring and calls
// the core. Widgets carry the names of the controls as object names; each handler is named after
// its control and event and runs through the one error report.
#include <QDateTime>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/calc_state.h"
#include "core/date_names.h"
#include "settings/file_layout.h"
#include "settings/slot_names.h"
#include "ui/error_report.h"
#include "ui/form_controls.h"
#include "ui/version.h"

namespace kelmar {
class ExcelExporter;
struct PlaceList;
class TextGrid;
}

namespace kelmar::ui {

// Where the program's files are when no test chose them: portable or installed, as the
// executable's folder (exe_dir) and the user's environment decide.
FileLayout ProgramLayout(const std::string& exe_dir);

class InputPanel;
class PlacesPanel;
class SunTab;
class SatTab;
class OutageTab;
class PictureTabs;
class WorkerThread;

struct FormOptions {
  std::function<QDateTime()> clock;   // "today"; the system clock when empty
  std::optional<int> screen_height;   // V; the primary screen's height when empty
  std::string settings_path;          // beside the executable when empty
  std::string exe_dir;                // the executable's folder when empty (export templates)
  // With settings_path given, the templates, the plugin and the workbooks are all in exe_dir;
  // empty, the folder the program runs from decides (portable or installed).
  DateNames names = RussianDateNames();
  ErrorSink error_sink;               // the modal error box when empty
  // Makes the spreadsheet export on the first click of "В Excel", on the export's own thread;
  // LibreOffice when empty.
  std::function<std::unique_ptr<ExcelExporter>()> make_exporter;
  // Told of every table computation as it starts: 'C' the sun table, 'S' the satellite table.
  std::function<void(char)> on_compute;
};

class TForm1 : public QWidget, public FormControls {
 public:
  explicit TForm1(FormOptions options = {});
  ~TForm1() override;

  // State for the drivers and the tests.
  const CalcState& State() const { return st_; }
  int PlaceIndex() const;
  const PlaceList& Places() const;
  const TextGrid& SunGrid() const;
  const TextGrid& SatGrid() const;
  const TextGrid& OutGrid() const;
  const SlotNames& Names() const { return names_; }
  const std::string& SettingsPath() const { return settings_path_; }
  PictureTabs& Pictures() const { return *pictures_; }
  int ScreenHeight() const { return v_; }

  // The controllers, with their controls' handlers.
  InputPanel& Input() const { return *input_; }
  PlacesPanel& PlaceBox() const { return *places_; }
  SunTab& Sun() const { return *sun_; }
  SatTab& Sat() const { return *sat_; }
  OutageTab& Outage() const { return *outage_; }

  // What the controllers share.
  CalcState& St() { return st_; }
  SlotNames& EditNames() { return names_; }
  const FormOptions& Options() const { return options_; }
  const ErrorReporter& Report() const { return report_; }
  const std::string& MagneticDir() const { return magnetic_dir_; }
  const std::string& ExportDir() const { return export_dir_; }
  int Tab() const;
  bool AskYesNo(const QString& text);

  // The window's own handlers. They throw; the connections run each through the error report.
  void CreateForm();
  void Vid();
  void TabControl1Change();
  void ButtonExcelClick();
  // Saves the settings; false when the window is to stay open.
  bool FormClose();

 protected:
  void closeEvent(QCloseEvent* e) override;  // FormClose
  bool event(QEvent* e) override;             // sets the window icon after the first paint

 private:
  void BuildControls();
  void ApplyGeometry();
  void FitNote();
  void SetTabOrder();
  void ConnectHandlers();
  void LoadStartSettings();
  std::unique_ptr<ExcelExporter> MakeExporter() const;

  FormOptions options_;
  ErrorReporter report_;
  CalcState st_;
  std::string settings_path_;  // read at start (unless load_path_ differs) and saved at close
  std::string load_path_;
  std::string exe_dir_;
  std::string data_dir_;    // export templates
  std::string plugin_dir_;  // the office plugin
  std::string export_dir_;  // where workbooks are saved
  bool settings_unreadable_ = false;  // never save over a file that could not be read whole
  int v_ = 640;
  bool note_fitted_ = false;  // Label2's font, set when the note is first uncovered
  bool icon_posted_ = false;  // the window icon, asked for at the first paint
  std::string magnetic_dir_;  // the magnetic model's files
  // The export runs on the worker, which alone touches exporter_ (and the office behind it).
  std::unique_ptr<WorkerThread> worker_;
  std::unique_ptr<ExcelExporter> exporter_;
  bool exporting_ = false;
  SlotNames names_;  // section "Names"
  std::unique_ptr<InputPanel> input_;
  std::unique_ptr<PlacesPanel> places_;
  std::unique_ptr<SunTab> sun_;
  std::unique_ptr<SatTab> sat_;
  std::unique_ptr<OutageTab> outage_;
  std::unique_ptr<PictureTabs> pictures_;  // the tabs "Небо" and "Год"
};

// The window caption.
inline constexpr const char* kCaption = "  Kelmar   (v. " KELMAR_VERSION ")";

}  // namespace kelmar::ui
