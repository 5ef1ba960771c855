#include "settings/horizons.h"

#include <set>
#include <vector>

#include "settings/settings_image.h"

namespace kelmar {

HorizonTexts HorizonsFromImage(const SettingsImage& image) {
  HorizonTexts out;
  if (const SettingsImage::Section* s = image.FindSection(kSectionHorizon))
    for (const SettingsImage::Line& line : s->lines)
      if (line.has_eq && !line.name.empty() && !line.value.empty()) out[line.name] = line.value;
  return out;
}

void StoreHorizons(SettingsImage& image, const PlaceList& places, const HorizonTexts& horizons) {
  std::vector<SettingsImage::Line> old;
  if (const SettingsImage::Section* s = image.FindSection(kSectionHorizon)) old = s->lines;
  image.EraseSection(kSectionHorizon);
  std::set<std::string> listed;
  for (const Place& place : places) {
    listed.insert(place.name);
    const std::string text = HorizonOf(horizons, place.name);
    if (!text.empty()) image.AppendLine(kSectionHorizon, {place.name, text, true});
  }
  // A line for a name the list does not hold is the user's (a place still to be added, a
  // name typed differently): it stays, unless its mask was taken away with its place.
  std::set<std::string> kept;
  for (const SettingsImage::Line& line : old) {
    if (listed.count(line.name) != 0) continue;
    const bool mask = line.has_eq && !line.name.empty() && !line.value.empty();
    if (mask && (horizons.count(line.name) == 0 || !kept.insert(line.name).second)) continue;
    image.AppendLine(kSectionHorizon, mask ? SettingsImage::Line{line.name, horizons.at(line.name), true} : line);
  }
  for (const auto& [name, text] : horizons)
    if (listed.count(name) == 0 && kept.count(name) == 0 && !text.empty())
      image.AppendLine(kSectionHorizon, {name, text, true});
}

std::string HorizonOf(const HorizonTexts& horizons, const std::string& place) {
  const auto it = horizons.find(place);
  return it == horizons.end() ? std::string() : it->second;
}

}  // namespace kelmar
