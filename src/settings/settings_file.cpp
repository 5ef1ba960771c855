#include "settings/settings_file.h"

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/number_text.h"
#include "settings/cp1251.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

constexpr const char* kPoints = kSectionPoints;
constexpr const char* kForm = kSectionForm;

// A place is a "Points" line with "=" and a name; anything else in the section (a line
// without "=", "=1;2") names no place.
bool IsPlaceLine(const SettingsImage::Line& line) { return line.has_eq && !line.name.empty(); }

// A line end inside a text would split its line in the file (and could start a section).
std::string OneLine(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  return s;
}

// The outage tab's "Form" keys with their texts and defaults.
template <class Text>
auto OutageKeys(Text& slot, Text& dish, Text& frequency) {
  struct Key {
    const char* name;
    Text& value;
    const char* fallback;
  };
  static const InputFields defaults;
  return std::array<Key, 3>{Key{"ESlot", slot, defaults.ESlot.c_str()}, Key{"EDish", dish, defaults.EDish.c_str()},
                            Key{"EFreq", frequency, defaults.EFreq.c_str()}};
}

}  // namespace

std::string BoolToText(bool value) { return value ? "1" : "0"; }

bool TextToBool(std::string_view text) { return text == "1"; }

std::string SettingsPathFor(std::string_view exe_path) {
  const std::size_t slash = exe_path.rfind('/');
  const std::size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
  const std::size_t dot = exe_path.rfind('.');
  std::string path(exe_path);
  if (dot != std::string_view::npos && dot >= name_start) path.resize(dot);
  return path + ".INI";
}

std::string CutShortMessage(const std::string& SettingsPath) {
  return "Файл настроек " + SettingsPath +
         " повреждён (обрывается на нулевом байте) и не будет перезаписан. Исправьте или удалите его.";
}

std::optional<std::string> CaseTwinsMessage(const PlaceList& places) {
  // The names of each line that more than one place shares, in the order of the list.
  std::vector<std::string> keys;
  std::unordered_map<std::string, std::vector<std::string>> names_of;
  for (const Place& place : places) {
    auto& names = names_of[UpperCp1251(place.name)];
    if (names.empty()) keys.push_back(UpperCp1251(place.name));
    names.push_back(place.name);
  }
  std::string list;
  for (const std::string& key : keys) {
    const auto& names = names_of[key];
    if (names.size() < 2) continue;
    if (!list.empty()) list += "; ";
    for (std::size_t i = 0; i < names.size(); ++i) list += (i > 0 ? ", " : "") + names[i];
  }
  if (list.empty()) return std::nullopt;
  return "Названия пунктов, различающиеся только регистром букв, занимают в файле одну строку "
         "и будут объединены при закрытии: " + list;
}

LoadedSettings LoadedFromImage(const SettingsImage& image) {
  LoadedSettings out;
  if (const SettingsImage::Section* points = image.FindSection(kPoints)) {
    // Names are looked up regardless of case, so of two lines with one name every entry
    // reads the later line's value.
    std::unordered_map<std::string, const std::string*> last;
    std::vector<std::string> keys;
    for (const SettingsImage::Line& line : points->lines) {
      keys.push_back(IsPlaceLine(line) ? UpperCp1251(line.name) : std::string());
      if (IsPlaceLine(line)) last[keys.back()] = &line.value;
    }
    for (std::size_t i = 0; i < points->lines.size(); ++i) {
      const SettingsImage::Line& line = points->lines[i];
      if (!IsPlaceLine(line)) continue;
      const std::string& value = *last.at(keys[i]);
      const std::size_t semi = value.find(';');
      if (semi == std::string::npos) {
        out.places.Append(line.name, std::string(), value);
      } else {
        out.places.Append(line.name, value.substr(0, semi), value.substr(semi + 1));
      }
    }
  }
  out.twilight_height = image.ReadString(kForm, "EK", "0");
  out.twilight_angle = image.ReadString(kForm, "EU", "0");
  out.zone_msk = image.ReadString(kForm, "EM", "0");
  out.zone_gmt = image.ReadString(kForm, "EG", "0");

  const std::optional<int> ind = ParseInt(image.ReadString(kForm, "Ind", "0"));
  out.selected = ind && *ind >= 0 && *ind < out.places.Count() ? *ind : 0;
  if (!out.places.Empty()) {
    out.latitude = out.places[out.selected].lat;
    out.longitude = out.places[out.selected].lon;
  }
  out.zone_is_gmt = TextToBool(image.ReadString(kForm, "RBG", "0"));
  out.twilight_by_angle = TextToBool(image.ReadString(kForm, "RB3", "0"));
  for (auto& [key, value, fallback] : OutageKeys(out.outage_slot, out.dish, out.frequency)) value = image.ReadString(kForm, key, fallback);
  out.compass_azimuths = TextToBool(image.ReadString(kForm, kMagAzKey, "0"));
  out.horizons = HorizonsFromImage(image);
  return out;
}

