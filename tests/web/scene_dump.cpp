// The pictures' scene data as the desktop build computes it, as JSON in the shape of the web
// module's skyScene and yearScene, for the module's tests to compare with:
//   kelmar_scene_dump sky LAT LON YYYY MM DD HORIZON gmt|msk ZONE
//   kelmar_scene_dump year LAT LON YYYY gmt|msk ZONE angle|height TWILIGHT
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "core/float_chars.h"
#include "core/scenes.h"
#include "core/table_text.h"

namespace {

using namespace kelmar;

std::string Num(double v) { return std::isfinite(v) ? ShortestText(v) : "null"; }
std::string Str(const std::string& s) { return "\"" + s + "\""; }  // the scenes' texts need no escapes

template <class T, class F>
std::string List(const std::vector<T>& items, F item) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + item(items[i]);
  return out + "]";
}

std::string Point(const SunPoint& p) { return "{\"hours\":" + Num(p.hours) + ",\"az\":" + Num(p.az) + ",\"el\":" + Num(p.el) + "}"; }

std::string Day(const SunDay& d) {
  return "{\"path\":" + List(d.path, Point) + ",\"rises\":" + List(d.rises, Point) + ",\"sets\":" + List(d.sets, Point) + "}";
}

InputFields Fields(const char* lat, const char* lon, const std::string& zone_kind, const char* zone) {
  InputFields in;
  in.latitude = lat;
  in.longitude = lon;
  in.zone = zone_kind == "msk" ? ZoneKind::FromMoscow : ZoneKind::FromGmt;
  (in.FromMoscow() ? in.msk_offset : in.gmt_offset) = zone;
  return in;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "";
  if (kind == "sky" && argc == 10) {
    const InputFields in = Fields(argv[2], argv[3], argv[8], argv[9]);
    const SkyScene s = MakeSkyScene(in, std::stoi(argv[4]), std::stoi(argv[5]), std::stoi(argv[6]), Horizon::Parse(argv[7]));
    std::cout << "{\"arc\":" << List(s.arc, [](const ArcSlot& a) {
      return "{\"label\":" + Str(a.label) + ",\"azimuth\":" + Str(a.azimuth) + ",\"elevation\":" + Str(a.elevation) +
             ",\"correction\":" + Str(a.correction) + ",\"az\":" + Num(a.az) + ",\"el\":" + Num(a.el) +
             ",\"visible\":" + (a.visible ? "true" : "false") + "}";
    }) << ",\"highlighted\":" << s.highlighted << ",\"day\":" << Day(s.day) << ",\"june\":" << Day(s.june)
              << ",\"december\":" << Day(s.december) << ",\"now\":null,\"horizon\":"
              << List(s.horizon.Points(), [](const Horizon::Point& p) { return "{\"az\":" + Num(p.az) + ",\"el\":" + Num(p.el) + "}"; })
              << ",\"southern\":" << (s.southern ? "true" : "false") << ",\"zone\":" << Str(ZoneText(in)) << "}\n";
    return 0;
  }
  if (kind == "year" && argc == 9) {
    InputFields in = Fields(argv[2], argv[3], argv[5], argv[6]);
    in.twilight = std::string(argv[7]) == "angle" ? TwilightKind::ByAngle : TwilightKind::ByHeight;
    (in.ByAngle() ? in.twilight_angle : in.twilight_height) = argv[8];
    const YearScene s = MakeYearScene(in, std::stoi(argv[4]));
    const auto nums = [](const std::vector<double>& v) { return List(v, Num); };
    std::cout << "{\"year\":" << s.year << ",\"zone\":" << Str(ZoneText(in)) << ",\"days\":" << List(s.days, [&](const DaylightDay& d) {
      return "{\"rises\":" + nums(d.rises) + ",\"sets\":" + nums(d.sets) + ",\"dawns\":" + nums(d.dawns) + ",\"dusks\":" +
             nums(d.dusks) + ",\"noon\":" + Num(d.noon) + ",\"upAtMidnight\":" + (d.up_at_midnight ? "true" : "false") +
             ",\"lightAtMidnight\":" + (d.light_at_midnight ? "true" : "false") + "}";
    }) << "}\n";
    return 0;
  }
  std::cerr << "usage: kelmar_scene_dump sky LAT LON YYYY MM DD HORIZON gmt|msk ZONE\n"
               "       kelmar_scene_dump year LAT LON YYYY gmt|msk ZONE angle|height TWILIGHT\n";
  return 2;
}
