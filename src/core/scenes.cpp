#include "core/scenes.h"

#include "core/number_text.h"

namespace kelmar {

SkyScene MakeSkyScene(const InputFields& in, int year, int month, int day, const Horizon& horizon,
                      std::optional<double> now_hours) {
  SkyScene s;
  s.arc = ArcFromTable(SatelliteTableOf(in), horizon);
  s.day = SunDayOf(in, year, month, day);
  s.june = SunDayOf(in, year, 6, 21);
  s.december = SunDayOf(in, year, 12, 21);
  if (now_hours) s.now = SunAt(in, year, month, day, *now_hours);
  s.horizon = horizon;
  s.southern = StrToFloat(in.EditSir) < 0;
  return s;
}

YearScene MakeYearScene(const InputFields& in, int year) {
  YearScene s;
  s.days = YearDaylight(in, year);
  s.year = year;
  return s;
}

std::string ZoneTitle(const InputFields& in) {
  const std::string& offset = in.RadioButtonMSK ? in.EditMSK : in.EditGMT;
  return std::string(in.RadioButtonMSK ? "MSK" : "GMT") + (offset.starts_with('-') ? "" : "+") + offset;
}

}  // namespace kelmar
