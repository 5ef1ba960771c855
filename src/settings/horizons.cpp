#include "settings/horizons.h"

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
  image.EraseSection(kSectionHorizon);
  for (const Place& place : places) {
    const std::string text = HorizonOf(horizons, place.name);
    if (!text.empty()) image.AppendLine(kSectionHorizon, {place.name, text, true});
  }
}

std::string HorizonOf(const HorizonTexts& horizons, const std::string& place) {
  const auto it = horizons.find(place);
  return it == horizons.end() ? std::string() : it->second;
}

}  // namespace kelmar
