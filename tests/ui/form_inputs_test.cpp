// The input handlers: stepping buttons with their bounds, the comma rule on leaving a field,
// the radio buttons that recompute on mouse release only, the seconds box and the selectors.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

#include "core/day_serial.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::FormFixture;

const char* const kOnePlace = "[Points]\nН.Новгород=56.3;44\n[Form]\nRB3=1\nRBG=0\n";

enum Mode { GMT, MSK, Ugol, Vys };

TEST(FormInputs, SteppingButtonsStopAtTheirBoundsAndAlwaysRecompute) {
  struct Case {
    Mode mode;
    const char* start;
    const char* button;
    const char* after;
    const char* pins;
  } cases[] = {
      {GMT, "11.5", "ButtonTUp", "12", "up to the bound"},
      {GMT, "12", "ButtonTUp", "12", "at the bound: unchanged, still recomputed"},
      {GMT, "11.7", "ButtonTUp", "12.2", "the bound is tested before the step"},
      {GMT, "3", "ButtonTDown", "2.5", "half an hour down"},
      {MSK, "-11.5", "ButtonTDown", "-12", "Moscow offset down to its bound"},
      {MSK, "-12", "ButtonTDown", "-12", "and no further"},
      {MSK, "0", "ButtonTUp", "0.5", "Moscow offset up"},
      {Ugol, "49.5", "ButtonUgUp", "50", "angle up to 50"},
      {Ugol, "50", "ButtonUgUp", "50", "and no further"},
      {Ugol, "0.3", "ButtonUgDown", "-0.2", "the step may cross zero once"},
      {Ugol, "-0.2", "ButtonUgDown", "-0.2", "then it stops"},
      {Vys, "0", "ButtonUgUp", "0.001", "height from zero"},
      {Vys, "0", "ButtonUgDown", "0", "no height below zero"},
      {Vys, "12.345", "ButtonUgUp", "13.345", "a 1-2-5 step up"},
      {Vys, "10", "ButtonUgDown", "9.5", "an exact power of ten steps down by half a step"},
      {Vys, "499", "ButtonUgUp", "549", "the last step up"},
      {Vys, "549", "ButtonUgUp", "549", "over 500: unchanged"},
  };
  FormFixture f;
  f.Start(kOnePlace);
  TForm1& w = *f.form;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    QLineEdit* field = c.mode == GMT ? w.EditGMT : c.mode == MSK ? w.EditMSK : c.mode == Ugol ? w.EditUg : w.EditKm;
    QRadioButton* radio = c.mode == GMT   ? w.RadioButtonGMT
                          : c.mode == MSK ? w.RadioButtonMSK
                          : c.mode == Ugol ? w.RadioButtonUgol
                                           : w.RadioButtonVys;
    radio->setChecked(true);
    field->setText(QString::fromUtf8(c.start));
    const std::size_t before = f.trace.size();
    QTest::mouseClick(w.findChild<QPushButton*>(QString::fromLatin1(c.button)), Qt::LeftButton);
    EXPECT_EQ(field->text(), QString::fromUtf8(c.after));
    EXPECT_EQ(f.trace.size(), before + 1);
  }
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormInputs, ANonNumberInTheSteppedFieldStopsTheHandler) {
  struct Case {
    Mode mode;
    const char* button;
    bool fails;
    const char* ug_after;
    const char* pins;
  } cases[] = {
      {Vys, "ButtonUgUp", true, "6", "height mode: 'abc' is converted and fails"},
      {Ugol, "ButtonUgUp", false, "6.5", "angle mode: the height field is not read"},
      {GMT, "ButtonTUp", false, "6", "zone steps do not read the twilight fields"},
  };
  FormFixture f;
  f.Start(kOnePlace);
  TForm1& w = *f.form;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    f.errors.clear();
    w.EditKm->setText(QStringLiteral("abc"));
    w.EditUg->setText(QStringLiteral("6"));
    (c.mode == Vys ? w.RadioButtonVys : c.mode == Ugol ? w.RadioButtonUgol : w.RadioButtonGMT)->setChecked(true);
    if (c.mode == GMT) w.RadioButtonUgol->setChecked(true);
    const std::string trace = f.trace;
    QTest::mouseClick(w.findChild<QPushButton*>(QString::fromLatin1(c.button)), Qt::LeftButton);
    if (c.fails) {
      EXPECT_EQ(f.errors, std::vector<std::string>{"'abc' is not a valid floating point value."});
      EXPECT_EQ(w.EditKm->text(), QStringLiteral("abc"));
      EXPECT_EQ(f.trace, trace);  // nothing recomputed
    } else {
      EXPECT_TRUE(f.errors.empty());
      EXPECT_EQ(f.trace, trace + "C");
    }
    EXPECT_EQ(w.EditUg->text(), QString::fromUtf8(c.ug_after));
  }
}

