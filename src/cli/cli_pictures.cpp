#include "cli/cli_pictures.h"

#include <cstdio>

#include "cli/cli.h"
#include "cli/cli_host.h"
#include "cli/cli_places.h"
#include "core/day_serial.h"
#include "core/scenes.h"
#include "core/table_text.h"
#include "settings/horizon_profile.h"

namespace kelmar {
namespace {

PictureFile OutputOf(const CliOptions& opts) {
  if (opts.Has("--svg") == opts.Has("--png")) throw UsageError("give exactly one of --svg and --png");
  const bool svg = opts.Has("--svg");
  PictureFile out{WithPictureExtension(*opts.Value(svg ? "--svg" : "--png"), svg)};
  out.svg = svg;
  if (const std::string* size = opts.Value("--size")) {
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(size->c_str(), "%dx%d%c", &w, &h, &end) != 2 || w < 200 || w > 4000 || h < 200 || h > 4000)
      throw UsageError("--size takes WxH, each from 200 to 4000");
    out.width = w, out.height = h;
  }
  return out;
}

std::string PlaceTitle(const CliOptions& opts, const InputFields& in) {
  if (const std::string* place = opts.Value("--place")) return *place;
  return in.latitude + ", " + in.longitude;
}

}  // namespace

int RunSky(const std::vector<std::string>& args) {
  const CliOptions opts = ParseOptions(
      args, 1, {"--lat", "--lon", "--date", "--horizon", "--horizon-file", "--gmt", "--msk", "--svg", "--png", "--size", "--place", "--settings"}, {});
  const PictureFile file = OutputOf(opts);
  const InputFields in = FieldsFromOptions(opts);
  const CalendarDate date = DateOption(opts);
  const int y = date.year, m = date.month, d = date.day;
  std::string horizon_text;
  if (opts.Has("--place")) horizon_text = StoredHorizon(opts);
  if (opts.Has("--horizon") && opts.Has("--horizon-file")) throw UsageError("--horizon and --horizon-file exclude each other");
  if (const std::string* h = opts.Value("--horizon")) horizon_text = *h;
  if (const std::string* file = opts.Value("--horizon-file")) horizon_text = HorizonFromProfile(ReadInputFile(*file));
  SkyScene scene = MakeSkyScene(in, y, m, d, Horizon::Parse(horizon_text));
  scene.title = PlaceTitle(opts, in) + "   " + DateText({y, m, d}) + "   " + ZoneText(in);
  SaveSkyPicture(file, scene);
  return 0;
}

int RunYear(const std::vector<std::string>& args) {
  const CliOptions opts =
      ParseOptions(args, 1, {"--lat", "--lon", "--year", "--gmt", "--msk", "--angle", "--height", "--svg", "--png", "--size",
                             "--place", "--settings"},
                   {});
  const PictureFile file = OutputOf(opts);
  const InputFields in = FieldsFromOptions(opts);
  const int year = NumberOption(opts, "--year", Today().tm_year + 1900, 1, 9999);
  YearScene scene = MakeYearScene(in, year);
  scene.title = PlaceTitle(opts, in) + "   " + std::to_string(year) + "   " + ZoneText(in);
  SaveYearPicture(file, scene);
  return 0;
}

}  // namespace kelmar
