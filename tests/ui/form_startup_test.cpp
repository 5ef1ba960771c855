// Start-up of the window: the controls as designed, the scaling, the selectors set to today,
// the tables filled, the tab switch, and the close that writes the settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

#include "core/day_serial.h"
#include "core/sat_table.h"
#include "core/sun_table.h"
#include "ui/design_fonts.h"
#include "ui/layout.h"
#include "ui/picture_tabs.h"
#include "ui/text_grid_view.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::FormFixture;

const char* const kTwoPlaces =
    "[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\n"
    "[Form]\nInd=1\nRB3=1\nRBG=0\nEK=12.345\nEU=6\nEM=0\nEG=3\n";

TEST(FormStartup, ControlsCarryTheirNamesCaptionsAndFonts) {
  FormFixture f;
  const QFont app_font = QApplication::font();
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  EXPECT_EQ(QApplication::font(), app_font);  // lent to the fields while they were made
  EXPECT_EQ(w.windowTitle(), QStringLiteral("  Kelmar   (v. 1.2.12)"));
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(w.minimumSize(), w.maximumSize());  // fixed size
  EXPECT_EQ(w.size(), QSize(792, 528));
  EXPECT_TRUE(w.windowIcon().isNull());  // read once the window has been painted

  struct Case {
    const char* name;
    QString text;   // caption or default text as the user sees it after start-up
    int font_px;    // 0: not checked
    bool bold;
  } cases[] = {
      {"GroupBoxInput", QStringLiteral("Населенные  пункты"), 11, true},  // two spaces
      {"ButtonNew", QStringLiteral("Добавить"), 11, true},
      {"ButtonDelete", QStringLiteral("Удалить"), 11, true},
      {"ButtonExcel", QStringLiteral("В Excel"), 11, true},
      {"LabelSir", QStringLiteral("Широта ="), 11, true},  // inherits GroupBoxInput's font
      {"LabelDolg", QStringLiteral("Долгота ="), 11, true},
      {"GroupBoxTime", QStringLiteral("Время"), 11, true},
      {"RadioButtonGMT", QStringLiteral("GMT +"), 11, true},
      {"RadioButtonMSK", QStringLiteral("MSK +"), 11, true},
      {"Label7", QStringLiteral("час"), 11, true},
      {"ButtonTDown", QStringLiteral("<"), 11, false},
      {"ButtonTUp", QStringLiteral(">"), 11, false},
      {"CheckBoxSec", QStringLiteral("с секундами"), 11, true},
      {"GroupBoxSumerki", QString::fromUtf8("C\xd1\x83\xd0\xbc\xd0\xb5\xd1\x80\xd0\xba\xd0\xb8"), 11, true},  // Latin C
      {"RadioButtonUgol", QStringLiteral("    Угол"), 11, true},  // four spaces
      {"RadioButtonVys", QStringLiteral("Высота"), 11, true},
      {"LabelGr", QStringLiteral("гр."), 11, true},
      {"LabelKm", QStringLiteral("км"), 11, true},
      {"LabelY", QStringLiteral("2026"), 24, true},
      {"LabelM", QStringLiteral("Март"), 16, true},
      {"Label2", Label2Text(), 12, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(widget, nullptr);
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(widget)) text = b->text();
    if (auto* l = qobject_cast<QLabel*>(widget)) text = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(widget)) text = g->title();
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(widget->font().pixelSize(), c.font_px);
    EXPECT_EQ(widget->font().bold(), c.bold);
  }
  EXPECT_EQ(w.GroupBoxSumerki->title().at(0).unicode(), 0x43);
  EXPECT_EQ(w.EditPunkt->toolTip(), QStringLiteral("\"В.Поляны\" или \" LO56CD...\""));
  EXPECT_FALSE(w.ComboBoxPunkt->isEditable());

  const QStringList note = Label2Text().split(QLatin1Char('\n'));
  ASSERT_EQ(note.size(), 19);
  EXPECT_EQ(note[5], QStringLiteral("**)  Коррекция - угол"));
  EXPECT_EQ(note[7], QStringLiteral("от \"нормального\""));
  EXPECT_EQ(note[12], QStringLiteral("    {+/-} угла означает"));
  EXPECT_EQ(note[17], QStringLiteral("на ковертор со стороны"));
  EXPECT_EQ(w.TabControl1->Tabs()->tabText(0), QStringLiteral("Солнце"));
  EXPECT_EQ(w.TabControl1->Tabs()->tabText(1), QStringLiteral("Спутники"));
}

