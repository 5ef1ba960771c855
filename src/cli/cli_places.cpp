#include "cli/cli_places.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "core/magnetic.h"
#include "core/utf8.h"
#include "settings/file_layout.h"
#include "settings/settings_file.h"
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
    std::string line = (i == s.PlaceIndex ? "*" : " ") + num + " " + pad(p[i].name, wn) + "  " +
                       pad(p[i].lat, wl) + "  " + p[i].lon;
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
    out << (i > 0 ? "," : "") << "{\"name\":" << JsonString(p[i].name)
        << ",\"lat\":" << JsonString(p[i].lat) << ",\"lon\":" << JsonString(p[i].lon) << '}';
  }
  out << "],\"index\":" << s.PlaceIndex << ",\"EK\":" << JsonString(s.EditKm)
      << ",\"EU\":" << JsonString(s.EditUg) << ",\"EM\":" << JsonString(s.EditMSK)
      << ",\"EG\":" << JsonString(s.EditGMT) << ",\"gmt\":" << (s.RadioButtonGMT ? "true" : "false")
      << ",\"angle\":" << (s.RadioButtonUgol ? "true" : "false") << "}\n";
}

// The file must be there: a missing one would read as a file without places.
LoadedSettings LoadOptionsFile(const CliOptions& opts) {
  const std::string path = SettingsFileOf(opts);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec))
    throw std::runtime_error("settings file " + path + " does not exist");
  return LoadSettings(path);
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

// The layout of the "kelmar" executable beside this one; nothing when this one's folder is unknown.
std::optional<FileLayout> WindowLayout() {
  const std::string exe = ExecutablePath();
  const std::size_t slash = exe.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::string dir = exe.substr(0, slash);
  return ChooseLayout(dir, SettingsPathFor(dir + "/kelmar"), EnvironmentUserDirs());
}

}  // namespace

std::string DefaultSettingsPath() {
  // The window's file: the settings path of the "kelmar" executable beside this one, or, when
  // installed, the user's file (the starter file while there is none; it is never made here).
  const std::optional<FileLayout> layout = WindowLayout();
  return layout ? SettingsToRead(*layout) : SettingsPathFor("kelmar");
}

std::string DefaultMagneticModelDir() {
  const std::optional<FileLayout> layout = WindowLayout();
  return layout ? layout->data_dir + "magnetic" : MagneticModelDir();
}

int RunPlaces(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--settings", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  const std::string* format = opts.Value("--format");
  if (format != nullptr && *format != "text" && *format != "json")
    throw UsageError("--format takes text or json");
  const LoadedSettings s = LoadOptionsFile(opts);
  if (format != nullptr && *format == "json") {
    PrintPlacesJson(s, out);
  } else {
    PrintPlacesText(s, out);
  }
  return 0;
}

InputFields FieldsOfStoredPlace(const CliOptions& opts) {
  const LoadedSettings s = LoadOptionsFile(opts);
  const Place& place = StoredPlace(opts, s);
  InputFields in = s.Fields();
  in.latitude = place.lat;
  in.longitude = place.lon;
  return in;
}

std::string StoredHorizon(const CliOptions& opts) {
  const LoadedSettings s = LoadOptionsFile(opts);
  return HorizonOf(s.horizons, StoredPlace(opts, s).name);
}

}  // namespace kelmar
