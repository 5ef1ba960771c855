#pragma once
// The sky view and the year's daylight chart, drawn once with QPainter for the screen, PNG and
// SVG alike. The numbers come from src/core; this library only places and paints them.
#include <QPointF>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/horizon.h"
#include "core/input_fields.h"
#include "core/sky.h"
#include "core/sun_align.h"

class QPainter;

namespace kelmar::pictures {

struct SkyScene {
  std::vector<ArcSlot> arc;
  int highlighted = -1;  // index into arc of the slot to show ringed; -1 for none
  std::vector<std::string> names;  // the user's names of the arc's slots, by index; may be shorter
  std::vector<AlignEvent> align;   // the Sun on the ringed slot's azimuth or the opposite one
  SunDay day, june, december;  // the selected date and both solstices
  std::optional<SunPoint> now;  // the Sun at this moment, when the date is today
  Horizon horizon;
  bool southern = false;  // centred on north instead of south
  std::string title;      // place and date, as the caller words it
};

// The line over the sky view's right side: how many slots are seen, or that none are at a pole.
QString SkyCountText(const SkyScene& s);

// The scene for the fields' place on a local date; now_hours adds the current position.
// Throws CalcError for bad field texts.
SkyScene MakeSkyScene(const InputFields& in, int year, int month, int day, const Horizon& horizon,
                      std::optional<double> now_hours = std::nullopt);

struct YearScene {
  std::vector<DaylightDay> days;
  int year = 2000;
  int month = 0;      // the month to highlight, 1–12; 0 for none
  int today = -1;     // day of the year (0 = January 1) to mark; -1 for none
  std::string title;
};

// Throws CalcError for bad field texts.
YearScene MakeYearScene(const InputFields& in, int year);

// The plot inside a picture of the given size: what the labels around it leave, the same for
// both pictures.
struct PlotArea {
  explicit PlotArea(QSizeF size);
  double left, top, width, height;
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

// "GMT+3", "GMT-2", "MSK+0": the zone of the times a picture shows.
std::string ZoneTitle(const InputFields& in);

using Painting = std::function<void(QPainter&, QSizeF)>;
// The picture as a PNG of exactly size pixels or as an SVG whose width, height and view box
// are size, written whole or not at all. Throws CalcError("Cannot create file %s").
void SavePng(const std::string& path, QSize size, const Painting& paint);
void SaveSvg(const std::string& path, QSize size, const Painting& paint);
// By the file name's extension: ".svg" (any case) is SVG, anything else PNG.
void SavePicture(const std::string& path, QSize size, const Painting& paint);
// The path with ".svg" or ".png" appended when its file name has no extension of its own.
std::string WithPictureExtension(const std::string& path, bool svg);

}  // namespace kelmar::pictures