// The window names the face Qt would settle on for each designed one, so the three designed
// names share one font; a face that is there, or one with nothing to stand in, keeps its name.
TEST(FormStartup, DesignFacesAreTheFacesQtWouldPick) {
  FormFixture f;
  f.Start(kTwoPlaces);  // the window sets the substitutes for faces that are missing
  for (const char* family : {"Tahoma", "MS Sans Serif", "Arial", "DejaVu Sans"}) {
    SCOPED_TRACE(family);
    const QString designed = QString::fromLatin1(family);
    const QString picked = QFontInfo(QFont(designed)).family();
    EXPECT_EQ(DesignFamily(designed), picked);  // "DejaVu Sans": there, so itself
  }
  EXPECT_EQ(DesignFamily(QStringLiteral("Kelmar No Such Face")), QStringLiteral("Kelmar No Such Face"));
  EXPECT_EQ(f.form->ButtonExcel->font().family(), DesignFamily(QStringLiteral("Tahoma")));
}

TEST(FormStartup, GeometryIsScaledByTheScreenHeight) {
  for (int v : {640, 768, 1080}) {
    SCOPED_TRACE(v);
    FormFixture f;
    f.Start(kTwoPlaces, QDate(2026, 3, 15), v);
    TForm1& w = *f.form;
    const WindowLayout layout = ComputeWindowLayout(v);
    EXPECT_EQ(w.size(), QSize(layout.client_width, layout.client_height));
    EXPECT_EQ(w.font().pixelSize(), layout.window_font_px);
    for (const ControlDesign& design : DesignControls()) {
      SCOPED_TRACE(std::string(design.name));
      QWidget* widget = w.findChild<QWidget*>(QString::fromLatin1(design.name.data(), design.name.size()));
      ASSERT_NE(widget, nullptr);
      const Rect r = ScaleRect(design.rect, v);
      EXPECT_EQ(widget->x(), r.left);
      EXPECT_EQ(widget->y(), r.top);
      EXPECT_EQ(widget->width(), r.width);
      if (design.height_follows_font) {
        EXPECT_EQ(widget->height(), QFontMetrics(widget->font()).height() + 8);
      } else {
        EXPECT_EQ(widget->height(), r.height);
      }
      if (design.font_px != 0) {
        // A field or button is set smaller where its text would not fit at the scaled size.
        const bool fitted = qobject_cast<QLineEdit*>(widget) || widget == w.ButtonExcel || widget == w.LabelMag || widget == w.Label2;
        if (fitted) {
          EXPECT_LE(widget->font().pixelSize(), ScaleCoord(design.font_px, v));
        } else {
          EXPECT_EQ(widget->font().pixelSize(), ScaleCoord(design.font_px, v));
        }
      }
    }
    EXPECT_EQ(w.StringGridVos->ColWidths(), layout.sun.col_widths);
    EXPECT_EQ(w.StringGridVos->DefaultRowHeight(), layout.sun.row_height);
    EXPECT_EQ(w.StringGridSat->ColWidths(), layout.sat.col_widths);
    EXPECT_EQ(w.StringGridSat->DefaultRowHeight(), layout.sat.row_height);
  }
}

// The widest text each narrow field or button is to hold fits inside it at every screen height,
// and the picture tabs' save button has the font of "В Excel".
TEST(FormStartup, TextsFitTheirControlsAtEverySize) {
  const std::pair<const char*, const char*> widest[] = {
      {"EditSir", "-55.755"}, {"EditDolg", "-155.75"}, {"EditGMT", "-12"}, {"EditMSK", "-12"}, {"EditUg", "18.5"},
      {"EditKm", "12.345"},   {"ESlot", "150.5 W"},    {"EDish", "1.25"},  {"EFreq", "12.75"},
  };
  for (int v : {600, 640, 768, 1080, 1200}) {
    SCOPED_TRACE(v);
    FormFixture f;
    f.Start(kTwoPlaces, QDate(2026, 3, 15), v);
    TForm1& w = *f.form;
    for (const auto& [name, text] : widest) {
      SCOPED_TRACE(name);
      auto* field = w.findChild<QLineEdit*>(QString::fromLatin1(name));
      ASSERT_NE(field, nullptr);
      EXPECT_LE(QFontMetrics(field->font()).horizontalAdvance(QString::fromUtf8(text)), field->width() - kFieldFrame);
      EXPECT_GE(field->font().pixelSize(), 8);
    }
    w.TabControl1->Tabs()->setCurrentIndex(3);
    QPushButton* save = w.Pictures().ButtonSave;
    EXPECT_EQ(save->font(), w.ButtonExcel->font());
    EXPECT_EQ(save->geometry(), w.ButtonExcel->geometry());
    EXPECT_LE(QFontMetrics(save->font()).horizontalAdvance(save->text()), save->width() - kButtonFrame);
  }
}

