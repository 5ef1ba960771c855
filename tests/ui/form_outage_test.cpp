// The outage tab: its fields recompute the table on leaving, errors go through the one report,
// a hidden slot is said in words, and a double click on the satellite table opens the tab.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include "core/outage.h"
#include "core/table_text.h"
#include "ui/text_grid_view.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::FormFixture;

const char* const kMoscow = "[Points]\nМосква=55.75;37.62\n[Form]\nRB3=1\nRBG=1\nEG=3\nESlot=36 E\n";

// What the core computes for the window's fields and year, as a grid.
TextGrid CoreTable(TForm1& w, InputFields in) {
  in.latitude = "55.75", in.longitude = "37.62", in.gmt_offset = "3", in.zone = ZoneKind::FromGmt;
  in.slot = w.ESlot->text().toStdString(), in.dish = w.EDish->text().toStdString(), in.frequency = w.EFreq->text().toStdString();
  return MakeOutageGrid(ComputeOutages(in, w.ScrollBarY->value()));
}

TEST(FormOutage, FieldsRecomputeOnLeavingAndErrorsAreReported) {
  struct Case {
    const char* field;
    const char* typed;
    const char* left_as;
    const char* error;  // as reported, full stop added; nullptr: the table is the core's
    const char* note;   // shown instead of the table
  } cases[] = {
      {"ESlot", "36e", "36e", nullptr, ""},                        // any spelling of a slot
      {"EDish", "1,8", "1.8", nullptr, ""},                        // the comma rule, then a smaller beam
      {"EFreq", "4", "4", nullptr, ""},                            // C band: a wider beam
      {"ESlot", "140W", "140W", nullptr, "Спутник 140 W не виден из этого пункта"},
      {"ESlot", "36X", "36X", "Неверная позиция спутника '36X'", ""},
      {"EFreq", "60", "60", "Частота должна быть от 1 до 50 ГГц.", ""},
      {"EDish", "abc", "abc", "'abc' is not a valid floating point value.", ""},
  };
  FormFixture f;
  f.Start(kMoscow);
  f.ShowActive();
  TForm1& w = *f.form;
  EXPECT_EQ(w.ESlot->text(), QStringLiteral("36 E"));  // from the settings file
  EXPECT_EQ(w.EDish->text(), QStringLiteral("0.9"));   // defaults for the keys it lacks
  w.TabControl1->Tabs()->setCurrentIndex(kOutageTab);
  EXPECT_TRUE(w.PageOut->isVisible() && w.GroupBox1->isVisible() && w.GroupBoxInput->isVisible());
  EXPECT_FALSE(w.StringGridVos->isVisible() || w.StringGridSat->isVisible());
  EXPECT_EQ(w.OutGrid().Cell(0, 1), "26.02.2026");
  EXPECT_TRUE(w.LabelOutInfo->text().contains(QStringLiteral("Азимут 182.0°")));
  // Leaving a field applies it, and so does Enter in it.
  for (const bool enter : {false, true}) for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed + (enter ? " Enter" : " left"));
    auto* field = w.findChild<QLineEdit*>(QString::fromLatin1(c.field));
    field->setFocus(Qt::TabFocusReason);
    field->setText(QString::fromUtf8(c.typed));
    f.errors.clear();
    if (enter) {
      QTest::keyClick(field, Qt::Key_Return);
      EXPECT_TRUE(field->hasFocus());
    } else {
      w.ButtonExcel->setFocus(Qt::TabFocusReason);  // leave the field
    }
    EXPECT_EQ(field->text(), QString::fromUtf8(c.left_as));
    EXPECT_EQ(f.errors, c.error ? std::vector<std::string>{c.error} : std::vector<std::string>{});
    EXPECT_EQ(w.LabelOutNote->text(), QString::fromUtf8(c.note));
    EXPECT_EQ(w.StringGridOut->isVisible(), c.error == nullptr && *c.note == 0);
    if (c.error == nullptr) {
      EXPECT_EQ(w.OutGrid(), CoreTable(w, {}));
    }
    field->setText(QString::fromUtf8(field == w.ESlot ? "36 E" : field == w.EDish ? "0.9" : "12"));
    if (enter) w.ButtonExcel->setFocus(Qt::TabFocusReason);
  }
  // Another year: the table follows.
  w.ESlot->setFocus(Qt::TabFocusReason);
  w.ButtonExcel->setFocus(Qt::TabFocusReason);
  w.ScrollBarY->setValue(2030);
  EXPECT_EQ(w.OutGrid().Cell(0, 1).substr(6), "2030");
  EXPECT_EQ(w.OutGrid(), CoreTable(w, {}));
}

TEST(FormOutage, CutTimesAreExplainedUnderTheTable) {
  FormFixture f;
  f.Start(kMoscow);
  TForm1& w = *f.form;
  w.TabControl1->Tabs()->setCurrentIndex(kOutageTab);
  struct Case {
    const char *slot, *dish, *freq;
    bool cut;
  } cases[] = {{"36W", "0.45", "4", true}, {"36 E", "0.9", "12", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    w.ESlot->setText(QString::fromUtf8(c.slot));
    w.EDish->setText(QString::fromUtf8(c.dish));
    w.EFreq->setText(QString::fromUtf8(c.freq));
    w.Outage().EFreqExit();
    EXPECT_EQ(w.OutGrid(), CoreTable(w, {}));
    EXPECT_EQ(w.LabelOutCut->isVisibleTo(&w), c.cut);
    EXPECT_EQ(w.LabelOutCut->text(), c.cut ? QString::fromUtf8(kOutageCutNote) : QString());
    // The table gives the line its room.
    EXPECT_EQ(w.StringGridOut->geometry().bottom() < w.LabelOutCut->geometry().top(), c.cut);
  }
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormOutage, DoubleClickOnTheSatelliteTableOpensTheSlot) {
  struct Case {
    int col, row;
    bool opens;
    const char* pins;
  } cases[] = {
      {6, 3, true, "an azimuth cell: the group's slot in that row"},
      {15, 40, true, "a slot label of the last group"},
      {4, 3, false, "the separator column belongs to no group"},
      {2, 0, false, "the header names no slot"},
  };
  FormFixture f;
  f.Start(kMoscow);
  f.ShowActive();
  TForm1& w = *f.form;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    w.TabControl1->Tabs()->setCurrentIndex(1);
    w.ESlot->setText(QStringLiteral("36 E"));
    w.StringGridSat->SetCurrent(c.col, std::max(1, c.row));
    const QPoint at = w.StringGridSat->CellRect(c.col, c.row).center();
    QTest::mouseDClick(w.StringGridSat->viewport(), Qt::LeftButton, {}, at);
    const std::string label = w.SatGrid().Cell(c.col - c.col % 5, c.row);
    EXPECT_EQ(w.TabControl1->TabIndex(), c.opens ? kOutageTab : 1);
    EXPECT_EQ(w.ESlot->text().toStdString(), c.opens ? label : "36 E");
    if (c.opens) {
      EXPECT_EQ(w.OutGrid(), CoreTable(w, {}));
    }
  }
  EXPECT_TRUE(f.errors.empty());
}

}  // namespace
}  // namespace kelmar::ui
