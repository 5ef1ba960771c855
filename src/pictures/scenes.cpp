#include <cmath>

#include "core/number_text.h"
#include "pictures/pictures.h"

namespace kelmar::pictures {

namespace {
// Room for the labels around the plot, in pixels.
constexpr double kMarginLeft = 44, kMarginRight = 16, kMarginTop = 30, kMarginBottom = 40;
}  // namespace

PlotArea::PlotArea(QSizeF size)
    : left(kMarginLeft),
      top(kMarginTop),
      width(size.width() - kMarginLeft - kMarginRight),
      height(size.height() - kMarginTop - kMarginBottom) {}

SkyFrame::SkyFrame(QSizeF size, bool southern) : PlotArea(size), centre_az(southern ? 0 : 180) {}

double SkyFrame::X(double az) const {
  double turn = std::fmod(az - centre_az + 180, 360.0);
  if (turn < 0) turn += 360;
  return left + turn / 360 * width;
}

double SkyFrame::Y(double el) const { return top + (kElMax - el) / (kElMax - kElMin) * height; }

double SkyFrame::Az(double x) const {
  double az = std::fmod((x - left) / width * 360 + centre_az - 180, 360.0);
  if (az < 0) az += 360;
  return az;
}

double SkyFrame::El(double y) const { return kElMax - (y - top) / height * (kElMax - kElMin); }

YearFrame::YearFrame(QSizeF size, int days) : PlotArea(size), day_count(days) {}

double YearFrame::X(double day) const { return left + (day + 0.5) / day_count * width; }

double YearFrame::Y(double hours) const { return top + hours / 24 * height; }

}  // namespace kelmar::pictures

#include "core/sun_table.h"
#include "pictures/drawing.h"

namespace kelmar::pictures {

QFont PixelFont(int px, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(px);
  f.setBold(bold);
  return f;
}

QString TimeText(double hours) {
  TextGrid cell(1, 1);
  TtoCell(cell, false, 0, 0, hours);
  return QString::fromStdString(cell.Cell(0, 0));
}

}  // namespace kelmar::pictures