TEST(FormInputs, CommaRuleWhenAFieldIsLeft) {
  struct Case {
    const char* field;
    const char* typed;
    const char* left_as;
    const char* pins;
  } cases[] = {
      {"EditGMT", "3,5", "3.5", "a decimal comma becomes a point"},
      {"EditMSK", "1,2,3", "1.2,3", "only the first comma"},
      {"EditSir", "56,3", "56.3", "every number field has the rule"},
      {"EditDolg", "44", "44", "nothing to replace"},
      {"EditUg", "abc", "abc", "nothing is validated"},
      {"EditKm", ",", ".", "a lone comma"},
  };
  FormFixture f;
  f.Start(kOnePlace);
  f.ShowActive();
  TForm1& w = *f.form;
  const std::string trace = f.trace;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    auto* field = w.findChild<QLineEdit*>(QString::fromLatin1(c.field));
    field->setFocus(Qt::TabFocusReason);
    field->setText(QString::fromUtf8(c.typed));
    EXPECT_EQ(field->text(), QString::fromUtf8(c.typed));  // typing alone changes nothing
    w.ButtonExcel->setFocus(Qt::TabFocusReason);           // leave the field
    EXPECT_EQ(field->text(), QString::fromUtf8(c.left_as));
  }
  EXPECT_EQ(f.trace, trace);  // the rule recomputes nothing
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormInputs, RadioButtonsRecomputeOnMouseReleaseOnly) {
  FormFixture f;
  f.Start(kOnePlace);
  f.ShowActive();
  TForm1& w = *f.form;
  std::string trace = f.trace;

  // Keyboard: the arrow moves the choice within the group, the table does not follow.
  w.RadioButtonMSK->setFocus(Qt::TabFocusReason);
  QTest::keyClick(w.RadioButtonMSK, Qt::Key_Up);
  QTest::keyClick(w.focusWidget(), Qt::Key_Space);
  EXPECT_TRUE(w.RadioButtonGMT->isChecked());
  EXPECT_EQ(f.trace, trace);

  // The mouse: a release over the button recomputes, also with another button.
  struct Case {
    QRadioButton* radio;
    Qt::MouseButton button;
  } cases[] = {
      {w.RadioButtonMSK, Qt::LeftButton},
      {w.RadioButtonVys, Qt::LeftButton},
      {w.RadioButtonVys, Qt::RightButton},  // already chosen: still a release over it
      {w.RadioButtonUgol, Qt::LeftButton},
  };
  for (const Case& c : cases) {
    QTest::mouseClick(c.radio, c.button);
    trace += 'C';
    EXPECT_EQ(f.trace, trace) << c.radio->objectName().toStdString();
  }
  EXPECT_TRUE(w.RadioButtonMSK->isChecked());
  EXPECT_TRUE(w.RadioButtonUgol->isChecked());
}

TEST(FormInputs, SecondsBoxRecomputesWithSeconds) {
  FormFixture f;
  f.Start(kOnePlace);
  TForm1& w = *f.form;
  const std::string before = w.SunGrid().Cell(1, 1);  // "hh:nn"
  QTest::mouseClick(w.CheckBoxSec, Qt::LeftButton, {}, QPoint(5, w.CheckBoxSec->height() / 2));
  EXPECT_TRUE(w.CheckBoxSec->isChecked());
  EXPECT_EQ(w.SunGrid().Cell(1, 1).size(), before.size() + 3);  // ":ss" added
  EXPECT_EQ(w.SunGrid().Cell(1, 1).substr(0, 2), before.substr(0, 2));
}

