#pragma once
// TForm1: the one window. Widgets carry the names of the controls as object names; each handler
// is named after its control and event and runs through the one error report.
#include <QDateTime>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/calc_state.h"
#include "core/date_names.h"
#include "core/input_fields.h"
#include "core/text_grid.h"
#include "settings/place_list.h"
#include "settings/place_ops.h"
#include "ui/error_report.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabBar;

namespace kelmar {
class ExcelExporter;
}

namespace kelmar::ui {

class TextGridView;
class TabControl;

struct FormOptions {
  std::function<QDateTime()> clock;   // "today"; the system clock when empty
  std::optional<int> screen_height;   // V; the primary screen's height when empty
  std::string settings_path;          // beside the executable when empty
  std::string exe_dir;                // the executable's folder when empty (export templates)
  DateNames names = RussianDateNames();
  ErrorSink error_sink;               // the modal error box when empty
  // Makes the spreadsheet export on the first click of "В Excel"; LibreOffice when empty.
  std::function<std::unique_ptr<ExcelExporter>()> make_exporter;
};

class TForm1 : public QWidget {
 public:
  explicit TForm1(FormOptions options = {});
  ~TForm1() override;

  // State for the drivers and the tests.
  const CalcState& State() const { return st_; }
  const PlaceList& Places() const { return places_; }
  const TextGrid& SunGrid() const { return vos_grid_; }
  const TextGrid& SatGrid() const { return sat_grid_; }
  const std::string& SettingsPath() const { return settings_path_; }
  int ScreenHeight() const { return v_; }
  // "C" for every sun table computation and "S" for every satellite table, in order.
  const std::string& ComputeTrace() const { return compute_trace_; }

  // The handlers. They throw; the connections to the widgets' signals run each of them through
  // the one error report, so a failure never leaves a slot.
  void CreateForm();
  void Vid();
  void TabControl1Change();
  void StringGridVosDrawCell(QPainter& p, int col, int row, const QRect& rect) const;
  void StringGridSatDrawCell(QPainter& p, int col, int row, const QRect& rect) const;
  void ScrollBarYChange();
  void ScrollBarMChange();
  void ButtonTUpClick();
  void ButtonTDownClick();
  void ButtonUgUpClick();
  void ButtonUgDownClick();
  void CheckBoxSecClick();
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
  void ConnectHandlers();

  // Fields between the widgets and the computations.
  InputFields ReadFields() const;
  void WriteFields(const InputFields& in);
  void ShowPlaces();  // the drop-down from the place list, entry PlaceIndex selected
  void SetEntering(bool entering);
  void ApplyOutcome(const PlaceOutcome& outcome);
  void CommaRule(QLineEdit* edit);

  // The steps behind the handlers; they throw, the handlers report.
  void RunCalc();
  void RunSatel();
  bool AskYesNo(const QString& text);
  void Inform(const QString& text);

  FormOptions options_;
  ErrorReporter report_;
  CalcState st_;
  PlaceList places_;
  TextGrid vos_grid_;
  TextGrid sat_grid_;
  std::string settings_path_;
  std::string exe_dir_;
  bool settings_unreadable_ = false;  // never save over a file that could not be read whole
  bool entering_ = false;             // the add flow waits for the new place
  int v_ = 640;
  std::string compute_trace_;
  std::unique_ptr<ExcelExporter> exporter_;

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
  QRadioButton* RadioButtonGMT = nullptr;
  QLineEdit* EditGMT = nullptr;
  QLabel* Label7 = nullptr;
  QRadioButton* RadioButtonMSK = nullptr;
  QLineEdit* EditMSK = nullptr;
  QLabel* Label8 = nullptr;
  QPushButton* ButtonTDown = nullptr;
  QPushButton* ButtonTUp = nullptr;
  QCheckBox* CheckBoxSec = nullptr;
  QGroupBox* GroupBoxSumerki = nullptr;
  QRadioButton* RadioButtonUgol = nullptr;
  QLineEdit* EditUg = nullptr;
  QLabel* LabelGr = nullptr;
  QRadioButton* RadioButtonVys = nullptr;
  QLineEdit* EditKm = nullptr;
  QLabel* LabelKm = nullptr;
  QPushButton* ButtonUgDown = nullptr;
  QPushButton* ButtonUgUp = nullptr;
  QLabel* Label1 = nullptr;
};

// The tab control: a tab bar over a framed page on which both grids lie.
class TabControl : public QWidget {
 public:
  explicit TabControl(QWidget* parent);
  QTabBar* Tabs() const { return tabs_; }
  int TabIndex() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  QTabBar* tabs_;
};

// The 19 lines of the note under GroupBox1.
QString Label2Text();
// The window caption.
inline constexpr const char* kCaption = "  Kelmar   (v. 1.2.12)";

}  // namespace kelmar::ui
