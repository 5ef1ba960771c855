// The Sun on the slot's azimuth on the outage tab and the sky view, horizon profiles loaded
// from a file, and the user's names of slots from the satellite table's context menu.
#include <gtest/gtest.h>

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "core/calc_error.h"
#include "core/sun_align.h"
#include "core/table_text.h"
#include "settings/horizon_profile.h"
#include "ui/picture_tabs.h"
#include "ui/text_grid_view.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::FormFixture;

const char* const kMoscow =
    "[Points]\nМосква=55.75;37.62\n[Form]\nRB3=1\nRBG=1\nEG=3\nESlot=36 E\n[Names]\n19.2E=Astra\n";

AlignDay CoreDay(const char* slot, QDate d, const char* horizon = "") {
  InputFields in;
  in.latitude = "55.75", in.longitude = "37.62", in.zone = ZoneKind::FromGmt, in.gmt_offset = "3", in.slot = slot;
  return ComputeAlignment(in, Horizon::Parse(horizon), {d.year(), d.month(), d.day()}, 1).days[0];
}

TEST(FormAlign, TheOutageTabAndTheSkyViewShowTheSunOnTheSlotsAzimuth) {
  FormFixture f;
  f.Start(kMoscow);
  TForm1& w = *f.form;
  QTabBar* tabs = w.TabControl1->Tabs();
  tabs->setCurrentIndex(kOutageTab);
  // The sky view's date, the first of the scroll bars' month until the user picks a day.
  EXPECT_EQ(w.LabelOutAlign->text().toStdString(), AlignLine(CoreDay("36 E", QDate(2026, 3, 1))));
  tabs->setCurrentIndex(3);
  w.Pictures().EditSkyDate->setDate(QDate(2026, 3, 20));
  const std::vector<AlignEvent> marks = w.Pictures().Sky().align;
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(ClockText(marks[1].seconds), "12:43:29");
  tabs->setCurrentIndex(kOutageTab);
  EXPECT_EQ(w.LabelOutAlign->text().toStdString(), AlignLine(CoreDay("36 E", QDate(2026, 3, 20))));
  // A slot below the horizon: no line and no marks.
  w.ESlot->setText(QStringLiteral("140 W"));
  w.Outage().ESlotExit();
  EXPECT_TRUE(w.LabelOutAlign->text().isEmpty());
  tabs->setCurrentIndex(3);
  EXPECT_TRUE(w.Pictures().Sky().align.empty());
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormAlign, AHorizonProfileLoadsIntoTheFieldOrChangesNothing) {
  FormFixture f;
  f.Start(kMoscow);
  TForm1& w = *f.form;
  w.TabControl1->Tabs()->setCurrentIndex(3);
  PictureTabs& p = w.Pictures();
  const QString dir = QString::fromUtf8(KELMAR_TEST_DATA_DIR);
  QString file = dir + QStringLiteral("/horizon/pvgis_horizon.csv");
  p.ask_open_path = [&](const QString&) { return file; };
  p.ButtonHorizonFile->click();
  EXPECT_TRUE(f.errors.empty());
  const QString loaded = p.EditHorizon->text();
  EXPECT_TRUE(loaded.startsWith(QStringLiteral("0:2.3 30:2.3 60:3.4")));
  EXPECT_EQ(p.Horizons().at("Москва"), loaded.toStdString());
  EXPECT_FALSE(p.Sky().horizon.Empty());
  for (const char* bad : {"/sun_moscow.csv", "/no/such/file.csv"}) {
    file = dir + QString::fromUtf8(bad);
    p.ButtonHorizonFile->click();
    EXPECT_EQ(f.errors.size(), 1u) << bad;
    EXPECT_EQ(p.EditHorizon->text(), loaded);
    EXPECT_EQ(p.Horizons().at("Москва"), loaded.toStdString());
    f.errors.clear();
  }
  file.clear();  // the dialog cancelled
  p.ButtonHorizonFile->click();
  EXPECT_EQ(p.EditHorizon->text(), loaded);
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormNames, TheContextMenuNamesASlotShownEverywhereAndSaved) {
  FormFixture f;
  f.Start(kMoscow);
  TForm1& w = *f.form;
  w.TabControl1->Tabs()->setCurrentIndex(1);
  // The cell of 36 E and of 19 E in the satellite table.
  auto cell_of = [&](const std::string& label, int& col, int& row) {
    for (col = 0; col < w.SatGrid().ColCount(); col += 5)
      for (row = 1; row < w.SatGrid().RowCount(); ++row)
        if (w.SatGrid().Cell(col, row) == label) return;
    FAIL() << label;
  };
  int c36 = 0, r36 = 0, c19 = 0, r19 = 0;
  cell_of("36 E", c36, r36);
  cell_of("19 E", c19, r19);
  QString asked, offered;
  std::optional<QString> answer = QStringLiteral(" Экспресс ");
  w.Sat().ask_name = [&](const QString& q, const QString& old) {
    asked = q, offered = old;
    return answer;
  };
  w.Sat().StringGridSatNameClick(c36 + 1, r36);  // any cell of the slot's group row
  EXPECT_EQ(asked, QStringLiteral("Название позиции 36 E:"));
  EXPECT_EQ(offered, QString());
  EXPECT_EQ(w.Names().at("36 E"), "Экспресс");
  // A name at a fractional position is edited from its nearest slot.
  answer = QStringLiteral("Astra 1");
  w.Sat().StringGridSatNameClick(c19, r19);
  EXPECT_EQ(asked, QStringLiteral("Название позиции 19.2 E:"));
  EXPECT_EQ(offered, QStringLiteral("Astra"));
  EXPECT_EQ(w.Names().at("19.2E"), "Astra 1");
  // Cancelled, or a character the file cannot hold: nothing changes.
  answer = std::nullopt;
  w.Sat().StringGridSatNameClick(c36, r36);
  answer = QStringLiteral("Σ");
  EXPECT_THROW(w.Sat().StringGridSatNameClick(c36, r36), CalcError);
  EXPECT_EQ(w.Names().at("36 E"), "Экспресс");
  // The outage tab and the sky view show it.
  w.TabControl1->Tabs()->setCurrentIndex(kOutageTab);
  EXPECT_EQ(w.LabelSlotName->text(), QStringLiteral("Экспресс"));
  w.TabControl1->Tabs()->setCurrentIndex(3);
  const pictures::SkyScene& sky = w.Pictures().Sky();
  for (std::size_t i = 0; i < sky.arc.size(); ++i) {
    const std::string want = sky.arc[i].label == "36 E" ? "Экспресс" : sky.arc[i].label == "19 E" ? "Astra 1 (19.2 E)" : "";
    EXPECT_EQ(sky.names[i], want) << sky.arc[i].label;
  }
  ASSERT_TRUE(w.FormClose());
  const std::string saved = test::ReadSettingsFile(f.settings_path);
  EXPECT_NE(saved.find("[Names]\r\n19.2E=Astra 1\r\n36 E=Экспресс\r\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace kelmar::ui
