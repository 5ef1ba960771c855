#include "error_report.h"

#include <QMessageBox>
#include <QString>

namespace kelmar::ui {

std::string ErrorReportText(const std::string& message) {
  // Compared as unsigned bytes, so the lead byte of any non-ASCII character sorts after ".".
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) {
    return message + ".";
  }
  return message;
}

void ShowErrorBox(QWidget* parent, const std::string& text) {
  QMessageBox::critical(parent, QString::fromLatin1(kAppTitle), QString::fromStdString(text));
}

void ErrorReporter::ReportNoThrow(const char* message) const noexcept {
  try {
    sink_(parent_, ErrorReportText(message));
  } catch (...) {
    // A report that cannot be shown must not take the event loop down with it.
  }
}

}  // namespace kelmar::ui
