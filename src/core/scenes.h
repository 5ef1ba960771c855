#pragma once
// What the two pictures show, as numbers: the sky view's arc, Sun paths and horizon, and the
// year chart's days. The window, the picture files and the browser draw these same scenes.
#include <optional>
#include <string>
#include <vector>

#include "core/horizon.h"
#include "core/input_fields.h"
#include "core/sky.h"
#include "core/sun_align.h"

namespace kelmar {

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

// The scene for the fields' place on a local date; now_hours adds the current position.
// Throws CalcError for bad field texts.
SkyScene MakeSkyScene(const InputFields& in, int year, int month, int day, const Horizon& horizon,
                      std::optional<double> now_hours = std::nullopt);

// The local hour of the fields' zone at a moment (milliseconds since 1970-01-01 00:00 UTC) when
// that moment falls on the local date, for MakeSkyScene's now_hours; nothing on another date.
// The zone is taken to whole seconds. Throws CalcError for a bad zone text.
std::optional<double> NowHoursOn(const InputFields& in, const CalendarDate& date, long long unix_ms);

// Rings the slot of the fields' ESlot where the arc has it (a slot at a tenth of a degree has no
// mark of its own) and, when the slot is above the horizon, adds the moments the Sun stands on
// its azimuth or the opposite one on that date.
void RingSlot(SkyScene& scene, const InputFields& in, const CalendarDate& date);

// The day of `year` that `today` is, 0 for January 1, for YearScene::today; -1 when today is in
// another year.
int DayOfYear(int year, const CalendarDate& today);

struct YearScene {
  std::vector<DaylightDay> days;
  int year = 2000;
  int month = 0;      // the month to highlight, 1–12; 0 for none
  int today = -1;     // day of the year (0 = January 1) to mark; -1 for none
  std::string title;
};

// Throws CalcError for bad field texts.
YearScene MakeYearScene(const InputFields& in, int year);


// The path with ".svg" or ".png" appended when its file name has no extension of its own.
std::string WithPictureExtension(const std::string& path, bool svg);

}  // namespace kelmar
