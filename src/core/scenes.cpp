#include "core/scenes.h"

#include "core/day_serial.h"
#include "core/number_text.h"
#include "core/observer.h"
#include "core/outage.h"
#include "core/sun_table.h"

namespace kelmar {

std::optional<double> NowHoursOn(const InputFields& in, const CalendarDate& date, long long unix_ms) {
  constexpr long long kDayMs = 86'400'000;
  const long long local_ms = unix_ms + static_cast<long long>(ZoneHoursOf(in) * 3600) * 1000;
  const long long day = FloorDiv(local_ms, kDayMs);  // since 1970-01-01
  if (EncodeDate(date.year, date.month, date.day) != EncodeDate(1970, 1, 1) + static_cast<double>(day))
    return std::nullopt;
  return static_cast<double>(local_ms - day * kDayMs) / 3600000.0;
}

int DayOfYear(int year, const CalendarDate& today) {
  if (today.year != year) return -1;
  return static_cast<int>(EncodeDate(today.year, today.month, today.day) - EncodeDate(year, 1, 1));
}

SkyScene MakeSkyScene(const InputFields& in, int year, int month, int day, const Horizon& horizon,
                      std::optional<double> now_hours) {
  SkyScene s;
  s.arc = ArcOf(in, horizon);
  s.day = SunDayOf(in, year, month, day);
  s.june = SunDayOf(in, year, 6, 21);
  s.december = SunDayOf(in, year, 12, 21);
  if (now_hours) s.now = SunAt(in, year, month, day, *now_hours);
  s.horizon = horizon;
  s.southern = StrToFloat(in.latitude) < 0;
  return s;
}

void RingSlot(SkyScene& scene, const InputFields& in, const CalendarDate& date) {
  // A slot at a tenth of a degree has no mark of its own, so nothing is ringed for it.
  const std::optional<double> slot = ParseSlot(in.slot);
  if (!slot) return;
  for (std::size_t i = 0; i < scene.arc.size(); ++i)
    if (scene.arc[i].lon == *slot) scene.highlighted = static_cast<int>(i);
  if (LookAtSlot(ObserverFromFields(in), *slot).elevation > 0)
    scene.align = ComputeAlignment(in, scene.horizon, date, 1).days[0].events;
}

YearScene MakeYearScene(const InputFields& in, int year) {
  YearScene s;
  s.days = YearDaylight(in, year);
  s.year = year;
  return s;
}

std::string WithPictureExtension(const std::string& path, bool svg) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  // A leading dot makes a hidden file's name, not an extension.
  const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  if (dot != std::string::npos && dot > name) return path;
  return path + (svg ? ".svg" : ".png");
}

}  // namespace kelmar