TEST(FormStartup, LoadsThePlacesAndFillsBothTables) {
  FormFixture f;
  f.Start(kTwoPlaces, QDate(2026, 3, 15));
  TForm1& w = *f.form;
  EXPECT_TRUE(f.errors.empty());
  ASSERT_EQ(w.ComboBoxPunkt->count(), 2);
  EXPECT_EQ(w.ComboBoxPunkt->itemText(0), QStringLiteral("Москва"));
  EXPECT_EQ(w.ComboBoxPunkt->currentIndex(), 1);
  EXPECT_EQ(w.PlaceIndex(), 1);
  EXPECT_EQ(w.Places().Count(), 2);
  EXPECT_EQ(w.EditSir->text(), QStringLiteral("56.3"));
  EXPECT_EQ(w.EditDolg->text(), QStringLiteral("44"));
  EXPECT_TRUE(w.RadioButtonMSK->isChecked());
  EXPECT_TRUE(w.RadioButtonUgol->isChecked());
  EXPECT_EQ(w.ScrollBarY->value(), 2026);
  EXPECT_EQ(w.ScrollBarM->value(), 3);
  EXPECT_EQ(w.State().Year, 2026);
  EXPECT_EQ(w.State().Month, 3);
  // Year moved (2000 → 2026) and month moved (10 → 3): each ran its handler; then both tables.
  EXPECT_EQ(f.trace, "CCCS");

  // The grids hold what the computations give for the same fields.
  CalcState st;
  st.Year = 2026;
  st.Month = 3;
  InputFields in;
  in.latitude = "56.3";
  in.longitude = "44";
  in.twilight_height = "12.345";
  TextGrid sun = MakeSunGrid();
  TextGrid sat = MakeSatGrid();
  Calc(st, in, sun);
  Satel(ObserverFromFields(in), sat);
  EXPECT_EQ(w.SunGrid(), sun);
  EXPECT_EQ(w.SatGrid(), sat);
  EXPECT_EQ(w.SunGrid().Cell(0, 1).substr(0, 8), "01.03.26");  // the month of the clock's today
}

TEST(FormStartup, SelectorHandlersRunOnlyWhenThePositionMoves) {
  struct Case {
    QDate today;
    const char* trace;
    int year;
    const char* label_y;
    const char* label_m;
    const char* pins;
  } cases[] = {
      {QDate(2000, 10, 5), "CS", 2000, "2000", "Октябрь", "design positions: no handler, each table once"},
      {QDate(2000, 3, 5), "CCS", 2000, "2000", "Март", "only the month moves"},
      {QDate(1999, 10, 5), "CCS", 1999, "1999", "Октябрь", "only the year moves"},
      {QDate(2250, 6, 1), "CCCS", 2200, "2200", "Июнь", "the year selector stops at 2200"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    FormFixture f;
    f.Start(kTwoPlaces, c.today);
    EXPECT_EQ(f.trace, c.trace);
    EXPECT_EQ(f.form->ScrollBarY->value(), c.year);
    EXPECT_EQ(f.form->State().Year, c.year);
    EXPECT_EQ(f.form->LabelY->text(), QString::fromUtf8(c.label_y));
    EXPECT_EQ(f.form->LabelM->text(), QString::fromUtf8(c.label_m));
    EXPECT_TRUE(f.errors.empty());
  }
}

TEST(FormStartup, WithoutPlacesNothingIsComputed) {
  struct Case {
    const char* ini;
    const char* pins;
    const char* gmt;  // EditGMT, and whether twilight goes by angle
    bool angle;
  } cases[] = {
      {"", "no settings file: the starter file's zone and twilight", "3", true},
      {"[Form]\nInd=3\n", "a file without places", "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    FormFixture f;
    f.Start(c.ini);
    EXPECT_EQ(f.form->EditGMT->text(), QString::fromUtf8(c.gmt));
    EXPECT_EQ(f.form->RadioButtonUgol->isChecked(), c.angle);
    EXPECT_TRUE(f.errors.empty());
    EXPECT_EQ(f.trace, "");
    EXPECT_EQ(f.form->ComboBoxPunkt->count(), 0);
    EXPECT_EQ(f.form->EditSir->text(), QString());
    EXPECT_EQ(f.form->SunGrid().Cell(1, 0), "Восход");  // headers are there
    EXPECT_TRUE(f.form->SunGrid().Cell(0, 1).empty());
    EXPECT_TRUE(f.form->SatGrid().Cell(0, 1).empty());
    EXPECT_EQ(f.form->LabelY->text(), QStringLiteral("2026"));
  }
}

TEST(FormStartup, AnErrorEndsTheStartUpButTheWindowOpens) {
  // Moscow-time zone with a zone field that is no number: the year handler's table fails.
  FormFixture f;
  f.Start("[Points]\nA=50;30\n[Form]\nRBG=0\nEM=abc\n");
  EXPECT_EQ(f.errors, std::vector<std::string>{"'abc' is not a valid floating point value."});
  EXPECT_EQ(f.trace, "C");      // no month handler, no satellite table
  EXPECT_EQ(f.form->ScrollBarM->value(), 10);  // the month step was skipped
  EXPECT_TRUE(f.form->SatGrid().Cell(0, 1).empty());
  f.form->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
}

TEST(FormStartup, TabsShowAndHideWithoutRecomputing) {
  FormFixture f;
  f.Start(kTwoPlaces);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TForm1& w = *f.form;
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.windowIcon().isNull(); }));
  const std::string trace = f.trace;
  struct Case {
    int tab;
    bool sun, sat, group1;
  } cases[] = {
      {1, false, true, false},  // "Спутники": the note shows in GroupBox1's place
      {0, true, false, true},   // "Солнце" covers it again
      {1, false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    w.TabControl1->Tabs()->setCurrentIndex(c.tab);
    EXPECT_EQ(w.StringGridVos->isVisible(), c.sun);
    EXPECT_EQ(w.StringGridSat->isVisible(), c.sat);
    EXPECT_EQ(w.GroupBox1->isVisible(), c.group1);
    EXPECT_TRUE(w.Label2->isVisible());  // always there, covered on the sun tab
    EXPECT_TRUE(w.GroupBoxInput->isVisible());
    EXPECT_TRUE(w.ButtonExcel->isVisible());
  }
  EXPECT_EQ(f.trace, trace);
}

