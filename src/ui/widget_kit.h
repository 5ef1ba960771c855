#pragma once
// Small pieces the window's controllers share: texts across the Qt boundary, fonts, colours and
// the guarded connection of a handler.
#include <QColor>
#include <QFont>
#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "ui/error_report.h"
#include "ui/layout.h"

class QLineEdit;
class QScrollBar;
class QWidget;

namespace kelmar::ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }
inline std::string S(const QString& s) { return s.toStdString(); }

template <class W>
W* Named(W* w, const char* name) {
  w->setObjectName(QString::fromLatin1(name));
  return w;
}

// Texts the program puts into a field are shown from their first character, as a narrow field
// on Windows shows them; the cursor would otherwise scroll the field to the text's end.
void SetFieldText(QLineEdit* edit, const QString& text);
// Names a control of the layout table and gives it its row's own font straight away, so that
// its texts are measured in that font as they are set.
void SetDesignFont(QWidget* w, int v);
template <class W>
W* Designed(W* w, const char* name, int v) {
  Named(w, name);
  SetDesignFont(w, v);
  return w;
}
// The own font of the layout table's row `name`, scaled to V.
QFont DesignFontOf(std::string_view name, int v);

// The comma rule on a field's text, written back only when it changed.
void ApplyCommaRule(QLineEdit* edit);

QFont MakeFont(const char* family, int px, bool bold);
// A control's own font as its design row gives it, scaled to V.
QFont DesignFont(DesignFace face, int px, int v);
void SetTextColor(QWidget* w, const QColor& c);
void SetBackground(QWidget* w, const QColor& c);

// The widest text each narrow field is expected to hold; its font is made to fit it whole.
const char* WidestText(std::string_view field);
// Sets the widget's font smaller, pixel by pixel down to 8 and then no longer bold, until `text`
// is at most `width` wide.
void FitFont(QWidget* w, const char* text, int width);

// Runs fn when the field loses the input focus to another control of the window. Focus that
// leaves with the whole window, or to a pop-up, is no exit from the field.
void OnFocusOut(QLineEdit* edit, std::function<void()> fn);
// Ends a scroll bar's press as its mouse release would: the repeat stops where it is.
void EndAutoRepeat(QScrollBar* bar);

// A controller's handler run through the one error report.
template <class C>
std::function<void()> Guard(const ErrorReporter& report, C* c, void (C::*fn)()) {
  return [&report, c, fn] { report.Guarded([&] { (c->*fn)(); }); };
}

}  // namespace kelmar::ui
