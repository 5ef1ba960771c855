#pragma once
// The input panel: the year and month, the zone and the twilight beside the tabs, and the edge
// between every field of the window and the computations' inputs.
#include <QString>

#include "core/input_fields.h"

class QLineEdit;

namespace kelmar::ui {

class TForm1;

class InputPanel {
 public:
  explicit InputPanel(TForm1& form) : f_(form) {}
  // Label2 and GroupBox1 with what it holds; the note is made first, so the group box lies on top.
  void Build();
  void Connect();

  // The window's controls onto the computations' inputs and back.
  InputFields ReadFields() const;
  void WriteFields(const InputFields& in);
  bool CompassChoice() const { return mag_az_choice_; }
  void SetCompassChoice(bool on) { mag_az_choice_ = on; }
  // The scroll bars onto the state's year and month; a position that moves runs its handler.
  void ShowYearAndMonth();

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

 private:
  void StepZone(bool up);
  void StepTwilight(bool up);

  TForm1& f_;
  bool mag_az_choice_ = false;  // the stored choice; the box shows it only where the compass works
};

// The 19 lines of the note under GroupBox1.
QString Label2Text();

}  // namespace kelmar::ui