TEST(FormInputs, YearAndMonthSelectors) {
  FormFixture f;
  f.Start(kOnePlace, QDate(2026, 3, 15));
  TForm1& w = *f.form;
  struct Case {
    QScrollBar* bar;
    int position;
    bool recomputes;
    int year, month;
    const char* label_y;
    const char* label_m;
    const char* pins;
  } cases[] = {
      {w.ScrollBarM, 2, true, 2026, 2, "2026", "Февраль", "month: CurDate is the 1st, name shown"},
      {w.ScrollBarM, 2, false, 2026, 2, "2026", "Февраль", "the same position fires nothing"},
      {w.ScrollBarY, 2027, true, 2027, 2, "2027", "Февраль", "year: the month label stays"},
      {w.ScrollBarY, 2300, true, 2200, 2, "2200", "Февраль", "the range stops the year at 2200"},
      {w.ScrollBarY, 1700, true, 1800, 2, "1800", "Февраль", "and at 1800"},
      {w.ScrollBarM, 12, true, 1800, 12, "1800", "Декабрь", "December"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    const std::size_t before = f.trace.size();
    c.bar->setValue(c.position);
    EXPECT_EQ(f.trace.size(), before + (c.recomputes ? 1 : 0));
    EXPECT_EQ(w.State().Year, c.year);
    EXPECT_EQ(w.State().Month, c.month);
    EXPECT_EQ(w.LabelY->text(), QString::fromUtf8(c.label_y));
    EXPECT_EQ(w.LabelM->text(), QString::fromUtf8(c.label_m));
  }
  // A click on the right arrow steps the month by one.
  w.ScrollBarM->setValue(5);
  QTest::mouseClick(w.ScrollBarM, Qt::LeftButton, {}, QPoint(w.ScrollBarM->width() - 3, w.ScrollBarM->height() / 2));
  EXPECT_EQ(w.State().Month, 6);
  EXPECT_EQ(w.SunGrid().Cell(0, 30).substr(0, 8), "30.06.00");
  EXPECT_TRUE(w.SunGrid().Cell(0, 31).empty());  // June has 30 days
  EXPECT_TRUE(f.errors.empty());
}

// Holding the mouse on an arrow or a page area of a selector repeats its step. A failing step
// must end the repeat: the error box would take the mouse release and the steps would go on.
TEST(FormInputs, AFailingStepEndsTheSelectorsAutoRepeat) {
  struct Case {
    const char* bar;
    QStyle::SubControl part;
    const char* lat;
    const char* slot;  // the outage tab is shown with it; nullptr: the sun table's tab
    int start;
    int errors;      // reports while the mouse is held past the repeat delay
    int after;       // -1: more than one step made
    const char* pins;
  } cases[] = {
      {"ScrollBarY", QStyle::SC_ScrollBarSubLine, "abc", nullptr, 2026, 1, 2025, "year arrow: one report, one step"},
      {"ScrollBarY", QStyle::SC_ScrollBarAddPage, "abc", nullptr, 2026, 1, 2036, "year page area"},
      {"ScrollBarM", QStyle::SC_ScrollBarSubLine, "abc", nullptr, 12, 1, 11, "month arrow from December"},
      {"ScrollBarY", QStyle::SC_ScrollBarSubLine, "56.3", "36X", 2026, 1, 2025, "the outage table fails the step"},
      {"ScrollBarM", QStyle::SC_ScrollBarAddLine, "56.3", nullptr, 1, 0, -1, "a working step still repeats"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    FormFixture f;
    f.Start(kOnePlace);
    TForm1& w = *f.form;
    auto* bar = w.findChild<QScrollBar*>(QString::fromLatin1(c.bar));
    bar->setValue(c.start);
    if (c.slot != nullptr) w.TabControl1->Tabs()->setCurrentIndex(kOutageTab);
    w.EditSir->setText(QString::fromLatin1(c.lat));
    if (c.slot != nullptr) w.ESlot->setText(QString::fromLatin1(c.slot));
    f.errors.clear();
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.orientation = bar->orientation();
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = opt.sliderValue = bar->value();
    opt.singleStep = bar->singleStep();
    opt.pageStep = bar->pageStep();
    opt.subControls = QStyle::SC_All;
    const QPoint at = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, c.part, bar).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, at);
    QTest::qWait(900);  // past the repeat's first delay and several repeats
    QTest::mouseRelease(bar, Qt::LeftButton, {}, at);
    EXPECT_EQ(static_cast<int>(f.errors.size()), c.errors);
    if (c.after >= 0) EXPECT_EQ(bar->value(), c.after);
    else EXPECT_GT(bar->value(), c.start + 1);
  }
}

}  // namespace
}  // namespace kelmar::ui
