#pragma once
// Shared helpers of the window tests: a window started from a settings file of the test's
// own, with a set clock and a recorded error report, and the answering of modal boxes.
#include <QDateTime>
#include <QImage>
#include <QMessageBox>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/input_panel.h"
#include "ui/outage_tab.h"
#include "ui/places_panel.h"
#include "ui/sat_tab.h"

namespace kelmar::ui::test {

// A settings file written as the program writes them: Windows-1251, CR LF. `lines` is UTF-8
// with "\n" line ends.
void WriteSettingsFile(const std::string& path, const std::string& lines);
std::string ReadSettingsFile(const std::string& path);  // decoded to UTF-8

struct FormFixture {
  QTemporaryDir dir;
  std::string settings_path;
  std::vector<std::string> errors;  // what the default error report would have shown
  std::string trace;                // 'C' for every sun table computed, 'S' for every satellite table
  std::function<std::unique_ptr<ExcelExporter>()> make_exporter;
  std::unique_ptr<TForm1> form;

  // Starts the window. `ini` empty: no settings file at all.
  void Start(const std::string& ini, QDate today = QDate(2026, 3, 15), int v = 640);
  // Shows the window and makes it active, for the tests that need the focus.
  void ShowActive();
};

// Arms a timer that waits for the next modal box, records its title and text and presses
// `button`. Call before the action that opens the box.
struct BoxAnswer {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;  // the texts of its buttons
  bool seen = false;
};
void AnswerNextBox(QMessageBox::StandardButton button, BoxAnswer* record);

// Pixels of a grabbed image that are exactly, or close to, a colour.
int CountColour(const QImage& img, const QRect& area, const QColor& c, int tolerance = 0);

}  // namespace kelmar::ui::test
