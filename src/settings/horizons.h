#pragma once
// The places' horizon masks in the settings file: section "Horizon", one "name=mask text" line
// per place that has one.
#include <map>
#include <string>

#include "settings/place_list.h"

namespace kelmar {

class SettingsImage;

inline constexpr const char* kSectionHorizon = "Horizon";

using HorizonTexts = std::map<std::string, std::string>;  // place name → "90:5 150:25"

HorizonTexts HorizonsFromImage(const SettingsImage& image);
// The section anew: a line for each listed place with a non-empty mask, in the list's order,
// then the section's lines for names not in the list, as they were, and no section at all when
// nothing is left. A mask erased from horizons (its place deleted) goes.
void StoreHorizons(SettingsImage& image, const PlaceList& places, const HorizonTexts& horizons);
// The mask of a place; empty when it has none.
std::string HorizonOf(const HorizonTexts& horizons, const std::string& place);

}  // namespace kelmar
