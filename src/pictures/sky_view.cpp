#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "core/sat_table.h"
#include "pictures/drawing.h"
#include "core/outage.h"
#include "pictures/pictures.h"

namespace kelmar::pictures {
namespace {

const QColor kSky(226, 238, 250), kGround(222, 212, 192), kMask(112, 100, 88, 215);
const QColor kGrid(150, 165, 180), kText(40, 40, 40);
const QColor kSun(225, 110, 0), kSolstice(215, 150, 50), kSlot(25, 65, 165), kHidden(130, 130, 130);
const QColor kAlign(200, 20, 60);

// A Sun path as runs of one look: hidden parts (below the mask or the horizon) dimmed; a run
// breaks where the path crosses the picture's left and right edges.
void DrawPath(QPainter& p, const SkyFrame& f, const SkyScene& s, const std::vector<SunPoint>& path, QPen pen) {
  QPen dim = pen;
  QColor c = pen.color();
  c.setAlpha(70);
  dim.setColor(c);
  QPolygonF run;
  bool run_hidden = false;
  auto flush = [&] {
    if (run.size() > 1) {
      p.setPen(run_hidden ? dim : pen);
      p.drawPolyline(run);
    }
    run.clear();
  };
  for (std::size_t i = 0; i < path.size(); ++i) {
    const SunPoint& pt = path[i];
    const bool hidden = pt.el < 0 || pt.el <= s.horizon.ElevationAt(pt.az);
    const QPointF xy(f.X(pt.az), f.Y(pt.el));
    if (!run.isEmpty() && (hidden != run_hidden || std::abs(xy.x() - run.back().x()) > f.width / 2)) {
      const bool wrapped = std::abs(xy.x() - run.back().x()) > f.width / 2;
      if (!wrapped) run << xy;  // the look changes here: both runs meet at this point
      flush();
    }
    run_hidden = hidden;
    run << xy;
  }
  flush();
}

void DrawGrid(QPainter& p, const SkyFrame& f) {
  p.fillRect(QRectF(f.left, f.top, f.width, f.Y(0) - f.top), kSky);
  p.fillRect(QRectF(f.left, f.Y(0), f.width, f.top + f.height - f.Y(0)), kGround);
  p.setFont(PixelFont(11));
  for (int el = -10; el <= 90; el += 10) {
    p.setPen(QPen(kGrid, el == 0 ? 1.5 : 0.6));
    p.drawLine(QPointF(f.left, f.Y(el)), QPointF(f.left + f.width, f.Y(el)));
    p.setPen(kText);
    p.drawText(QRectF(0, f.Y(el) - 8, f.left - 4, 16), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1°").arg(el));
  }
  static const char* const kCardinal[] = {"С", "В", "Ю", "З"};
  for (int az = 0; az < 360; az += 30) {
    const double x = f.X(az);
    p.setPen(QPen(kGrid, 0.6));
    p.drawLine(QPointF(x, f.top), QPointF(x, f.top + f.height));
    p.setPen(kText);
    p.setFont(PixelFont(11));
    p.drawText(QRectF(x - 30, f.top + f.height + 2, 60, 14), Qt::AlignCenter, QStringLiteral("%1°").arg(az));
    if (az % 90 == 0) {
      p.setFont(PixelFont(14, true));
      p.drawText(QRectF(x - 30, f.top + f.height + 16, 60, 18), Qt::AlignCenter, QString::fromUtf8(kCardinal[az / 90]));
    }
  }
}

void DrawMask(QPainter& p, const SkyFrame& f, const Horizon& h) {
  if (h.Empty()) return;
  // A sample every quarter degree across the picture, from its left edge to its right.
  QPolygonF shape;
  shape << QPointF(f.left, f.Y(0));
  for (int i = 0; i <= 1440; ++i) {
    const double x = f.left + f.width * i / 1440;
    shape << QPointF(x, f.Y(h.ElevationAt(f.Az(x))));
  }
  shape << QPointF(f.left + f.width, f.Y(0));
  p.setPen(Qt::NoPen);
  p.setBrush(kMask);
  p.drawPolygon(shape);
  p.setBrush(Qt::NoBrush);
}

void DrawArc(QPainter& p, const SkyFrame& f, const SkyScene& s) {
  p.setFont(PixelFont(11));
  for (std::size_t i = 0; i < s.arc.size(); ++i) {
    const ArcSlot& slot = s.arc[i];
    if (std::isnan(slot.az) || slot.el < SkyFrame::kElMin) continue;
    const QPointF c(f.X(slot.az), f.Y(slot.el));
    p.setPen(slot.visible ? kSlot : kHidden);
    p.setBrush(slot.visible ? QBrush(kSlot) : Qt::NoBrush);
    p.drawEllipse(c, 2.5, 2.5);
    if (std::atoi(slot.label.c_str()) % 10 == 0) {
      p.setPen(slot.visible ? kSlot : kHidden);
      p.drawText(QRectF(c.x() - 30, c.y() - 20, 60, 14), Qt::AlignCenter, QString::fromStdString(slot.label));
    }
    if (i < s.names.size() && !s.names[i].empty()) {
      p.setPen(slot.visible ? kSlot : kHidden);
      p.drawText(QRectF(c.x() - 80, c.y() + 5, 160, 14), Qt::AlignCenter, QString::fromStdString(s.names[i]));
    }
    if (static_cast<int>(i) == s.highlighted) {
      p.setPen(QPen(QColor(210, 30, 30), 2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(c, 7, 7);
    }
  }
  p.setBrush(Qt::NoBrush);
}

void DrawSunMarks(QPainter& p, const SkyFrame& f, const SkyScene& s) {
  p.setFont(PixelFont(11));
  auto mark = [&](const SunPoint& pt, const QString& word) {
    const QPointF c(f.X(pt.az), f.Y(0));
    p.setPen(QPen(kSun, 1.5));
    p.setBrush(kSun);
    p.drawPolygon(QPolygonF({c, c + QPointF(-5, 9), c + QPointF(5, 9)}));
    p.setPen(kText);
    p.drawText(QRectF(c.x() - 50, c.y() + 10, 100, 14), Qt::AlignCenter, word + QLatin1Char(' ') + TimeText(pt.hours));
  };
  for (const SunPoint& r : s.day.rises) mark(r, QStringLiteral("восход"));
  for (const SunPoint& r : s.day.sets) mark(r, QStringLiteral("заход"));
  // Whole hours along the selected day's path.
  for (std::size_t i = 0; i < s.day.path.size(); i += 12) {
    const SunPoint& pt = s.day.path[i];
    if (pt.el < 0 || i + 1 == s.day.path.size()) continue;
    const QPointF c(f.X(pt.az), f.Y(pt.el));
    p.setPen(kSun);
    p.setBrush(kSun);
    p.drawEllipse(c, 2, 2);
    p.setPen(kText);
    p.drawText(QRectF(c.x() - 12, c.y() + 3, 24, 13), Qt::AlignCenter, QString::number(i / 12));
  }
  // Where the Sun or the shadow gives the ringed slot's bearing: a diamond on the path.
  for (const AlignEvent& e : s.align) {
    if (e.elevation < SkyFrame::kElMin) continue;
    const QPointF c(f.X(e.azimuth), f.Y(e.elevation));
    p.setPen(QPen(kAlign, 1.5));
    p.setBrush(e.above_mask && e.above_horizon ? QBrush(kAlign) : Qt::NoBrush);
    p.drawPolygon(QPolygonF({c + QPointF(0, -7), c + QPointF(7, 0), c + QPointF(0, 7), c + QPointF(-7, 0)}));
    const QString word = e.kind == AlignKind::Sun ? QStringLiteral("по Солнцу") : QStringLiteral("по тени");
    p.drawText(QRectF(c.x() + 9, c.y() - 16, 140, 14), Qt::AlignLeft | Qt::AlignVCenter,
               word + QLatin1Char(' ') + QString::fromStdString(ClockText(e.seconds)));
  }
  if (s.now) {
    p.setPen(QPen(kSun, 2));
    p.setBrush(QColor(255, 215, 0));
    p.drawEllipse(QPointF(f.X(s.now->az), f.Y(s.now->el)), 7, 7);
  }
  p.setBrush(Qt::NoBrush);
}

}  // namespace

void DrawSky(QPainter& p, QSizeF size, const SkyScene& s) {
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
  const SkyFrame f(size, s.southern);
  DrawGrid(p, f);
  p.save();
  p.setClipRect(QRectF(f.left, f.top, f.width, f.height));
  QPen solstice(kSolstice, 1.2, Qt::DashLine);
  DrawPath(p, f, s, s.june.path, solstice);
  DrawPath(p, f, s, s.december.path, solstice);
  DrawPath(p, f, s, s.day.path, QPen(kSun, 2.5));
  DrawMask(p, f, s.horizon);
  DrawArc(p, f, s);
  DrawSunMarks(p, f, s);
  p.restore();

  p.setPen(kText);
  p.setFont(PixelFont(13, true));
  p.drawText(QRectF(f.left, 4, f.width, 22), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(s.title));
  p.setFont(PixelFont(12));
  p.drawText(QRectF(f.left, 4, f.width, 22), Qt::AlignRight | Qt::AlignVCenter, SkyCountText(s));
}

QString SkyCountText(const SkyScene& s) {
  // A scene never computed has no slots at all: no count, and no pole either.
  if (s.arc.empty()) return QString();
  int plotted = 0;
  for (const ArcSlot& slot : s.arc) plotted += !std::isnan(slot.az) || slot.el == 90;
  if (plotted == 0) return QString::fromUtf8(kNoSlotsAtPoleText);
  return QStringLiteral("Видно позиций: %1 из %2").arg(VisibleSlots(s.arc)).arg(s.arc.size());
}

QString SkyTooltip(const SkyScene& s, QSizeF size, QPointF at) {
  const SkyFrame f(size, s.southern);
  auto dist = [&](double az, double el) { return std::hypot(f.X(az) - at.x(), f.Y(el) - at.y()); };
  // The nearest mark within a few pixels: the marks of neighbouring slots nearly touch.
  const ArcSlot* nearest = nullptr;
  double best = 6;
  for (const ArcSlot& slot : s.arc) {
    if (std::isnan(slot.az) || dist(slot.az, slot.el) > best) continue;
    best = dist(slot.az, slot.el);
    nearest = &slot;
  }
  if (nearest != nullptr) {
    const std::size_t i = static_cast<std::size_t>(nearest - s.arc.data());
    const std::string name = i < s.names.size() && !s.names[i].empty() ? "  " + s.names[i] : "";
    return QStringLiteral("%1\nазимут %2\nвысота %3\nпоправка %4")
        .arg(QString::fromStdString(nearest->label + name), QString::fromStdString(nearest->azimuth),
             QString::fromStdString(nearest->elevation), QString::fromStdString(nearest->correction));
  }
  const struct {
    const SunDay* day;
    const char* name;
  } paths[] = {{&s.day, "Солнце"}, {&s.june, "21 июня"}, {&s.december, "21 декабря"}};
  for (const auto& path : paths) {
    for (const SunPoint& pt : path.day->path) {
      if (pt.el < SkyFrame::kElMin || dist(pt.az, pt.el) > 5) continue;
      return QStringLiteral("%1 %2").arg(QString::fromUtf8(path.name), TimeText(pt.hours));
    }
  }
  return QString();
}

}  // namespace kelmar::pictures
