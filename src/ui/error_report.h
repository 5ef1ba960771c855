#pragma once
// The one place where a handler's failure is reported: a modal error box titled with the
// application's title, showing the message. Every handler of the window runs through Guarded,
// so no exception ever leaves a Qt slot or event handler.
#include <exception>
#include <functional>
#include <string>

class QWidget;

namespace kelmar::ui {

inline constexpr const char* kAppTitle = "Kelmar";

// The message as the box shows it: a final "." is added when the last character sorts after ".".
std::string ErrorReportText(const std::string& message);

// Where reports go. The default shows QMessageBox::critical(parent, "Kelmar", text).
using ErrorSink = std::function<void(QWidget* parent, const std::string& text)>;
void ShowErrorBox(QWidget* parent, const std::string& text);

class ErrorReporter {
 public:
  explicit ErrorReporter(QWidget* parent, ErrorSink sink = ShowErrorBox)
      : parent_(parent), sink_(std::move(sink)) {}

  // A failure that arrives as a message rather than as an exception.
  void Report(const std::string& message) const { ReportNoThrow(message.c_str()); }

  // Runs fn; a failure is reported and ends it. True when fn ran to its end.
  template <class Fn>
  bool Guarded(Fn&& fn) const noexcept {
    try {
      fn();
      return true;
    } catch (const std::exception& e) {
      ReportNoThrow(e.what());
    } catch (...) {
      ReportNoThrow("Unknown error");
    }
    return false;
  }

 private:
  void ReportNoThrow(const char* message) const noexcept;

  QWidget* parent_;
  ErrorSink sink_;
};

}  // namespace kelmar::ui
