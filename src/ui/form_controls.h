#pragma once
// The window's controls, named as the window's design names them, and the two widgets of its own
// kind: the tab control and the radio button that reports the mouse's release.
#include <QRadioButton>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabBar;

namespace kelmar::ui {

class TextGridView;
class TabControl;

// A radio button that reports the release of any mouse button over it. The window recomputes
// on that release only, so a choice made with the keyboard waits for the next recompute.
class MouseUpRadioButton : public QRadioButton {
 public:
  MouseUpRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) {}
  std::function<void()> on_mouse_up;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
};

struct FormControls {
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

inline constexpr int kSatTab = 1;
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

}  // namespace kelmar::ui
