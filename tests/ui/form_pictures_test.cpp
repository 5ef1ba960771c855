// The picture tabs: which controls each shows, the horizon field's rules and its place in the
// settings file, saving a picture.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <cstdio>

#include "ui/picture_tabs.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::FormFixture;

const char* const kPlaces =
    "[Points]\nМосква=55.75;37.62\nБуэнос-Айрес=-34.6;-58.38\n[Form]\nInd=0\nRB3=1\nRBG=1\nEG=3\nEU=6\n"
    "[Horizon]\nБуэнос-Айрес=300:15 330:30 30:30 60:10 100:0 100:25 140:25 140:0\n";

void EnterHorizon(TForm1& w, const QString& text) {
  w.Pictures().EditHorizon->setText(text);
  emit w.Pictures().EditHorizon->editingFinished();
}

// The user picks a place from the drop-down.
void ChoosePlace(TForm1& w, int index) {
  w.ComboBoxPunkt->setCurrentIndex(index);
  w.PlaceBox().ComboBoxPunktChange(index);
}

TEST(FormPictures, EachTabShowsItsControls) {
  FormFixture f;
  f.Start(kPlaces);
  TForm1& w = *f.form;
  QTabBar* tabs = w.TabControl1->Tabs();
  ASSERT_EQ(tabs->count(), 5);
  struct Case {
    int tab;
    bool group1, note, excel, save, sky, year;
  } cases[] = {
      {3, false, false, false, true, true, false},  // "Небо": places only, the save button for "В Excel"
      {4, true, false, false, true, false, true},   // "Год": year, zone and twilight too
      {2, true, true, true, false, false, false},   // the outage table keeps "В Excel"
      {0, true, true, true, false, false, false},   // back on the sun table all is as before
      {1, false, true, true, false, false, false},  // the satellite note beneath GroupBox1
  };
  for (const Case& c : cases) {
    tabs->setCurrentIndex(c.tab);
    EXPECT_EQ(w.GroupBox1->isVisibleTo(&w), c.group1) << c.tab;
    EXPECT_TRUE(w.GroupBoxInput->isVisibleTo(&w)) << c.tab;
    EXPECT_EQ(w.Label2->isVisibleTo(&w), c.note) << c.tab;
    EXPECT_EQ(w.ButtonExcel->isVisibleTo(&w), c.excel) << c.tab;
    EXPECT_EQ(w.Pictures().ButtonSave->isVisibleTo(&w), c.save) << c.tab;
    EXPECT_EQ(w.Pictures().SkyPage->isVisibleTo(&w), c.sky) << c.tab;
    EXPECT_EQ(w.Pictures().YearView->isVisibleTo(&w), c.year) << c.tab;
  }
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("Небо"));
  EXPECT_EQ(tabs->tabText(4), QStringLiteral("Год"));
  // The year chart follows the scroll bars: the month of the sun table is highlighted.
  tabs->setCurrentIndex(4);
  EXPECT_EQ(w.Pictures().Year().year, 2026);
  EXPECT_EQ(w.Pictures().Year().month, 3);
  EXPECT_EQ(w.Pictures().Year().today, 73);  // 15 March
  // The sky view starts on the first day of that month.
  tabs->setCurrentIndex(3);
  EXPECT_EQ(w.Pictures().EditSkyDate->date(), QDate(2026, 3, 1));
  EXPECT_FALSE(w.Pictures().Sky().now);  // the clock says 15 March
  w.Pictures().EditSkyDate->setDate(QDate(2026, 3, 15));
  EXPECT_TRUE(w.Pictures().Sky().now);
  EXPECT_TRUE(f.errors.empty());
}

