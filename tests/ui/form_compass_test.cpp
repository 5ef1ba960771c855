// The satellite tab's declination line and its switch to compass azimuths, through the window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "core/magnetic.h"
#include "core/observer.h"
#include "core/sat_table.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

// The satellite table the core gives for the window's fields, compass bearings or not.
TextGrid CoreSatTable(const TForm1& w, std::optional<double> declination) {
  InputFields in;
  in.latitude = w.EditSir->text().toStdString();
  in.longitude = w.EditDolg->text().toStdString();
  TextGrid grid = MakeSatGrid();
  Satel(ObserverFromFields(in), grid, declination);
  return grid;
}

TEST(FormCompass, LineSwitchAndWarningsFollowThePlace) {
  const QString nbsp = QString(QChar(0xA0));
  struct Case {
    const char* ini;
    QString line;    // LabelMag
    bool enabled;    // CheckBoxMagAz
    bool checked;
    bool compass;    // the table shows compass bearings
  } cases[] = {
      // A file without the key: off, the table as always.
      {"[Points]\nМосква=55.75;37.62\n", "Магнитное склонение: 12.1°" + nbsp + "В (WMM2025, 08.12.2025)", true, false, false},
      // Turned on in an earlier session: compass bearings from the start.
      {"[Points]\nМосква=55.75;37.62\n[Form]\nMagAz=1\n", "Магнитное склонение: 12.1°" + nbsp + "В (WMM2025, 08.12.2025)", true,
       true, true},
      // A weak horizontal field: a warning, the switch still works.
      {"[Points]\nP=80;-96\n[Form]\nMagAz=1\n",
       "Магнитное склонение: 30.1°" + nbsp + "З (WMM2025, 08.12.2025)\nКомпас здесь ненадёжен: слабое горизонтальное поле",
       true, true, true},
      // Too weak for a needle: the switch is off limits, shown unticked, and the table shows true
      // azimuths; the choice itself is kept for the places where it works.
      {"[Points]\nP=85;140\n[Form]\nMagAz=1\n",
       "Магнитное склонение: 35.2°" + nbsp + "З (WMM2025, 08.12.2025)\nКомпас здесь непригоден: слишком слабое горизонтальное поле",
       false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    test::FormFixture f;
    f.Start(c.ini, QDate(2025, 12, 8));
    TForm1& w = *f.form;
    w.TabControl1->Tabs()->setCurrentIndex(1);
    EXPECT_EQ(w.LabelMag->text(), c.line);
    EXPECT_EQ(w.CheckBoxMagAz->isEnabled(), c.enabled);
    EXPECT_EQ(w.CheckBoxMagAz->isChecked(), c.checked);
    EXPECT_TRUE(f.errors.empty());
    std::optional<double> declination;
    if (c.compass)
      declination = MagneticForFields(w.EditSir->text().toStdString(), w.EditDolg->text().toStdString(), {2025, 12, 8})
                        .declination;
    EXPECT_EQ(w.SatGrid(), CoreSatTable(w, declination));
    w.show();
    EXPECT_TRUE(w.close());
    const bool stored = std::string(c.ini).find("MagAz=1") != std::string::npos;
    EXPECT_EQ(test::ReadSettingsFile(f.settings_path).find("\r\nMagAz=1\r\n") != std::string::npos, stored);
  }
}

// The line with its longest warning is read whole at every screen height, below the note and
// clear of the credit, which gives way on this tab where the line needs its place.
TEST(FormCompass, TheWarningIsSeenWholeAtEverySize) {
  for (const int v : {600, 768, 900, 1080, 1200}) {
    SCOPED_TRACE(v);
    test::FormFixture f;
    f.Start("[Points]\nP=86;-150\n", QDate(2025, 12, 8), v);
    TForm1& w = *f.form;
    EXPECT_TRUE(w.LabelMag->text().isEmpty()) << w.LabelMag->text().toStdString();  // the model is read when the tab is first shown
    w.TabControl1->Tabs()->setCurrentIndex(1);
    ASSERT_TRUE(w.LabelMag->text().contains(QStringLiteral("непригоден")));
    const QRect mag = w.LabelMag->geometry();
    EXPECT_LE(w.LabelMag->heightForWidth(mag.width()), mag.height());
    EXPECT_LE(mag.bottom(), w.height());
    EXPECT_LE(w.Label2->y() + w.Label2->sizeHint().height(), mag.top());
    EXPECT_TRUE(!w.Label1->isVisibleTo(&w) || !w.Label1->geometry().intersects(mag));
    w.TabControl1->Tabs()->setCurrentIndex(0);
    EXPECT_TRUE(w.Label1->isVisibleTo(&w));
  }
}

TEST(FormCompass, TheSwitchRecomputesOnlyTheSatelliteTableAndIsSaved) {
  test::FormFixture f;
  f.Start("[Points]\nМосква=55.75;37.62\n", QDate(2025, 12, 8));
  TForm1& w = *f.form;
  w.TabControl1->Tabs()->setCurrentIndex(1);
  EXPECT_FALSE(w.LabelMag->isHidden());
  EXPECT_FALSE(w.CheckBoxMagAz->isHidden());
  EXPECT_EQ(w.SatGrid().Cell(1, 1), "261.4");  // 42 W, true azimuth
  const std::string trace = f.trace;
  QTest::mouseClick(w.CheckBoxMagAz, Qt::LeftButton);
  EXPECT_EQ(f.trace, trace + "S");
  EXPECT_EQ(w.SatGrid().Cell(1, 1), "249.3");  // 12.1° east taken off
  EXPECT_EQ(w.SatGrid().Cell(2, 1), "-2.9");   // elevations untouched
  w.TabControl1->Tabs()->setCurrentIndex(0);
  EXPECT_TRUE(w.LabelMag->isHidden());  // the sun tab has neither
  EXPECT_TRUE(w.CheckBoxMagAz->isHidden());
  w.show();
  EXPECT_TRUE(w.close());
  EXPECT_NE(test::ReadSettingsFile(f.settings_path).find("\r\nMagAz=1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kelmar::ui
