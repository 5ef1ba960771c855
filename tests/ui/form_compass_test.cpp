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
  in.EditSir = w.EditSir->text().toStdString();
  in.EditDolg = w.EditDolg->text().toStdString();
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
      // Too weak for a needle: the switch is off limits and the table shows true azimuths.
      {"[Points]\nP=85;140\n[Form]\nMagAz=1\n",
       "Магнитное склонение: 35.2°" + nbsp + "З (WMM2025, 08.12.2025)\nКомпас здесь непригоден: слишком слабое горизонтальное поле",
       false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ini);
    test::FormFixture f;
    f.Start(c.ini, QDate(2025, 12, 8));
    const TForm1& w = *f.form;
    EXPECT_EQ(w.LabelMag->text(), c.line);
    EXPECT_EQ(w.CheckBoxMagAz->isEnabled(), c.enabled);
    EXPECT_EQ(w.CheckBoxMagAz->isChecked(), c.checked);
    EXPECT_TRUE(f.errors.empty());
    std::optional<double> declination;
    if (c.compass)
      declination = MagneticForFields(w.EditSir->text().toStdString(), w.EditDolg->text().toStdString(), {2025, 12, 8})
                        .declination;
    EXPECT_EQ(w.SatGrid(), CoreSatTable(w, declination));
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
