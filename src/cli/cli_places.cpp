#include "cli/cli_places.h"

#include <algorithm>
#include <stdexcept>

#include "settings/settings_file.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

std::string SettingsFileOf(const CliOptions& opts) {
  if (const std::string* f = opts.Value("--settings")) return *f;
  return DefaultSettingsPath();
}

std::size_t Width(const std::string& s) {
  std::size_t n = 0;
  for (const unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

void PrintPlacesText(const LoadedSettings& s, std::ostream& out) {
  const PlaceList& p = s.places;
  std::size_t wn = 4;
  std::size_t wl = 3;
  for (int i = 0; i < p.Count(); ++i) {
    wn = std::max(wn, Width(p.names[static_cast<std::size_t>(i)]));
    wl = std::max(wl, Width(p.lats[static_cast<std::size_t>(i)]));
  }
  auto pad = [](const std::string& t, std::size_t w) { return t + std::string(w - Width(t), ' '); };
  out << "   # " << pad("name", wn) << "  " << pad("lat", wl) << "  lon\n";
  for (int i = 0; i < p.Count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    std::string num = std::to_string(i);
    if (num.size() < 3) num.insert(0, 3 - num.size(), ' ');
    std::string line = (i == s.PlaceIndex ? "*" : " ") + num + " " + pad(p.names[k], wn) + "  " +
                       pad(p.lats[k], wl) + "  " + p.lons[k];
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
  out << "index: " << s.PlaceIndex << '\n'
      << "EK: " << s.EditKm << '\n'
      << "EU: " << s.EditUg << '\n'
      << "EM: " << s.EditMSK << '\n'
      << "EG: " << s.EditGMT << '\n'
      << "zone: " << (s.RadioButtonGMT ? "GMT" : "MSK") << '\n'
      << "twilight: " << (s.RadioButtonUgol ? "angle" : "height") << '\n';
}

void PrintPlacesJson(const LoadedSettings& s, std::ostream& out) {
  const PlaceList& p = s.places;
  out << "{\"places\":[";
  for (int i = 0; i < p.Count(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    out << (i > 0 ? "," : "") << "{\"name\":" << JsonString(p.names[k])
        << ",\"lat\":" << JsonString(p.lats[k]) << ",\"lon\":" << JsonString(p.lons[k]) << '}';
  }
  out << "],\"index\":" << s.PlaceIndex << ",\"EK\":" << JsonString(s.EditKm)
      << ",\"EU\":" << JsonString(s.EditUg) << ",\"EM\":" << JsonString(s.EditMSK)
      << ",\"EG\":" << JsonString(s.EditGMT) << ",\"gmt\":" << (s.RadioButtonGMT ? "true" : "false")
      << ",\"angle\":" << (s.RadioButtonUgol ? "true" : "false") << "}\n";
}

// The place named by --place: the exact name first, then the file's case-blind match.
std::size_t StoredPlaceIndex(const CliOptions& opts, const LoadedSettings& s) {
  const std::string& name = *opts.Value("--place");
  const auto& names = s.places.names;
  auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end())
    it = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SameKey(n, name); });
  if (it == names.end()) throw std::runtime_error("no place named \"" + name + "\" in " + SettingsFileOf(opts));
  return static_cast<std::size_t>(it - names.begin());
}

}  // namespace

std::string DefaultSettingsPath() {
  // The window's file: the settings path of the "kelmar" executable beside this one.
  const std::string exe = ExecutablePath();
  const std::size_t slash = exe.rfind('/');
  return SettingsPathFor(slash == std::string::npos ? "kelmar" : exe.substr(0, slash + 1) + "kelmar");
}

int RunPlaces(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--settings", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  const std::string* format = opts.Value("--format");
  if (format != nullptr && *format != "text" && *format != "json")
    throw UsageError("--format takes text or json");
  const LoadedSettings s = LoadSettings(SettingsFileOf(opts));
  if (format != nullptr && *format == "json") {
    PrintPlacesJson(s, out);
  } else {
    PrintPlacesText(s, out);
  }
  return 0;
}

InputFields FieldsOfStoredPlace(const CliOptions& opts) {
  const LoadedSettings s = LoadSettings(SettingsFileOf(opts));
  const std::size_t k = StoredPlaceIndex(opts, s);
  InputFields in;
  in.EditSir = s.places.lats[k];
  in.EditDolg = s.places.lons[k];
  in.EditKm = s.EditKm;
  in.EditUg = s.EditUg;
  in.EditMSK = s.EditMSK;
  in.EditGMT = s.EditGMT;
  in.RadioButtonMSK = !s.RadioButtonGMT;
  in.RadioButtonUgol = s.RadioButtonUgol;
  return in;
}

}  // namespace kelmar

namespace kelmar {

std::string StoredHorizon(const CliOptions& opts) {
  const LoadedSettings s = LoadSettings(SettingsFileOf(opts));
  return HorizonOf(s.horizons, s.places.names[StoredPlaceIndex(opts, s)]);
}

}  // namespace kelmar
