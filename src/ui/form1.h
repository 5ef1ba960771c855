#pragma once
// TForm1: the one window. Widgets carry the names of the controls as object names; each handler
// is named after its control and event and runs through the one error report.
#include <QDateTime>
#include <QRadioButton>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/calc_state.h"
#include "core/date_names.h"
#include "core/input_fields.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/text_grid.h"
#include "settings/file_layout.h"
#include "settings/place_list.h"
#include "settings/place_ops.h"
#include "settings/slot_names.h"
#include "ui/error_report.h"
#include "ui/version.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabBar;

namespace kelmar {
class ExcelExporter;
}

namespace kelmar::ui {

// Where the program's files are when no test chose them: portable or installed, as the
// executable's folder (exe_dir) and the user's environment decide.
FileLayout ProgramLayout(const std::string& exe_dir);

class TextGridView;
class TabControl;
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

// A radio button that reports the release of any mouse button over it. The window recomputes
// on that release only, so a choice made with the keyboard waits for the next recompute.
class MouseUpRadioButton : public QRadioButton {
 public:
  MouseUpRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}
  std::function<void()> on_mouse_up;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
};

class TForm1 : public QWidget {
 public:
  explicit TForm1(FormOptions options = {});
  ~TForm1() override;

  // State for the drivers and the tests.
  const CalcState& State() const { return st_; }
  int PlaceIndex() const { return place_index_; }
  const PlaceList& Places() const { return places_; }
  const TextGrid& SunGrid() const { return vos_grid_; }
  const TextGrid& SatGrid() const { return sat_grid_; }
  const TextGrid& OutGrid() const { return out_grid_; }
  const SlotNames& Names() const { return names_; }
  const std::string& SettingsPath() const { return settings_path_; }
  PictureTabs& Pictures() const { return *pictures_; }
  int ScreenHeight() const { return v_; }

  // The handlers. They throw; the connections to the widgets' signals run each of them through
  // the one error report, so a failure never leaves a slot.
  void CreateForm();
  void Vid();
  void TabControl1Change();
  void StringGridVosDrawCell(QPainter& p, int col, int row, const QRect& rect) const;
  // The position (degrees east, "180 W" as 180) whose group a cell of StringGridSat is in; none
  // for the header row, a separator column or an empty table.
  std::optional<int> SatPositionAt(int col, int row) const;
  void StringGridSatDrawCell(QPainter& p, int col, int row, const QRect& rect) const;
  void ScrollBarYChange();
  void ScrollBarMChange();
  void ButtonTUpClick();
  void ButtonTDownClick();
  void ButtonUgUpClick();
  void ButtonUgDownClick();
  void CheckBoxSecClick();
  void CheckBoxMagAzClick();
  void RadioButtonGMTMouseUp();
  void RadioButtonMSKMouseUp();
  void RadioButtonUgolMouseUp();
  void RadioButtonVysMouseUp();
  void EditSirExit();
  void EditDolgExit();
  void EditGMTExit();
  void EditMSKExit();
  void EditUgExit();
  void EditKmExit();
  void ESlotExit();
  void EDishExit();
  void EFreqExit();
  // A double click on a cell of one of the satellite table's four groups: that slot's outages.
  void StringGridSatDblClick(int col, int row);
  // "Название…" of the satellite table's context menu on a cell of a group: names its slot.
  void StringGridSatNameClick(int col, int row);
  void ComboBoxPunktChange(int index);
  void ButtonNewClick();
  void ButtonDeleteClick();
  void ButtonExcelClick();
  // Saves the settings; false when the window is to stay open.
  bool FormClose();

 protected:
  void closeEvent(QCloseEvent* e) override;  // FormClose

 private:
  void BuildControls();
  void ApplyGeometry();
  void SetTabOrder();
  void FitNote();
  void FitLabelMag();
  void ConnectHandlers();

  // Fields between the widgets and the computations.
  InputFields ReadFields() const;
  // The fields the tables were last computed from, the outage tab's and the compass switch as
  // they are now: typed coordinates count from the next recomputation, on every tab alike.
  InputFields ComputedFields() const;
  void WriteFields(const InputFields& in);
  void ShowPlaces();  // the drop-down from the place list, entry PlaceIndex selected
  void SetEntering(bool entering);
  void ApplyOutcome(const PlaceOutcome& outcome);
  void CommaRule(QLineEdit* edit);

  // The steps behind the handlers; they throw, the handlers report.
  void RunCalc();
  void RunSatel();
  // The declination line for the place and today; the declination when the satellite table is
  // to show compass bearings, with the note the exported workbook then carries.
  std::optional<double> ShowDeclination(const InputFields& in, std::string& note);
  std::unique_ptr<ExcelExporter> MakeExporter() const;
  // The outage table, computed when its tab is shown; elsewhere it is only marked out of date.
  void RunOutage();
  void PlaceOutGrid();
  // The slot's name beside the outage tab's fields.
  void ShowSlotName();
  bool AskYesNo(const QString& text);
  void Inform(const QString& text);

