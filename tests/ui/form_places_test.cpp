// The place list in the window: choosing from the drop-down, adding by coordinates or by
// locator, refused names, deleting with its two dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/locator.h"
#include "settings/place_ops.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

using test::BoxAnswer;
using test::FormFixture;

const char* const kTwoPlaces = "[Points]\nA=10;20\nB=56.3;44\n[Form]\nInd=1\nRB3=1\nRBG=0\n";

void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

TEST(FormPlaces, ChoosingAnEntryLoadsItAndRecomputesBothTables) {
  FormFixture f;
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  f.ShowActive();
  const std::string trace = f.trace;
  w.ComboBoxPunkt->setFocus();
  QTest::keyClick(w.ComboBoxPunkt, Qt::Key_Up);  // the user picks "A" with the keyboard
  EXPECT_EQ(w.PlaceIndex(), 0);
  EXPECT_EQ(w.EditSir->text(), QStringLiteral("10"));
  EXPECT_EQ(w.EditDolg->text(), QStringLiteral("20"));
  EXPECT_EQ(f.trace, trace + "CS");

  // The program's own selection is no choice of the user's.
  w.ComboBoxPunkt->setCurrentIndex(1);
  EXPECT_EQ(w.PlaceIndex(), 0);
  EXPECT_EQ(f.trace, trace + "CS");
}

TEST(FormPlaces, TheDropDownIsSearchedByTyping) {
  FormFixture f;
  f.Start("[Points]\nМосква=55.75;37.62\nН.Новгород=56.3;44\nКиев=50.45;30.52\n[Form]\nInd=0\n");
  TForm1& w = *f.form;
  f.ShowActive();
  w.ComboBoxPunkt->setFocus();
  const std::string trace = f.trace;
  // The letter arrives as text: the test library cannot type Cyrillic keys by their codes.
  QTest::sendKeyEvent(QTest::Click, w.ComboBoxPunkt, Qt::Key_unknown, QStringLiteral("К"), Qt::NoModifier);
  EXPECT_EQ(w.ComboBoxPunkt->currentIndex(), 2);
  EXPECT_EQ(w.PlaceIndex(), 2);
  EXPECT_EQ(w.EditSir->text(), QStringLiteral("50.45"));
  EXPECT_EQ(f.trace, trace + "CS");
  EXPECT_FALSE(w.ComboBoxPunkt->isEditable());  // no free text that could name no place
}

TEST(FormPlaces, ChoosingAPlaceWithBadCoordinatesReportsAndKeepsTheTables) {
  FormFixture f;
  f.Start("[Points]\nA=10;20\nB=44\n[Form]\nInd=0\n");  // B has no ";": no latitude
  TForm1& w = *f.form;
  const TextGrid sun = w.SunGrid();
  const std::string trace = f.trace;
  emit w.ComboBoxPunkt->activated(1);
  EXPECT_EQ(f.errors, std::vector<std::string>{"'' is not a valid floating point value."});
  EXPECT_EQ(f.trace, trace);
  EXPECT_EQ(w.SunGrid(), sun);
}

