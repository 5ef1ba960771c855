#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <initializer_list>
#include <vector>

#include "core/sat_table.h"
#include "pictures/drawing.h"
#include "core/outage.h"
#include "core/table_text.h"
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

// The smallest step from `steps` that leaves `need` pixels between labels `per_step` pixels apart
// per unit step; the last one when none does.
int LabelStep(std::initializer_list<int> steps, double need, double per_unit) {
  for (int step : steps)
    if (step * per_unit >= need) return step;
  return *(steps.end() - 1);
}

void DrawGrid(QPainter& p, const SkyFrame& f) {
  p.fillRect(QRectF(f.left, f.top, f.width, f.Y(0) - f.top), kSky);
  p.fillRect(QRectF(f.left, f.Y(0), f.width, f.top + f.height - f.Y(0)), kGround);
  const QFont small = f.Font(11);
  p.setFont(small);
  const QFontMetricsF fm(small);
  // Labels thin out where the picture is too small for every one.
  const int el_step = LabelStep({10, 20, 50}, fm.height() * 1.1, (f.Y(0) - f.Y(1)));
  for (int el = -10; el <= 90; el += 10) {
    p.setPen(QPen(kGrid, el == 0 ? 1.5 : 0.6));
    p.drawLine(QPointF(f.left, f.Y(el)), QPointF(f.left + f.width, f.Y(el)));
    if (el % el_step != 0 || el == SkyFrame::kElMin) continue;  // the plot's lower edge meets the azimuths
    p.setPen(kText);
    p.drawText(QRectF(0, f.Y(el) - f.S(8), f.left - f.S(4), f.S(16)), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1°").arg(el));
  }
  static const char* const kCardinal[] = {"С", "В", "Ю", "З"};
  const int az_step = LabelStep({30, 60, 90}, fm.horizontalAdvance(QStringLiteral("330°")) * 1.3, f.width / 360);
  for (int az = 0; az < 360; az += 30) {
    const double x = f.X(az);
    p.setPen(QPen(kGrid, 0.6));
    p.drawLine(QPointF(x, f.top), QPointF(x, f.top + f.height));
    p.setPen(kText);
    if (az % az_step == 0) {
      p.setFont(small);
      p.drawText(QRectF(x - f.S(30), f.top + f.height + f.S(2), f.S(60), f.S(14)), Qt::AlignCenter,
                 QStringLiteral("%1°").arg(az));
    }
    if (az % 90 == 0) {
      p.setFont(f.Font(14, true));
      p.drawText(QRectF(x - f.S(30), f.top + f.height + f.S(16), f.S(60), f.S(18)), Qt::AlignCenter,
                 QString::fromUtf8(kCardinal[az / 90]));
    }
  }
}

// The label boxes already drawn inside the plot; a label that would overlap one of them, or be
// cut by the plot's edge, is left out.
class LabelSpace {
 public:
  explicit LabelSpace(const QRectF& plot) : plot_(plot) {}
  bool Take(const QRectF& box) {
    if (!plot_.contains(box)) return false;
    for (const QRectF& taken : taken_)
      if (taken.intersects(box)) return false;
    taken_.push_back(box);
    return true;
  }

 private:
  QRectF plot_;
  std::vector<QRectF> taken_;
};

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

// The unit normal of the arc at slot i, by its drawn neighbours, pointing up (outwards, where
// the arc stands upright): labels go that way, off the line of marks.
QPointF Outward(const SkyFrame& f, const std::vector<ArcSlot>& arc, std::size_t i) {
  auto drawn = [&](std::size_t j) { return j < arc.size() && !std::isnan(arc[j].az) && arc[j].el >= SkyFrame::kElMin; };
  const std::size_t a = drawn(i - 1) ? i - 1 : i, b = drawn(i + 1) ? i + 1 : i;
  const double dx = f.X(arc[b].az) - f.X(arc[a].az), dy = f.Y(arc[b].el) - f.Y(arc[a].el);
  const double len = std::hypot(dx, dy);
  if (a == b || len == 0 || len > f.width / 2) return QPointF(0, -1);
  QPointF n(dy / len, -dx / len);
  const bool left = f.X(arc[i].az) < f.left + f.width / 2;
  if (n.y() > 0.2 || (n.y() > -0.2 && (n.x() > 0) == left)) n = -n;
  return n;
}

void DrawArc(QPainter& p, const SkyFrame& f, const SkyScene& s, LabelSpace& labels) {
  const QFont font = f.Font(11);
  p.setFont(font);
  const QFontMetricsF fm(font);
  for (std::size_t i = 0; i < s.arc.size(); ++i) {
    const ArcSlot& slot = s.arc[i];
    if (std::isnan(slot.az) || slot.el < SkyFrame::kElMin) continue;
    const QPointF c(f.X(slot.az), f.Y(slot.el));
    p.setPen(slot.visible ? kSlot : kHidden);
    p.setBrush(slot.visible ? QBrush(kSlot) : Qt::NoBrush);
    p.drawEllipse(c, f.S(2.5), f.S(2.5));
    const QString label = QString::fromStdString(slot.label);
    const bool ringed = static_cast<int>(i) == s.highlighted;
    if (slot.lon % 10 == 0 || ringed) {
      const double w = fm.horizontalAdvance(label) + f.S(4);
      // Off the arc on its outer side, so the label never lies on the neighbouring marks.
      const double h = f.S(14);
      const QPointF n = Outward(f, s.arc, i);
      const QPointF mid = c + n * (f.S(5) + std::abs(n.x()) * w / 2 + std::abs(n.y()) * h / 2);
      const QRectF box(mid.x() - w / 2, mid.y() - h / 2, w, h);
      if (labels.Take(box)) {
        p.setPen(slot.visible ? kSlot : kHidden);
        p.drawText(box, Qt::AlignCenter, label);
      }
    }
    if (i < s.names.size() && !s.names[i].empty()) {
      const QString name = QString::fromStdString(s.names[i]);
      const double w = fm.horizontalAdvance(name) + f.S(4);
      const QRectF box(c.x() - w / 2, c.y() + f.S(5), w, f.S(14));
      if (labels.Take(box)) {
        p.setPen(slot.visible ? kSlot : kHidden);
        p.drawText(box, Qt::AlignCenter, name);
      }
    }
    if (ringed) {
      p.setPen(QPen(QColor(210, 30, 30), 2));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(c, f.S(7), f.S(7));
    }
  }
  p.setBrush(Qt::NoBrush);
}

void DrawSunMarks(QPainter& p, const SkyFrame& f, const SkyScene& s, LabelSpace& labels) {
  const QFont font = f.Font(11);
  p.setFont(font);
  const QFontMetricsF fm(font);
  auto mark = [&](const SunPoint& pt, const QString& word) {
    const QPointF c(f.X(pt.az), f.Y(0));
    p.setPen(QPen(kSun, 1.5));
    p.setBrush(kSun);
    p.drawPolygon(QPolygonF({c, c + QPointF(-f.S(5), f.S(9)), c + QPointF(f.S(5), f.S(9))}));
    const QString text = word + QLatin1Char(' ') + TimeText(pt.hours);
    const double w = fm.horizontalAdvance(text) + f.S(4);
    const QRectF box(c.x() - w / 2, c.y() + f.S(10), w, f.S(14));
    if (!labels.Take(box)) return;
    p.setPen(kText);
    p.drawText(box, Qt::AlignCenter, text);
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
    p.drawEllipse(c, f.S(2), f.S(2));
    const QString text = QString::number(i / 12);
    const double w = fm.horizontalAdvance(text) + f.S(2);
    const QRectF box(c.x() - w / 2, c.y() + f.S(3), w, f.S(13));
    if (!labels.Take(box)) continue;
    p.setPen(kText);
    p.drawText(box, Qt::AlignCenter, text);
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
    p.drawEllipse(QPointF(f.X(s.now->az), f.Y(s.now->el)), f.S(7), f.S(7));
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
  LabelSpace labels(QRectF(f.left, f.top, f.width, f.height));  // the slots' labels first, the Sun's where they leave room
  DrawArc(p, f, s, labels);
  DrawSunMarks(p, f, s, labels);
  p.restore();

  p.setPen(kText);
  const QFont title_font = f.Font(13, true);
  p.setFont(title_font);
  const QRectF line(f.left, f.S(4), f.width, f.S(22));
  const QString title = QFontMetricsF(title_font).elidedText(QString::fromStdString(s.title), Qt::ElideRight, f.width);
  p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
  const double title_end = f.left + QFontMetricsF(title_font).horizontalAdvance(title);
  p.setFont(f.Font(12));
  const QString count = SkyCountText(s);
  // The count gives way to the title where both do not fit on the line.
  if (f.left + f.width - p.fontMetrics().horizontalAdvance(count) > title_end + f.S(12))
    p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, count);
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