TEST(FormPictures, HorizonFieldFollowsTheFieldRulesAndTheSettingsFile) {
  FormFixture f;
  f.Start(kPlaces);
  TForm1& w = *f.form;
  w.TabControl1->Tabs()->setCurrentIndex(3);
  PictureTabs& p = w.Pictures();
  EXPECT_EQ(p.EditHorizon->text(), QString());  // Moscow has none
  EXPECT_EQ(VisibleSlots(p.Sky().arc), 148);
  // The outage tab's slot is ringed in any of its spellings; a slot between marks rings none.
  for (const auto& [slot, ringed] : {std::pair{"36e", "36 E"}, {"0", "0"}, {"19.2 E", ""}}) {
    w.ESlot->setText(QString::fromUtf8(slot));
    w.TabControl1->Tabs()->setCurrentIndex(0);
    w.TabControl1->Tabs()->setCurrentIndex(3);
    const int i = p.Sky().highlighted;
    EXPECT_EQ(i < 0 ? "" : p.Sky().arc[static_cast<std::size_t>(i)].label, ringed) << slot;
  }

  // A bad pair is named, the text stays, nothing changes.
  EnterHorizon(w, QStringLiteral("90:20 270:x"));
  ASSERT_EQ(f.errors.size(), 1u);
  EXPECT_NE(f.errors[0].find("'270:x'"), std::string::npos);
  EXPECT_EQ(p.EditHorizon->text(), QStringLiteral("90:20 270:x"));
  EXPECT_EQ(p.Horizons().count("Москва"), 0u);

  // The comma rule, then the mask hides the low ends of the arc.
  EnterHorizon(w, QStringLiteral("90:20 270:20,5"));
  EXPECT_EQ(p.EditHorizon->text(), QStringLiteral("90:20 270:20.5"));
  EXPECT_LT(VisibleSlots(p.Sky().arc), 148);

  // The other place shows its stored mask; a deleted place loses its own.
  ChoosePlace(w, 1);
  EXPECT_EQ(p.EditHorizon->text().left(7), QStringLiteral("300:15 "));
  test::BoxAnswer answer;
  test::AnswerNextBox(QMessageBox::Yes, &answer);
  w.PlaceBox().ButtonDeleteClick();
  ASSERT_TRUE(w.FormClose());
  const std::string saved = test::ReadSettingsFile(f.settings_path);
  EXPECT_NE(saved.find("[Horizon]\r\nМосква=90:20 270:20.5\r\n"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("Буэнос"), std::string::npos) << saved;

  // With no mask left, the section goes.
  ChoosePlace(w, 0);
  EnterHorizon(w, QString());
  ASSERT_TRUE(w.FormClose());
  EXPECT_EQ(test::ReadSettingsFile(f.settings_path).find("Horizon"), std::string::npos);
}

TEST(FormPictures, EveryTabUsesThePlaceLastComputed) {
  FormFixture f;
  f.Start(std::string(kPlaces) + "[Form]\nESlot=36 E\n");
  TForm1& w = *f.form;
  QTabBar* tabs = w.TabControl1->Tabs();
  PictureTabs& p = w.Pictures();
  tabs->setCurrentIndex(3);
  const std::vector<ArcSlot> sky = p.Sky().arc;
  tabs->setCurrentIndex(4);
  const std::vector<double> rises = p.Year().days[100].rises;
  tabs->setCurrentIndex(0);
  // Typed coordinates wait for the next recomputation, on the new tabs as on the tables.
  w.EditSir->setText(QStringLiteral("86"));
  w.EditDolg->setText(QStringLiteral("-150"));
  w.Input().EditSirExit();
  w.Input().EditDolgExit();
  const auto moscow_everywhere = [&](bool moscow) {
    tabs->setCurrentIndex(3);
    EXPECT_EQ(p.Sky().arc.size(), sky.size());
    EXPECT_EQ(p.Sky().arc[0].azimuth == sky[0].azimuth, moscow);
    EXPECT_EQ(p.Sky().title.starts_with("Москва"), true);
    tabs->setCurrentIndex(4);
    EXPECT_EQ(p.Year().days[100].rises == rises, moscow);
    tabs->setCurrentIndex(kOutageTab);
    EXPECT_EQ(w.LabelOutInfo->text().contains(QStringLiteral("Высота 26.5°")), moscow) << w.LabelOutInfo->text().toStdString();
  };
  moscow_everywhere(true);
  // A double click on 36 E of Moscow's table opens Moscow's outages.
  int col = -1, row = -1;
  for (int c = 0; c < w.SatGrid().ColCount(); c += 5)
    for (int r = 1; r < w.SatGrid().RowCount(); ++r)
      if (w.SatGrid().Cell(c, r) == "36 E") col = c, row = r;
  ASSERT_GE(col, 0);
  w.Sat().StringGridSatDblClick(col + 2, row);
  EXPECT_EQ(w.ESlot->text(), QStringLiteral("36 E"));
  EXPECT_EQ(w.LabelOutNote->text(), QString());
  EXPECT_TRUE(w.LabelOutInfo->text().contains(QStringLiteral("Высота 26.5°")));
  EXPECT_TRUE(f.errors.empty()) << f.errors[0];
  // The next recomputation takes the typed place everywhere.
  w.Input().CheckBoxSecClick();
  moscow_everywhere(false);
}

TEST(FormPictures, BadStoredHorizonIsReportedOnceAndLeftForCorrection) {
  FormFixture f;
  f.Start("[Points]\nМосква=55.75;37.62\n[Horizon]\nМосква=garbage:::;;; 90:5 xx\n");
  TForm1& w = *f.form;
  PictureTabs& p = w.Pictures();
  for (int i = 0; i < 2; ++i) {
    w.TabControl1->Tabs()->setCurrentIndex(3);
    w.TabControl1->Tabs()->setCurrentIndex(0);
  }
  w.TabControl1->Tabs()->setCurrentIndex(3);
  emit p.EditHorizon->editingFinished();  // left without a change
  ASSERT_EQ(f.errors.size(), 1u);
  EXPECT_NE(f.errors[0].find("Неверная точка горизонта 'garbage:::;;;'"), std::string::npos) << f.errors[0];
  EXPECT_EQ(p.EditHorizon->text(), QStringLiteral("garbage:::;;; 90:5 xx"));
  // The sky without the mask, titled, counting the place's slots.
  EXPECT_TRUE(p.Sky().title.starts_with("Москва"));
  EXPECT_EQ(pictures::SkyCountText(p.Sky()), QStringLiteral("Видно позиций: 148 из 160"));
}

TEST(FormPictures, LongHorizonIsShownWholeAndNotCheckedUnchanged) {
  std::string mask;
  char point[32];
  for (int i = 0; i < 10000; ++i) {
    std::snprintf(point, sizeof point, "%s%.3f:%d", i ? " " : "", i * 0.036, 5 + i % 7);
    mask += point;
  }
  ASSERT_GT(mask.size(), 32767u);
  FormFixture f;
  f.Start("[Points]\nМосква=55.75;37.62\n[Horizon]\nМосква=" + mask + "\n");
  TForm1& w = *f.form;
  PictureTabs& p = w.Pictures();
  w.TabControl1->Tabs()->setCurrentIndex(3);
  EXPECT_EQ(p.EditHorizon->text().toStdString(), mask);
  emit p.EditHorizon->editingFinished();
  EXPECT_TRUE(f.errors.empty()) << f.errors[0];
  ASSERT_TRUE(w.FormClose());
  EXPECT_NE(test::ReadSettingsFile(f.settings_path).find(mask + "\r\n"), std::string::npos);
}

TEST(FormPictures, SaveWritesThePicture) {
  FormFixture f;
  f.Start(kPlaces);
  TForm1& w = *f.form;
  QString asked;
  struct Case {
    const char* name;    // as typed in the dialog
    const char* filter;  // the type chosen there
    const char* file;    // written
    const char* holds;
  } cases[] = {
      {"sky.svg", "SVG (*.svg)", "sky.svg", "viewBox=\"0 0 1200 600\""},
      {"sky", "SVG (*.svg)", "sky.svg", "viewBox=\"0 0 1200 600\""},  // the type's extension added
      {"plain", "PNG (*.png)", "plain.png", "PNG"},
  };
  w.TabControl1->Tabs()->setCurrentIndex(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.Pictures().ask_save_path = [&](const QString& start, QString& filter) {
      asked = start;
      filter = QString::fromUtf8(c.filter);
      return f.dir.filePath(QString::fromUtf8(c.name));
    };
    w.Pictures().ButtonSave->click();
    EXPECT_EQ(asked, f.dir.path() + QStringLiteral("/Москва_небо.png"));  // where exports go
    QFile file(f.dir.filePath(QString::fromUtf8(c.file)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(c.holds));
  }
}

// The titles name the zone as the workbooks do: an offset of 0 stands without a sign.
TEST(FormPictures, TitlesNameTheZoneAsTheWorkbooks) {
  const struct {
    const char* form;
    const char* zone;
  } cases[] = {
      {"RBG=0\nEM=0", "   MSK"},    // Moscow time itself
      {"RBG=1\nEG=0", "   GMT"},    // GMT itself
      {"RBG=1\nEG=3", "   GMT+3"},  // east of GMT
      {"RBG=0\nEM=-1", "   MSK-1"}, // west of Moscow
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.form);
    FormFixture f;
    f.Start(std::string("[Points]\nМосква=55.75;37.62\n[Form]\n") + c.form + "\n");
    PictureTabs& p = f.form->Pictures();
    f.form->TabControl1->Tabs()->setCurrentIndex(3);
    EXPECT_TRUE(p.Sky().title.ends_with(c.zone)) << p.Sky().title;
    f.form->TabControl1->Tabs()->setCurrentIndex(4);
    EXPECT_TRUE(p.Year().title.ends_with(c.zone)) << p.Year().title;
  }
}

}  // namespace
}  // namespace kelmar::ui
