#include "cli/cli_places.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "cli/cli_host.h"
#include "core/utf8.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

std::string SettingsFileOf(const CliOptions& opts) {
  if (const std::string* f = opts.Value("--settings")) return *f;
  return DefaultSettingsPath();
}

void PrintPlacesText(const LoadedSettings& s, std::ostream& out) {
  const PlaceList& p = s.places;
  std::size_t wn = 4;
  std::size_t wl = 3;
  for (const Place& place : p) {
    wn = std::max(wn, CharCount(place.name));
    wl = std::max(wl, CharCount(place.lat));
  }
  auto pad = [](const std::string& t, std::size_t w) { return t + std::string(w - CharCount(t), ' '); };
  out << "   # " << pad("name", wn) << "  " << pad("lat", wl) << "  lon\n";
  for (int i = 0; i < p.Count(); ++i) {
    std::string num = std::to_string(i);
    if (num.size() < 3) num.insert(0, 3 - num.size(), ' ');
    std::string line = (i == s.selected ? "*" : " ") + num + " " + pad(p[i].name, wn) + "  " +
                       pad(p[i].lat, wl) + "  " + p[i].lon;
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
  out << "index: " << s.selected << '\n'
      << "EK: " << s.twilight_height << '\n'
      << "EU: " << s.twilight_angle << '\n'
      << "EM: " << s.zone_msk << '\n'
      << "EG: " << s.zone_gmt << '\n'
      << "zone: " << (s.zone_is_gmt ? "GMT" : "MSK") << '\n'
      << "twilight: " << (s.twilight_by_angle ? "angle" : "height") << '\n';
}

void PrintPlacesJson(const LoadedSettings& s, std::ostream& out) {
  const PlaceList& p = s.places;
  out << "{\"places\":[";
  for (int i = 0; i < p.Count(); ++i) {
    out << (i > 0 ? "," : "") << "{\"name\":" << JsonString(p[i].name)
        << ",\"lat\":" << JsonString(p[i].lat) << ",\"lon\":" << JsonString(p[i].lon) << '}';
  }
  out << "],\"index\":" << s.selected << ",\"EK\":" << JsonString(s.twilight_height)
      << ",\"EU\":" << JsonString(s.twilight_angle) << ",\"EM\":" << JsonString(s.zone_msk)
      << ",\"EG\":" << JsonString(s.zone_gmt) << ",\"gmt\":" << (s.zone_is_gmt ? "true" : "false")
      << ",\"angle\":" << (s.twilight_by_angle ? "true" : "false") << "}\n";
}

// The place named by --place: the exact name first, then the file's case-blind match.
const Place& StoredPlace(const CliOptions& opts, const LoadedSettings& s) {
  const std::string& name = *opts.Value("--place");
  auto it = std::find_if(s.places.begin(), s.places.end(), [&](const Place& p) { return p.name == name; });
  if (it == s.places.end())
    it = std::find_if(s.places.begin(), s.places.end(), [&](const Place& p) { return SameKey(p.name, name); });
  if (it == s.places.end()) throw std::runtime_error("no place named \"" + name + "\" in " + SettingsFileOf(opts));
  return *it;
}

}  // namespace

int RunPlaces(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--settings", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  const std::string* format = opts.Value("--format");
  if (format != nullptr && *format != "text" && *format != "json")
    throw UsageError("--format takes text or json");
  const LoadedSettings s = ReadSettingsFile(SettingsFileOf(opts));
  if (format != nullptr && *format == "json") {
    PrintPlacesJson(s, out);
  } else {
    PrintPlacesText(s, out);
  }
  return 0;
}

InputFields FieldsOfStoredPlace(const CliOptions& opts) {
  const LoadedSettings s = ReadSettingsFile(SettingsFileOf(opts));
  const Place& place = StoredPlace(opts, s);
  InputFields in = s.Fields();
  in.EditSir = place.lat;
  in.EditDolg = place.lon;
  return in;
}

std::string StoredHorizon(const CliOptions& opts) {
  const LoadedSettings s = ReadSettingsFile(SettingsFileOf(opts));
  return HorizonOf(s.horizons, StoredPlace(opts, s).name);
}

}  // namespace kelmar
