#include "ui/input_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>

#include "core/day_serial.h"
#include "core/input_steps.h"
#include "ui/cell_drawing.h"
#include "ui/form1.h"
#include "ui/sat_tab.h"
#include "ui/sun_tab.h"
#include "ui/widget_kit.h"

namespace kelmar::ui {
namespace {

const QColor kNoteText{50, 80, 125};

const char* const kLabel2Lines[19] = {
    "*) Магнитный азимут",
    "(по компасу) отличается",
    "от расчётного на угол",
    "магнитного склонения",
    "в Вашей местности.",
    "**)  Коррекция - угол",
    "поворота конвертора",
    "от \"нормального\"",
    "положения при V-,H-",
    "поляризации и",
    "вертикальной подвеске",
    "тарелки.",
    "    {+/-} угла означает",
    "поворот конвертора",
    "соответственно",
    "{по/против} часовой",
    "стрелки при взгляде",
    "на ковертор со стороны",
    "отражателя.",
};

}  // namespace

QString Label2Text() {
  QStringList lines;
  for (const char* line : kLabel2Lines) lines << QString::fromUtf8(line);
  return lines.join(QLatin1Char('\n'));
}

void InputPanel::Build() {
  TForm1& f = f_;
  const int v = f.ScreenHeight();
  const InputFields defaults;
  f.Label2 = Designed(new QLabel(Label2Text(), &f), "Label2", v);
  f.Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The caption's blue, dark enough to be read on the window's grey.
  SetTextColor(f.Label2, kNoteText);

  // Untitled, yet its frame is worked out from a font: the one its groups have, already loaded.
  f.GroupBox1 = Designed(new QGroupBox(&f), "GroupBox1", v);
  SetBackground(f.GroupBox1, kBtnFace);
  // The year and the month: a caption over a scroll bar each.
  auto caption = [&](const char* text, const char* name) {
    QLabel* l = Designed(new QLabel(QString::fromUtf8(text), f.GroupBox1), name, v);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColor(l, Qt::blue);
    SetBackground(l, kActiveBorder);
    return l;
  };
  auto bar = [&](const char* name, int lo, int hi, int page, int value) {
    QScrollBar* b = Named(new QScrollBar(Qt::Horizontal, f.GroupBox1), name);
    b->setRange(lo, hi);
    b->setSingleStep(1);
    b->setPageStep(page);
    b->setValue(value);
    return b;
  };
  f.LabelY = caption("Год", "LabelY");
  f.ScrollBarY = bar("ScrollBarY", 1800, 2200, 10, 2000);
  f.LabelM = caption("Месяц", "LabelM");
  f.ScrollBarM = bar("ScrollBarM", 1, 12, 6, 10);

  // The zone and the twilight: a group each of two choices with a field and its unit, and the
  // buttons that step the chosen field. Group boxes get their titles once their fonts are set: a
  // title is measured as it is set.
  auto group = [&](const char* title, const char* name) {
    QGroupBox* g = Designed(new QGroupBox(f.GroupBox1), name, v);
    g->setTitle(QString::fromUtf8(title));
    return g;
  };
  auto choice = [&](QGroupBox* g, const char* text, const char* name, MouseUpRadioButton*& radio) {
    radio = Designed(new MouseUpRadioButton(QString::fromUtf8(text), g), name, v);
  };
  auto field = [&](QGroupBox* g, const std::string& text, const char* name, const char* unit, const char* unit_name,
                   QLineEdit*& edit, QLabel*& label) {
    edit = Designed(new QLineEdit(Q(text), g), name, v);
    label = Designed(new QLabel(QString::fromUtf8(unit), g), unit_name, v);
  };
  auto button = [&](QGroupBox* g, const char* text, const char* name) {
    return Designed(new QPushButton(QString::fromLatin1(text), g), name, v);
  };
  f.GroupBoxTime = group("Время", "GroupBoxTime");
  choice(f.GroupBoxTime, "GMT +", "RadioButtonGMT", f.RadioButtonGMT);
  field(f.GroupBoxTime, defaults.gmt_offset, "EditGMT", "час", "Label7", f.EditGMT, f.Label7);
  choice(f.GroupBoxTime, "MSK +", "RadioButtonMSK", f.RadioButtonMSK);
  field(f.GroupBoxTime, defaults.msk_offset, "EditMSK", "час", "Label8", f.EditMSK, f.Label8);
  (defaults.FromMoscow() ? f.RadioButtonMSK : f.RadioButtonGMT)->setChecked(true);
  f.ButtonTDown = button(f.GroupBoxTime, "<", "ButtonTDown");
  f.ButtonTUp = button(f.GroupBoxTime, ">", "ButtonTUp");
  f.CheckBoxSec = Designed(new QCheckBox(QStringLiteral("с секундами"), f.GroupBoxTime), "CheckBoxSec", v);

  // The first letter of the caption is a Latin "C", as the window has always shown it.
  f.GroupBoxSumerki = group("Cумерки", "GroupBoxSumerki");
  choice(f.GroupBoxSumerki, "    Угол", "RadioButtonUgol", f.RadioButtonUgol);
  field(f.GroupBoxSumerki, defaults.twilight_angle, "EditUg", "гр.", "LabelGr", f.EditUg, f.LabelGr);
  choice(f.GroupBoxSumerki, "Высота", "RadioButtonVys", f.RadioButtonVys);
  field(f.GroupBoxSumerki, defaults.twilight_height, "EditKm", "км", "LabelKm", f.EditKm, f.LabelKm);
  (defaults.ByAngle() ? f.RadioButtonUgol : f.RadioButtonVys)->setChecked(true);
  f.ButtonUgDown = button(f.GroupBoxSumerki, "<", "ButtonUgDown");
  f.ButtonUgUp = button(f.GroupBoxSumerki, ">", "ButtonUgUp");
}

void InputPanel::Connect() {
  TForm1& f = f_;
  const ErrorReporter& report = f.Report();
  // A held arrow or page area steps again and again; the error box takes the mouse release, so
  // a failing step (its table, the outage table or the picture shown) must end the repeat itself
  // or every OK brings the next box.
  auto steps = [this, &report](QScrollBar* bar, void (InputPanel::*fn)()) {
    return [this, &report, bar, fn] {
      report.Guarded([&] {
        try {
          (this->*fn)();
        } catch (...) {
          EndAutoRepeat(bar);
          throw;
        }
      });
    };
  };
  QObject::connect(f.ScrollBarY, &QScrollBar::valueChanged, &f, steps(f.ScrollBarY, &InputPanel::ScrollBarYChange));
  QObject::connect(f.ScrollBarM, &QScrollBar::valueChanged, &f, steps(f.ScrollBarM, &InputPanel::ScrollBarMChange));
  QObject::connect(f.ButtonTUp, &QPushButton::clicked, &f, Guard(report, this, &InputPanel::ButtonTUpClick));
  QObject::connect(f.ButtonTDown, &QPushButton::clicked, &f, Guard(report, this, &InputPanel::ButtonTDownClick));
  QObject::connect(f.ButtonUgUp, &QPushButton::clicked, &f, Guard(report, this, &InputPanel::ButtonUgUpClick));
  QObject::connect(f.ButtonUgDown, &QPushButton::clicked, &f, Guard(report, this, &InputPanel::ButtonUgDownClick));
  QObject::connect(f.CheckBoxSec, &QCheckBox::clicked, &f, Guard(report, this, &InputPanel::CheckBoxSecClick));
  const std::pair<MouseUpRadioButton*, void (InputPanel::*)()> mouse_up[] = {
      {f.RadioButtonGMT, &InputPanel::RadioButtonGMTMouseUp},
      {f.RadioButtonMSK, &InputPanel::RadioButtonMSKMouseUp},
      {f.RadioButtonUgol, &InputPanel::RadioButtonUgolMouseUp},
      {f.RadioButtonVys, &InputPanel::RadioButtonVysMouseUp},
  };
  for (const auto& [radio, handler] : mouse_up) radio->on_mouse_up = Guard(report, this, handler);
  const std::pair<QLineEdit*, void (InputPanel::*)()> exits[] = {
      {f.EditSir, &InputPanel::EditSirExit}, {f.EditDolg, &InputPanel::EditDolgExit},
      {f.EditGMT, &InputPanel::EditGMTExit}, {f.EditMSK, &InputPanel::EditMSKExit},
      {f.EditUg, &InputPanel::EditUgExit},   {f.EditKm, &InputPanel::EditKmExit},
  };
  for (const auto& [edit, handler] : exits) OnFocusOut(edit, Guard(report, this, handler));
}

InputFields InputPanel::ReadFields() const {
  const TForm1& f = f_;
  InputFields in;
  in.latitude = S(f.EditSir->text());
  in.longitude = S(f.EditDolg->text());
  in.gmt_offset = S(f.EditGMT->text());
  in.msk_offset = S(f.EditMSK->text());
  in.twilight_angle = S(f.EditUg->text());
  in.twilight_height = S(f.EditKm->text());
  in.zone = f.RadioButtonGMT->isChecked() ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
  in.twilight = f.RadioButtonUgol->isChecked() ? TwilightKind::ByAngle : TwilightKind::ByHeight;
  in.seconds = f.CheckBoxSec->isChecked();
  in.slot = S(f.ESlot->text());
  in.dish = S(f.EDish->text());
  in.frequency = S(f.EFreq->text());
  in.compass = mag_az_choice_;
  return in;
}

void InputPanel::WriteFields(const InputFields& in) {
  TForm1& f = f_;
  auto set = [](QLineEdit* e, const std::string& t) { SetFieldText(e, Q(t)); };
  set(f.EditSir, in.latitude);
  set(f.EditDolg, in.longitude);
  set(f.EditGMT, in.gmt_offset);
  set(f.EditMSK, in.msk_offset);
  set(f.EditUg, in.twilight_angle);
  set(f.EditKm, in.twilight_height);
  set(f.ESlot, in.slot);
  set(f.EDish, in.dish);
  set(f.EFreq, in.frequency);
  (in.FromMoscow() ? f.RadioButtonMSK : f.RadioButtonGMT)->setChecked(true);
  (in.ByAngle() ? f.RadioButtonUgol : f.RadioButtonVys)->setChecked(true);
  mag_az_choice_ = in.compass;
  f.CheckBoxMagAz->setChecked(mag_az_choice_ && f.CheckBoxMagAz->isEnabled());
}

void InputPanel::ShowYearAndMonth() {
  TForm1& f = f_;
  const CalcState& st = f.St();
  // The selectors' change handlers run when a position really moves, and their failures end
  // the start-up, so they are called here rather than through the signal.
  const int old_y = f.ScrollBarY->value();
  {
    const QSignalBlocker block(f.ScrollBarY);
    f.ScrollBarY->setValue(st.Year);
  }
  if (f.ScrollBarY->value() != old_y) ScrollBarYChange();
  f.LabelY->setText(QString::number(st.Year));

  const int old_m = f.ScrollBarM->value();
  {
    const QSignalBlocker block(f.ScrollBarM);
    f.ScrollBarM->setValue(st.Month);
  }
  if (f.ScrollBarM->value() != old_m) ScrollBarMChange();
  f.LabelM->setText(Q(st.Names.month_long[DecodeDate(st.CurDate).month - 1]));
}

void InputPanel::ScrollBarYChange() {
  CalcState& st = f_.St();
  st.Year = static_cast<std::uint16_t>(f_.ScrollBarY->value());
  st.CurDate = EncodeDate(st.Year, st.Month, 1);
  f_.LabelY->setText(QString::number(st.Year));
  f_.Sun().RunCalc();
}

void InputPanel::ScrollBarMChange() {
  CalcState& st = f_.St();
  st.Month = static_cast<std::uint16_t>(f_.ScrollBarM->value());
  st.CurDate = EncodeDate(st.Year, st.Month, 1);
  f_.LabelM->setText(Q(st.Names.month_long[st.Month - 1]));
  f_.Sun().RunCalc();
}

void InputPanel::StepZone(bool up) {
  QLineEdit* field = f_.RadioButtonGMT->isChecked() ? f_.EditGMT : f_.EditMSK;
  SetFieldText(field, Q(kelmar::StepZone(S(field->text()), up)));
  f_.Sun().RunCalc();
}

void InputPanel::StepTwilight(bool up) {
  if (f_.RadioButtonUgol->isChecked()) {
    SetFieldText(f_.EditUg, Q(StepAngle(S(f_.EditUg->text()), up)));
  } else {
    SetFieldText(f_.EditKm, Q(StepHeight(S(f_.EditKm->text()), up)));
  }
  f_.Sun().RunCalc();
}

void InputPanel::ButtonTUpClick() { StepZone(true); }
void InputPanel::ButtonTDownClick() { StepZone(false); }
void InputPanel::ButtonUgUpClick() { StepTwilight(true); }
void InputPanel::ButtonUgDownClick() { StepTwilight(false); }
void InputPanel::CheckBoxSecClick() { f_.Sun().RunCalc(); }

// The choice itself was made by the button; the table follows on the release of the mouse.
void InputPanel::RadioButtonGMTMouseUp() { f_.Sun().RunCalc(); }
void InputPanel::RadioButtonMSKMouseUp() { f_.Sun().RunCalc(); }
void InputPanel::RadioButtonUgolMouseUp() { f_.Sun().RunCalc(); }
void InputPanel::RadioButtonVysMouseUp() { f_.Sun().RunCalc(); }

void InputPanel::EditSirExit() { ApplyCommaRule(f_.EditSir); }
void InputPanel::EditDolgExit() { ApplyCommaRule(f_.EditDolg); }
void InputPanel::EditGMTExit() { ApplyCommaRule(f_.EditGMT); }
void InputPanel::EditMSKExit() { ApplyCommaRule(f_.EditMSK); }
void InputPanel::EditUgExit() { ApplyCommaRule(f_.EditUg); }
void InputPanel::EditKmExit() { ApplyCommaRule(f_.EditKm); }

}  // namespace kelmar::ui
