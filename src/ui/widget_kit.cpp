#include "ui/widget_kit.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "core/number_text.h"
#include "ui/design_fonts.h"

namespace kelmar::ui {
namespace {

class FocusOutFilter : public QObject {
 public:
  FocusOutFilter(QObject* parent, std::function<void()> fn) : QObject(parent), fn_(std::move(fn)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::FocusOut) {
      const auto reason = static_cast<QFocusEvent*>(e)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        if (watched == parent()) fn_();
      }
    }
    return false;
  }

 private:
  std::function<void()> fn_;
};

}  // namespace

void SetFieldText(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
  edit->setCursorPosition(0);
}

void ApplyCommaRule(QLineEdit* edit) {
  const QString fixed = Q(kelmar::CommaRule(S(edit->text())));
  if (fixed != edit->text()) SetFieldText(edit, fixed);
}

QFont MakeFont(const char* family, int px, bool bold) {
  QFont f(DesignFamily(QString::fromLatin1(family)));
  f.setPixelSize(std::max(1, px));
  f.setBold(bold);
  return f;
}

void SetDesignFont(QWidget* w, int v) {
  const ControlDesign* d = FindControl(S(w->objectName()));
  if (d != nullptr && d->font_px != 0) w->setFont(DesignFont(d->face, d->font_px, v));
}

QFont DesignFontOf(std::string_view name, int v) {
  const ControlDesign* d = FindControl(name);
  return DesignFont(d->face, d->font_px, v);
}

QFont DesignFont(DesignFace face, int px, int v) {
  switch (face) {
    case DesignFace::Tahoma: return MakeFont("Tahoma", ScaleCoord(px, v), false);
    case DesignFace::SansSerif: return MakeFont("MS Sans Serif", ScaleCoord(px, v), false);
    case DesignFace::ArialBold: return MakeFont("Arial", ScaleCoord(px, v), true);
    case DesignFace::TahomaBold: break;
  }
  return MakeFont("Tahoma", ScaleCoord(px, v), true);
}

void SetTextColor(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, c);
  pal.setColor(QPalette::Text, c);
  w->setPalette(pal);
}

void SetBackground(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

const char* WidestText(std::string_view field) {
  static const std::pair<std::string_view, const char*> kWidest[] = {
      {"EditSir", "-55.755"}, {"EditDolg", "-155.75"}, {"EditGMT", "-12"}, {"EditMSK", "-12"},
      {"EditUg", "18.5"},     {"EditKm", "12.345"},    {"ESlot", "150.5 W"}, {"EDish", "1.25"},
      {"EFreq", "12.75"},
  };
  for (const auto& [name, text] : kWidest)
    if (name == field) return text;
  return nullptr;
}

void FitFont(QWidget* w, const char* text, int width) {
  QFont f = w->font();
  const QString t = QString::fromUtf8(text);
  // Widths grow with the size: one step to the size that should fit, then pixel by pixel, so
  // the start-up loads few faces.
  if (const int advance = QFontMetrics(f).horizontalAdvance(t); advance > width && f.pixelSize() > 8)
    f.setPixelSize(std::max(8, f.pixelSize() * width / advance));
  while (QFontMetrics(f).horizontalAdvance(t) > width) {
    if (f.pixelSize() > 8) {
      f.setPixelSize(f.pixelSize() - 1);
    } else if (f.bold()) {
      f.setBold(false);
    } else {
      break;
    }
  }
  w->setFont(f);
}

void OnFocusOut(QLineEdit* edit, std::function<void()> fn) {
  edit->installEventFilter(new FocusOutFilter(edit, std::move(fn)));
}

void EndAutoRepeat(QScrollBar* bar) {
  // A bar that is not pressed ignores the release.
  const QPointF at = bar->mapFromGlobal(QCursor::pos());
  QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(bar, &release);
}

}  // namespace kelmar::ui