TEST(FormPlaces, AddingAPlace) {
  struct Case {
    const char* name;
    const char* sir;
    const char* dolg;
    const char* stored_lat;
    const char* stored_lon;
    const char* error;  // the report after the add, "" for none
    const char* pins;
  } cases[] = {
      {"В.Поляны", "12,5", "44,0", "12.5", "44.0", "", "by coordinates, commas made points"},
      {"Дробь", "1,2,3", "5", "1.2,3", "5", "'1.2,3' is not a valid floating point value.",
       "only the first comma: stored, then reported"},
      {"Пусто", "???", "???", "???", "???", "'\?\?\?' is not a valid floating point value.",
       "placeholders untouched: the place stays"},
      {" KO85TS", "", "", nullptr, nullptr, "", "by locator: a blank, then six characters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    FormFixture f;
    f.Start(kTwoPlaces);
    f.ShowActive();
    TForm1& w = *f.form;
    Click(w.ButtonNew);  // phase 1
    EXPECT_EQ(w.ButtonNew->text(), QStringLiteral("Готово"));
    EXPECT_TRUE(w.EditPunkt->isVisible());
    EXPECT_FALSE(w.ComboBoxPunkt->isVisible());
    EXPECT_FALSE(w.ButtonDelete->isEnabled());
    EXPECT_EQ(w.EditSir->text(), QStringLiteral("???"));
    EXPECT_EQ(w.EditDolg->text(), QStringLiteral("???"));
    EXPECT_EQ(w.EditPunkt->text(), QStringLiteral("???"));
    const std::string trace = f.trace;

    w.EditPunkt->setText(QString::fromUtf8(c.name));
    if (std::string(c.sir) != "???") {
      w.EditSir->setText(QString::fromUtf8(c.sir));
      w.EditDolg->setText(QString::fromUtf8(c.dolg));
    }
    Click(w.ButtonNew);  // phase 2
    EXPECT_EQ(w.ButtonNew->text(), QStringLiteral("Добавить"));
    EXPECT_FALSE(w.EditPunkt->isVisible());
    EXPECT_TRUE(w.ComboBoxPunkt->isVisible());
    EXPECT_TRUE(w.ButtonDelete->isEnabled());

    ASSERT_EQ(w.Places().Count(), 3);
    EXPECT_EQ(w.Places()[2].name, c.name);  // as typed, leading blank included
    std::string lat = c.stored_lat ? c.stored_lat : LocatorToCoords(c.name)->lat;
    std::string lon = c.stored_lon ? c.stored_lon : LocatorToCoords(c.name)->lon;
    EXPECT_EQ(w.Places()[2].lat, lat);
    EXPECT_EQ(w.Places()[2].lon, lon);
    EXPECT_EQ(w.PlaceIndex(), 2);
    EXPECT_EQ(w.Places().Count(), 3);
    EXPECT_EQ(w.ComboBoxPunkt->currentIndex(), 2);
    EXPECT_EQ(w.ComboBoxPunkt->currentText(), QString::fromUtf8(c.name));
    EXPECT_EQ(w.EditSir->text(), QString::fromStdString(lat));
    if (*c.error) {
      EXPECT_EQ(f.errors, std::vector<std::string>{c.error});
      EXPECT_EQ(f.trace, trace);
    } else {
      EXPECT_TRUE(f.errors.empty());
      EXPECT_EQ(f.trace, trace + "CS");
    }
  }
}

TEST(FormPlaces, NamesTheFileCannotKeepAreRefused) {
  struct Case {
    const char* name;
    const char* pins;
  } cases[] = {
      {"", "empty: it would end every walk over the list"},
      {"   ", "blank"},
      {"a=b", "'=' would split the line"},
      {";x", "';' would make the line a comment"},
      {" ZZ99", "a blank, then no locator"},
      {"b", "the same name as a stored place, without regard to case"},
  };
  FormFixture f;
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    Click(w.ButtonNew);
    w.EditPunkt->setText(QString::fromUtf8(c.name));
    w.EditSir->setText(QStringLiteral("1"));
    w.EditDolg->setText(QStringLiteral("2"));
    BoxAnswer box;
    test::AnswerNextBox(QMessageBox::Ok, &box);
    Click(w.ButtonNew);
    ASSERT_TRUE(box.seen);
    EXPECT_EQ(box.title, QStringLiteral("Information"));
    EXPECT_FALSE(box.text.isEmpty());
    EXPECT_EQ(w.Places().Count(), 2);
    // Still entering: the user may correct the name.
    EXPECT_EQ(w.ButtonNew->text(), QStringLiteral("Готово"));
    EXPECT_FALSE(w.ButtonDelete->isEnabled());
    // Leave the add flow with a good name for the next row.
    w.EditPunkt->setText(QString::fromUtf8("Новый") + QString::number(w.Places().Count()));
    Click(w.ButtonNew);
    ASSERT_EQ(w.Places().Count(), 3);
    // Delete it again so every row starts from the same list.
    test::AnswerNextBox(QMessageBox::Yes, &box);
    Click(w.ButtonDelete);
    ASSERT_EQ(w.Places().Count(), 2);
  }
}

