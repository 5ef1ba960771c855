// The default error report: its text rule, its box, and the guard around every handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <stdexcept>

#include "ui/error_report.h"
#include "ui_test_support.h"

namespace kelmar::ui {
namespace {

TEST(ErrorReport, FinalFullStopOnlyAfterCharactersSortingAfterIt) {
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {
      {"'abc' is not a valid floating point value", "'abc' is not a valid floating point value."},
      {"Cannot create file /x/kelmar.INI", "Cannot create file /x/kelmar.INI."},  // 'I' > '.'
      {"Already ends.", "Already ends."},                                        // '.' itself
      {"Ends in a bracket)", "Ends in a bracket)"},                              // ')' < '.'
      {"Ends in a comma,", "Ends in a comma,"},                                  // ',' < '.'
      {"Ends in a slash/", "Ends in a slash/."},                                 // '/' > '.'
      {"Нельзя уничтожить последнюю запись", "Нельзя уничтожить последнюю запись."},  // Cyrillic
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.shown) << c.message;
}

TEST(ErrorReport, GuardedReportsOnceAndStopsTheHandler) {
  std::vector<std::string> shown;
  const ErrorReporter reporter(nullptr, [&](QWidget*, const std::string& t) { shown.push_back(t); });
  int steps = 0;
  const bool finished = reporter.Guarded([&] {
    ++steps;
    throw std::runtime_error("Floating point overflow");
    ++steps;  // never reached
  });
  EXPECT_FALSE(finished);
  EXPECT_EQ(steps, 1);
  EXPECT_EQ(shown, std::vector<std::string>{"Floating point overflow."});

  EXPECT_TRUE(reporter.Guarded([&] { ++steps; }));
  EXPECT_EQ(shown.size(), 1u);

  // Something that is no std::exception is still caught and reported.
  EXPECT_FALSE(reporter.Guarded([] { throw 42; }));
  EXPECT_EQ(shown.size(), 2u);
}

TEST(ErrorReport, TheDefaultBoxIsACriticalBoxTitledKelmar) {
  test::BoxAnswer box;
  test::AnswerNextBox(QMessageBox::Ok, &box);
  ErrorReporter(nullptr).Guarded([] { throw std::runtime_error("'abc' is not a valid floating point value"); });
  ASSERT_TRUE(box.seen);
  EXPECT_EQ(box.title, QStringLiteral("Kelmar"));
  EXPECT_EQ(box.text, QStringLiteral("'abc' is not a valid floating point value."));
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
}

}  // namespace
}  // namespace kelmar::ui
