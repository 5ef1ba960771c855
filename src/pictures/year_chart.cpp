#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/day_serial.h"
#include "pictures/drawing.h"
#include "pictures/pictures.h"

namespace kelmar::pictures {
namespace {

const QColor kNight(38, 48, 84), kTwilight(118, 140, 190), kDay(250, 228, 150);
const QColor kRise(220, 90, 20), kSet(150, 40, 120), kNoon(200, 150, 0), kText(40, 40, 40), kGrid(120, 120, 120);

// The day's light as bands from 0 to 24 h: 0 night, 1 twilight, 2 day.
struct Band {
  double from, to;
  int light;
};

std::vector<Band> Bands(const DaylightDay& d) {
  struct Event {
    double t;
    bool sun;  // else the twilight threshold
    bool up;
  };
  std::vector<Event> events;
  for (double t : d.rises) events.push_back({t, true, true});
  for (double t : d.sets) events.push_back({t, true, false});
  for (double t : d.dawns) events.push_back({t, false, true});
  for (double t : d.dusks) events.push_back({t, false, false});
  std::sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.t < b.t; });
  bool up = d.up_at_midnight, light = d.light_at_midnight;
  std::vector<Band> bands;
  double from = 0;
  for (const Event& e : events) {
    bands.push_back({from, e.t, up ? 2 : light ? 1 : 0});
    (e.sun ? up : light) = e.up;
    from = e.t;
  }
  bands.push_back({from, 24, up ? 2 : light ? 1 : 0});
  return bands;
}

// A curve through one value a day; a day without one breaks it, and so does a jump across
// midnight (a set just before one day's end and just after the next day's start).
void DrawCurve(QPainter& p, const YearFrame& f, const std::vector<DaylightDay>& days,
               const std::function<const double*(const DaylightDay&)>& value, const QColor& color) {
  p.setPen(QPen(color, 2));
  QPolygonF run;
  for (std::size_t i = 0; i < days.size(); ++i) {
    const double* v = value(days[i]);
    if (v != nullptr && !run.isEmpty() && std::abs(f.Y(*v) - run.back().y()) > f.height / 2) {
      if (run.size() > 1) p.drawPolyline(run);
      run.clear();
    }
    if (v == nullptr) {
      if (run.size() > 1) p.drawPolyline(run);
      run.clear();
      continue;
    }
    run << QPointF(f.X(static_cast<double>(i)), f.Y(*v));
  }
  if (run.size() > 1) p.drawPolyline(run);
}

}  // namespace