TEST(FormPlaces, DeletingAPlace) {
  struct Case {
    const char* ini;
    QMessageBox::StandardButton answer;
    const char* question;
    int count_after;
    bool information;
    const char* pins;
  } cases[] = {
      {kTwoPlaces, QMessageBox::Yes, "Удалить запись \"B\" ?", 1, false, "Yes deletes the selected place"},
      {kTwoPlaces, QMessageBox::No, "Удалить запись \"B\" ?", 2, false, "No keeps it"},
      {"[Points]\nA=10;20\n", QMessageBox::Yes, "Удалить запись \"A\" ?", 1, true, "the last place stays"},
      {"[Points]\nA=10;20\n", QMessageBox::No, "Удалить запись \"A\" ?", 1, false, "No asks nothing more"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pins);
    FormFixture f;
    f.Start(c.ini);
    TForm1& w = *f.form;
    const std::string trace = f.trace;
    BoxAnswer question;
    BoxAnswer info;
    test::AnswerNextBox(c.answer, &question);
    if (c.information) {
      // The information box opens after the question has closed.
      QTimer::singleShot(50, [&] { test::AnswerNextBox(QMessageBox::Ok, &info); });
    }
    Click(w.ButtonDelete);
    ASSERT_TRUE(question.seen);
    EXPECT_EQ(question.title, QStringLiteral("Warning"));
    EXPECT_EQ(question.text, QString::fromUtf8(c.question));
    EXPECT_EQ(question.icon, QMessageBox::Warning);
    EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("&Да"), QStringLiteral("&Нет")}));  // Qt's own, translated
    EXPECT_EQ(w.Places().Count(), c.count_after);
    EXPECT_EQ(w.ComboBoxPunkt->count(), c.count_after);
    if (c.information) {
      QTest::qWait(100);
      ASSERT_TRUE(info.seen);
      EXPECT_EQ(info.title, QStringLiteral("Information"));
      EXPECT_EQ(info.text, QStringLiteral("Нельзя уничтожить последнюю запись"));
      EXPECT_EQ(info.buttons, QStringList{QStringLiteral("OK")});
    }
    const bool deleted = c.answer == QMessageBox::Yes && !c.information;
    if (deleted) {
      EXPECT_EQ(w.PlaceIndex(), 0);
      EXPECT_EQ(w.ComboBoxPunkt->currentIndex(), 0);
      EXPECT_EQ(w.EditSir->text(), QStringLiteral("10"));
      EXPECT_EQ(f.trace, trace + "CS");
    } else {
      EXPECT_EQ(f.trace, trace);
    }
    EXPECT_TRUE(f.errors.empty());
  }
}

TEST(FormPlaces, CloseWhileEnteringSavesTheListWithoutTheNewPlace) {
  FormFixture f;
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  Click(w.ButtonNew);
  w.EditPunkt->setText(QStringLiteral("Новый"));
  w.show();
  EXPECT_TRUE(w.close());
  const std::string saved = test::ReadSettingsFile(f.settings_path);
  EXPECT_NE(saved.find("[Points]\r\nA=10;20\r\nB=56.3;44\r\n\r\n"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("Новый"), std::string::npos);
}

TEST(FormPlaces, AnAddedPlaceIsSavedLastAndSelected) {
  FormFixture f;
  f.Start(kTwoPlaces);
  TForm1& w = *f.form;
  Click(w.ButtonNew);
  w.EditPunkt->setText(QStringLiteral("Новый"));
  w.EditSir->setText(QStringLiteral("1"));
  w.EditDolg->setText(QStringLiteral("2"));
  Click(w.ButtonNew);
  w.show();
  EXPECT_TRUE(w.close());
  const std::string saved = test::ReadSettingsFile(f.settings_path);
  EXPECT_NE(saved.find("Ind=2\r\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("B=56.3;44\r\nНовый=1;2\r\n"), std::string::npos) << saved;
}

}  // namespace
}  // namespace kelmar::ui