TEST(FormStartup, TheShownGridsAreDrawnInTheirColours) {
  FormFixture f;
  f.Start(kTwoPlaces);
  f.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(f.form.get()));
  TextGridView* grid = f.form->StringGridVos;
  const QImage img = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QRect header = grid->CellRect(1, 0);
  const QRect body = grid->CellRect(1, 33);  // rows 32 and 33 stay empty
  EXPECT_EQ(img.pixelColor(header.topLeft()), QColor(255, 255, 0));
  EXPECT_GT(test::CountColour(img, header, QColor(255, 0, 0), 40), 0);
  EXPECT_EQ(test::CountColour(img, body, QColor(0, 255, 255)), body.width() * body.height());
  // Selecting a cell does not change its look.
  grid->SetCurrent(1, 33);
  const QImage after = grid->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(after, img);
}

TEST(FormStartup, CloseWritesTheSettingsFile) {
  FormFixture f;
  f.Start(kTwoPlaces);
  f.form->CheckBoxSec->setChecked(true);  // not a stored setting
  f.form->EditGMT->setText(QStringLiteral("5.5"));
  f.form->RadioButtonGMT->setChecked(true);
  f.form->show();
  EXPECT_TRUE(f.form->close());
  EXPECT_EQ(test::ReadSettingsFile(f.settings_path),
            // "Points" is written anew, after the sections the file already had.
            "[Form]\r\nInd=1\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\nEM=0\r\nEG=5.5\r\n\r\n"
            "[Points]\r\nМосква=55.75;37.62\r\nН.Новгород=56.3;44\r\n\r\n");
}

}  // namespace
}  // namespace kelmar::ui

