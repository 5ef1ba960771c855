#include "core/scenes.h"

#include "core/number_text.h"
#include "core/observer.h"
#include "core/outage.h"

namespace kelmar {

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
