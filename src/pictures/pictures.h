#pragma once
// The sky view and the year's daylight chart, drawn once with QPainter for the screen, PNG and
// SVG alike. The numbers come from src/core; this library only places and paints them.
#include <QFont>
#include <QPointF>
#include <QSize>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/scenes.h"

class QPainter;

namespace kelmar::pictures {

// The scenes are the core's; this library draws them.
using kelmar::MakeSkyScene;
using kelmar::MakeYearScene;
using kelmar::SkyScene;
using kelmar::YearScene;
using kelmar::WithPictureExtension;

// The line over the sky view's right side: how many slots are seen, or that none are at a pole.
QString SkyCountText(const SkyScene& s);

// How much larger than their base sizes a picture of the given size sets its texts and the room
// for them: with the picture's smaller proportion to 760×520, never below 0.8.
double TextScale(QSizeF size);

// The plot inside a picture of the given size: what the labels around it leave, the same for
// both pictures.
struct PlotArea {
  explicit PlotArea(QSizeF size);
  double left, top, width, height;
  double k;  // TextScale
  double S(double px) const { return px * k; }  // a length given at scale 1
  QFont Font(int px, bool bold = false) const;  // a font given at scale 1
};

// Where the sky view puts the sky inside a picture of the given size.
struct SkyFrame : PlotArea {
  explicit SkyFrame(QSizeF size, bool southern);
  double X(double az) const;   // azimuth → x, the equator-facing direction in the middle
  double Y(double el) const;   // elevation → y
  double Az(double x) const;   // the inverses, for hovering
  double El(double y) const;
  double centre_az;  // 180 in the northern hemisphere, 0 in the southern
  static constexpr double kElMin = -10, kElMax = 90;
};

// Where the year chart puts a day (0 = January 1, at the column's middle) and a local hour.
struct YearFrame : PlotArea {
  YearFrame(QSizeF size, int day_count);
  double X(double day) const;
  double Y(double hours) const;
  int day_count;
};

void DrawSky(QPainter& p, QSizeF size, const SkyScene& scene);
void DrawYear(QPainter& p, QSizeF size, const YearScene& scene);

// The tooltip at a point of the sky view: a slot's label, azimuth, elevation and correction,
// or a time on one of the Sun's paths; empty elsewhere.
QString SkyTooltip(const SkyScene& scene, QSizeF size, QPointF at);

using Painting = std::function<void(QPainter&, QSizeF)>;
// The picture as a PNG of exactly size pixels or as an SVG whose width, height and view box
// are size, written whole or not at all. Throws CalcError("Cannot create file %s").
void SavePng(const std::string& path, QSize size, const Painting& paint);
void SaveSvg(const std::string& path, QSize size, const Painting& paint);
// By the file name's extension: ".svg" (any case) is SVG, anything else PNG.
void SavePicture(const std::string& path, QSize size, const Painting& paint);

}  // namespace kelmar::pictures