namespace kelmar::ui {
namespace {

TEST(FormStartup, TabOrderFollowsTheDesign) {
  FormFixture f;
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  const std::vector<QWidget*> expected = {
      w.TabControl1->Tabs(), w.StringGridSat, w.StringGridVos, w.ButtonExcel,
      w.ButtonNew, w.ComboBoxPunkt, w.EditSir, w.EditDolg, w.ButtonDelete, w.EditPunkt,
      w.RadioButtonMSK, w.RadioButtonGMT, w.EditMSK, w.EditGMT, w.ButtonTUp, w.ButtonTDown, w.CheckBoxSec,
      w.RadioButtonUgol, w.RadioButtonVys, w.EditKm, w.EditUg, w.ButtonUgUp, w.ButtonUgDown,
      w.ScrollBarY, w.ScrollBarM,
  };
  // Walk the focus chain once round and keep the controls of the list, in the order met.
  std::vector<QWidget*> met;
  QWidget* x = expected.front();
  do {
    if (std::find(expected.begin(), expected.end(), x) != expected.end()) met.push_back(x);
    x = x->nextInFocusChain();
  } while (x != expected.front());
  ASSERT_EQ(met.size(), expected.size());
  for (std::size_t i = 0; i < met.size(); ++i) {
    EXPECT_EQ(met[i], expected[i]) << i << ": " << met[i]->objectName().toStdString();
  }
}

TEST(FormStartup, ASettingsFileThatCannotBeReadWholeIsNeverReplaced) {
  struct Case {
    bool folder;           // else a file whose text a NUL byte ends early
    const char* message;   // the start of the start-up report
    int places;            // shown from what could be read
  } cases[] = {
      {true, "Cannot open file ", 0},
      {false, "Файл настроек ", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FormFixture f;
    const QString path = f.dir.filePath(QStringLiteral("kelmar.INI"));
    static const char kCut[] = "[Points]\r\nA=1;2\r\n\0B=3;4\r\n";
    const std::string cut(kCut, sizeof kCut - 1);
    if (c.folder) {
      ASSERT_TRUE(QDir(f.dir.path()).mkdir(QStringLiteral("kelmar.INI")));
    } else {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(cut.data(), static_cast<qint64>(cut.size()));
    }
    f.Start("");
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.errors[0].rfind(c.message, 0), 0u) << f.errors[0];
    if (!c.folder) {
      EXPECT_EQ(f.errors[0], "Файл настроек " + f.settings_path +
                                 " повреждён (обрывается на нулевом байте) и не будет перезаписан. "
                                 "Исправьте или удалите его.");
    }
    EXPECT_EQ(f.form->Places().Count(), c.places);
    if (c.folder) {
      EXPECT_EQ(f.trace, "");  // nothing computed after the failed start
    }
    f.form->show();
    // The close never saves; it asks, and No keeps the window open.
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
      test::BoxAnswer question;
      test::AnswerNextBox(answer, &question);
      EXPECT_EQ(f.form->close(), answer == QMessageBox::Yes);
      ASSERT_TRUE(question.seen);
      EXPECT_EQ(question.text, QString::fromUtf8(kCloseUnsaved));
    }
    EXPECT_EQ(f.errors.size(), 1u);
    if (c.folder) {
      EXPECT_TRUE(QFileInfo(path).isDir());
    } else {
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(file.readAll().toStdString(), cut);
    }
  }
}

TEST(FormStartup, NamesEqualButForCaseAreToldOnceAndMergedAtClose) {
  FormFixture f;
  f.Start("[Points]\nТверь=1;2\nB=3;4\nТВЕРЬ=5;6\ntverь=7;8\nb=9;9\n[Form]\nInd=2\n");
  ASSERT_EQ(f.errors.size(), 1u);
  EXPECT_EQ(f.errors[0],
            "Названия пунктов, различающиеся только регистром букв, занимают в файле одну строку и будут "
            "объединены при закрытии: Тверь, ТВЕРЬ; B, b.");
  EXPECT_EQ(f.form->Places().Count(), 5);  // the list shows every line
  f.form->show();
  EXPECT_TRUE(f.form->close());
  const std::string saved = test::ReadSettingsFile(f.settings_path);
  EXPECT_NE(saved.find("Ind=0\r\n"), std::string::npos) << saved;  // ТВЕРЬ's shared line
  EXPECT_NE(saved.find("[Points]\r\nТВЕРЬ=5;6\r\nb=9;9\r\ntverь=7;8\r\n"), std::string::npos) << saved;
}

TEST(FormStartup, AFailedSaveAsksBeforeClosing) {
  struct Case {
    QMessageBox::StandardButton answer;
    bool closes;
  } cases[] = {
      {QMessageBox::No, false},  // the window stays open, nothing lost yet
      {QMessageBox::Yes, true},  // the user gives the settings up
  };
  for (const Case& c : cases) {
    FormFixture f;
    f.Start(kTwoPlaces);
    // The folder disappears while the program runs: the save cannot create the file.
    f.form->show();
    ASSERT_TRUE(f.dir.remove());
    test::BoxAnswer question;
    test::AnswerNextBox(c.answer, &question);
    EXPECT_EQ(f.form->close(), c.closes);
    ASSERT_EQ(f.errors.size(), 1u);
    EXPECT_EQ(f.errors[0], "Cannot create file " + f.settings_path + ".");
    ASSERT_TRUE(question.seen);
    EXPECT_EQ(question.title, QStringLiteral("Warning"));
    EXPECT_EQ(question.text, QString::fromUtf8(kCloseUnsaved));
    EXPECT_EQ(f.form->isVisible(), !c.closes);
  }
}

}  // namespace
}  // namespace kelmar::ui