  FormOptions options_;
  ErrorReporter report_;
  CalcState st_;
  int place_index_ = 0;  // the selected place; 0 when the list is empty (once CalcState::PlaceIndex)
  PlaceList places_;
  TextGrid vos_grid_;
  TextGrid sat_grid_;
  SatTable sat_table_{};  // the numbers behind sat_grid_, for the cells' colours; none below the horizon at first
  TextGrid out_grid_;
  bool outage_stale_ = true;
  bool computed_ = false;  // the sun table was computed at least once
  InputFields computed_fields_;
  std::string computed_place_;
  bool declination_stale_ = true;  // LabelMag waits for the satellite tab
  std::string settings_path_;  // read at start (unless load_path_ differs) and saved at close
  std::string load_path_;
  std::string exe_dir_;
  std::string data_dir_;    // export templates
  std::string plugin_dir_;  // the office plugin
  std::string export_dir_;  // where workbooks are saved
  bool settings_unreadable_ = false;  // never save over a file that could not be read whole
  bool entering_ = false;             // the add flow waits for the new place
  int v_ = 640;
  std::string compass_note_;  // set while the satellite table shows compass bearings
  bool mag_az_choice_ = false;  // the stored choice; the box shows it only where the compass works
  bool note_fitted_ = false;            // Label2's font, set when the note is first uncovered
  bool mag_needs_credit_room_ = false;  // the declination line's warning lies where Label1 stands
  std::string magnetic_dir_;  // the magnetic model's files
  // The export runs on the worker, which alone touches exporter_ (and the office behind it).
  std::unique_ptr<WorkerThread> worker_;
  std::unique_ptr<ExcelExporter> exporter_;
  bool exporting_ = false;
  std::unique_ptr<PictureTabs> pictures_;  // the tabs "Небо" and "Год"
  SlotNames names_;  // section "Names"

 public:
  // Asks for a slot's name (the question, the name so far); nullopt when cancelled. The input
  // dialog when empty.
  std::function<std::optional<QString>(const QString& question, const QString& name)> ask_name;

 public:
  // The controls, named as the window's design names them.
  TabControl* TabControl1 = nullptr;
  TextGridView* StringGridVos = nullptr;
  TextGridView* StringGridSat = nullptr;
  QGroupBox* GroupBoxInput = nullptr;
  QComboBox* ComboBoxPunkt = nullptr;
  QLineEdit* EditPunkt = nullptr;
  QLabel* LabelSir = nullptr;
  QLineEdit* EditSir = nullptr;
  QLabel* LabelDolg = nullptr;
  QLineEdit* EditDolg = nullptr;
  QPushButton* ButtonNew = nullptr;
  QPushButton* ButtonDelete = nullptr;
  QPushButton* ButtonExcel = nullptr;
  QLabel* Label2 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* LabelY = nullptr;
  QScrollBar* ScrollBarY = nullptr;
  QLabel* LabelM = nullptr;
  QScrollBar* ScrollBarM = nullptr;
  QGroupBox* GroupBoxTime = nullptr;
  MouseUpRadioButton* RadioButtonGMT = nullptr;
  QLineEdit* EditGMT = nullptr;
  QLabel* Label7 = nullptr;
  MouseUpRadioButton* RadioButtonMSK = nullptr;
  QLineEdit* EditMSK = nullptr;
  QLabel* Label8 = nullptr;
  QPushButton* ButtonTDown = nullptr;
  QPushButton* ButtonTUp = nullptr;
  QCheckBox* CheckBoxSec = nullptr;
  QGroupBox* GroupBoxSumerki = nullptr;
  MouseUpRadioButton* RadioButtonUgol = nullptr;
  QLineEdit* EditUg = nullptr;
  QLabel* LabelGr = nullptr;
  MouseUpRadioButton* RadioButtonVys = nullptr;
  QLineEdit* EditKm = nullptr;
  QLabel* LabelKm = nullptr;
  QPushButton* ButtonUgDown = nullptr;
  QPushButton* ButtonUgUp = nullptr;
  QLabel* Label1 = nullptr;
  // The outage tab's page and its controls.
  QWidget* PageOut = nullptr;
  QLabel* LabelSlot = nullptr;
  QLineEdit* ESlot = nullptr;
  QLabel* LabelDish = nullptr;
  QLineEdit* EDish = nullptr;
  QLabel* LabelFreq = nullptr;
  QLineEdit* EFreq = nullptr;
  QLabel* LabelSlotName = nullptr;  // the user's name of the slot
  QLabel* LabelOutInfo = nullptr;  // angle, azimuth, elevation
  QLabel* LabelOutAlign = nullptr; // the Sun on the slot's azimuth on the sky view's date
  QLabel* LabelOutNote = nullptr;  // instead of the table: a hidden slot, no outages
  QLabel* LabelOutCut = nullptr;   // under the table: what a "*" after a time means
  TextGridView* StringGridOut = nullptr;
  QLabel* LabelMag = nullptr;
  QCheckBox* CheckBoxMagAz = nullptr;
};

inline constexpr int kOutageTab = 2;

// The tab control: a tab bar over a framed page on which both grids lie.
class TabControl : public QWidget {
 public:
  TabControl(QWidget* parent, const QFont& font);
  QTabBar* Tabs() const { return tabs_; }
  int TabIndex() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  QTabBar* tabs_;
};

// What a field's frame and a button's frame take of their widths, beside the text.
inline constexpr int kFieldFrame = 8;
inline constexpr int kButtonFrame = 12;

// Qt's own dialogs and standard buttons (the file dialog, "Да" / "Нет") in Russian, from the
// system's Qt translations; false when they are not installed, and Qt's texts stay English.
bool InstallQtTranslations();

// The 19 lines of the note under GroupBox1.
QString Label2Text();
// The window caption.
inline constexpr const char* kCaption = "  Kelmar   (v. " KELMAR_VERSION ")";

}  // namespace kelmar::ui