void DrawYear(QPainter& p, QSizeF size, const YearScene& s) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
  const int n = static_cast<int>(s.days.size());
  const YearFrame f(size, n);
  const QColor look[] = {kNight, kTwilight, kDay};
  const double col_w = f.width / n;
  for (int i = 0; i < n; ++i) {
    const double x = f.left + i * col_w;
    for (const Band& b : Bands(s.days[static_cast<std::size_t>(i)]))
      p.fillRect(QRectF(x, f.Y(b.from), col_w + 0.5, f.Y(b.to) - f.Y(b.from)), look[b.light]);
  }

  p.setRenderHint(QPainter::Antialiasing);
  DrawCurve(p, f, s.days, [](const DaylightDay& d) { return d.rises.empty() ? nullptr : &d.rises.front(); }, kRise);
  DrawCurve(p, f, s.days, [](const DaylightDay& d) { return d.sets.empty() ? nullptr : &d.sets.back(); }, kSet);
  DrawCurve(p, f, s.days, [](const DaylightDay& d) { return d.noon > 0 ? &d.noon : nullptr; }, kNoon);

  // Hours on the left, months along the bottom; the hours thin out where they would touch.
  p.setFont(f.Font(11));
  const double line_h = p.fontMetrics().height() * 1.1;
  int hour_step = 2;
  while (hour_step < 12 && f.Y(hour_step) - f.Y(0) < line_h) hour_step += hour_step == 4 ? 2 : hour_step;
  for (int h = 0; h <= 24; h += 2) {
    p.setPen(QPen(kGrid, 0.5, Qt::DotLine));
    p.drawLine(QPointF(f.left, f.Y(h)), QPointF(f.left + f.width, f.Y(h)));
    if (h % hour_step != 0) continue;
    p.setPen(kText);
    p.drawText(QRectF(0, f.Y(h) - f.S(8), f.left - f.S(4), f.S(16)), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1:00").arg(h, 2, 10, QLatin1Char('0')));
  }
  static const char* const kMonths[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                        "июл", "авг", "сен", "окт", "ноя", "дек"};
  for (int m = 1; m <= 12; ++m) {
    const double x0 = f.left + DayOfYear(s.year, {s.year, m, 1}) * col_w, x1 = x0 + DaysInMonth(s.year, m) * col_w;
    p.setPen(QPen(kGrid, 0.5));
    p.drawLine(QPointF(x0, f.top), QPointF(x0, f.top + f.height));
    if (m == s.month) {
      p.setPen(QPen(QColor(230, 40, 40), 2));
      p.setBrush(QColor(255, 255, 255, 45));
      p.drawRect(QRectF(x0, f.top, x1 - x0, f.height));
      p.setBrush(Qt::NoBrush);
    }
    p.setPen(kText);
    p.setFont(f.Font(12, m == s.month));
    const QString name = QString::fromUtf8(kMonths[m - 1]);
    // Names wider than their months: every other month, from its first day on, the highlighted
    // one always.
    const bool wide = p.fontMetrics().horizontalAdvance(name) > x1 - x0;
    if (wide && m % 2 == 0 && m != s.month) continue;
    p.drawText(QRectF(x0, f.top + f.height + f.S(2), x1 - x0, f.S(16)),
               (wide ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter) | Qt::TextDontClip, name);
  }
  if (s.today >= 0 && s.today < n) {
    p.setPen(QPen(QColor(230, 40, 40), 1.5, Qt::DashLine));
    p.drawLine(QPointF(f.X(s.today), f.top), QPointF(f.X(s.today), f.top + f.height));
  }

  // Title and legend.
  p.setPen(kText);
  p.setFont(f.Font(13, true));
  const QString title = QFontMetricsF(f.Font(13, true)).elidedText(QString::fromStdString(s.title), Qt::ElideRight, f.width);
  p.drawText(QRectF(f.left, f.S(4), f.width, f.S(22)), Qt::AlignLeft | Qt::AlignVCenter, title);
  const double title_end = f.left + QFontMetricsF(f.Font(13, true)).horizontalAdvance(title);
  p.setFont(f.Font(11));
  const struct {
    QColor color;
    const char* word;
    bool line;
  } legend[] = {{kDay, "день", false}, {kTwilight, "сумерки", false}, {kNight, "ночь", false},
                {kRise, "восход", true}, {kSet, "заход", true}, {kNoon, "полдень", true}};
  double legend_w = 0;
  for (const auto& item : legend) legend_w += p.fontMetrics().horizontalAdvance(QString::fromUtf8(item.word)) + f.S(24);
  // Beside the title when there is room, else under the month names; left out where the
  // picture is narrower than the legend.
  if (legend_w > size.width() - f.S(4)) return;
  const double y = f.left + f.width - legend_w > title_end + f.S(12) ? f.S(4) : f.top + f.height + f.S(18);
  double x = f.left + f.width - legend_w;
  for (const auto& item : legend) {
    const QString word = QString::fromUtf8(item.word);
    const double w = p.fontMetrics().horizontalAdvance(word) + f.S(24);
    if (item.line) {
      p.setPen(QPen(item.color, 2));
      p.drawLine(QPointF(x, y + f.S(14)), QPointF(x + f.S(14), y + f.S(14)));
    } else {
      p.fillRect(QRectF(x, y + f.S(8), f.S(14), f.S(12)), item.color);
    }
    p.setPen(kText);
    p.drawText(QRectF(x + f.S(17), y + f.S(4), w, f.S(20)), Qt::AlignLeft | Qt::AlignVCenter, word);
    x += w;
  }
}

}  // namespace kelmar::pictures