InputFields LoadedSettings::Fields() const {
  InputFields in;
  in.EditSir = latitude;
  in.EditDolg = longitude;
  in.EditKm = twilight_height;
  in.EditUg = twilight_angle;
  in.EditMSK = zone_msk;
  in.EditGMT = zone_gmt;
  in.RadioButtonMSK = !zone_is_gmt;
  in.RadioButtonUgol = twilight_by_angle;
  in.ESlot = outage_slot;
  in.EDish = dish;
  in.EFreq = frequency;
  in.CheckBoxMagAz = compass_azimuths;
  return in;
}

void ApplyLoadedSettings(const LoadedSettings& loaded, PlaceList& places, CalcState& st,
                         InputFields& in) {
  places = loaded.places;
  st.PlaceIndex = loaded.selected;
  const bool seconds = in.CheckBoxSec;
  in = loaded.Fields();
  in.CheckBoxSec = seconds;
}

void StoreIntoImage(SettingsImage& image, const PlaceList& places, int PlaceIndex,
                    const InputFields& in, const HorizonTexts* horizons) {
  // Lines of "Points" that name no place are not ours to drop.
  std::vector<SettingsImage::Line> kept;
  if (const SettingsImage::Section* points = image.FindSection(kPoints))
    for (const SettingsImage::Line& line : points->lines)
      if (!IsPlaceLine(line)) kept.push_back(line);

  image.EraseSection(kPoints);
  // A new section at the end, written even with no place: a hand-edited file may hold an
  // older "Points" further up, which must neither receive the places nor show at next start.
  image.AppendSection(kPoints);
  // One line per name regardless of case, as writing each key in turn would give: a later
  // place of an equal name replaces the earlier one's line in its position.
  std::vector<SettingsImage::Line> lines;
  std::unordered_map<std::string, std::size_t> line_of;
  for (const Place& place : places) {
    if (place.name.empty()) break;
    SettingsImage::Line line{OneLine(place.name), OneLine(place.lat + ";" + place.lon), true};
    const auto [it, added] = line_of.emplace(UpperCp1251(line.name), lines.size());
    if (added) {
      lines.push_back(std::move(line));
    } else {
      lines[it->second] = std::move(line);
    }
  }
  // The selection is stored as the line its place ends up in: names merged into one line
  // would otherwise leave it pointing past the end or at another place.
  int stored_index = PlaceIndex;
  if (PlaceIndex >= 0 && PlaceIndex < places.Count()) {
    const auto it = line_of.find(UpperCp1251(OneLine(places[PlaceIndex].name)));
    if (it != line_of.end()) stored_index = static_cast<int>(it->second);
  }
  for (SettingsImage::Line& line : lines) image.AppendLine(kPoints, std::move(line));
  for (SettingsImage::Line& line : kept) image.AppendLine(kPoints, std::move(line));
  image.WriteString(kForm, "Ind", std::to_string(stored_index));
  image.WriteString(kForm, "RB3", BoolToText(in.RadioButtonUgol));
  image.WriteString(kForm, "RBG", BoolToText(in.RadioButtonGMT()));
  image.WriteString(kForm, "EK", OneLine(in.EditKm));
  image.WriteString(kForm, "EU", OneLine(in.EditUg));
  image.WriteString(kForm, "EM", OneLine(in.EditMSK));
  image.WriteString(kForm, "EG", OneLine(in.EditGMT));
  // Keys younger than the file are written only once they differ from their defaults or the
  // file has them: a file whose user never used the outage tab or compass azimuths stays byte
  // for byte as it was.
  auto write_new_key = [&](const char* key, const std::string& value, std::string_view fallback) {
    if (value != fallback || image.Read(kForm, key)) image.WriteString(kForm, key, OneLine(value));
  };
  for (const auto& [key, value, fallback] : OutageKeys(in.ESlot, in.EDish, in.EFreq)) write_new_key(key, value, fallback);
  write_new_key(kMagAzKey, BoolToText(in.CheckBoxMagAz), "0");
  if (horizons != nullptr) StoreHorizons(image, places, *horizons);
}

}  // namespace kelmar
