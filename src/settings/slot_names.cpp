#include "settings/slot_names.h"

#include <cmath>

#include "core/calc_error.h"
#include "core/outage.h"
#include "settings/place_ops.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

// The satellite table's slot nearest a position: −180 is the table's 180.
int NearestSlot(double east) {
  const int slot = static_cast<int>(std::lround(east));
  return slot == -180 ? 180 : slot;
}

}  // namespace

SlotNames NamesFromImage(const SettingsImage& image) {
  SlotNames out;
  if (const SettingsImage::Section* s = image.FindSection(kSectionNames))
    for (const SettingsImage::Line& line : s->lines)
      if (line.has_eq && !line.name.empty() && !line.value.empty()) out[line.name] = line.value;
  return out;
}

void StoreNames(SettingsImage& image, const SlotNames& names) {
  image.EraseSection(kSectionNames);
  for (const auto& [slot, name] : names) image.AppendLine(kSectionNames, {slot, name, true});
}

std::string NamesAtSlot(const SlotNames& names, int table_slot) {
  std::string text;
  for (const auto& [key, name] : names) {
    const std::optional<double> east = ParseSlot(key);
    if (!east || NearestSlot(*east) != table_slot) continue;
    if (!text.empty()) text += "; ";
    text += name;
    if (*east != std::round(*east)) text += " (" + SlotText(*east) + ")";
  }
  return text;
}

std::string NameOf(const SlotNames& names, double slot_east) {
  for (const auto& [key, name] : names)
    if (ParseSlot(key) == slot_east) return name;
  return "";
}

double NamedPositionAt(const SlotNames& names, int table_slot) {
  for (const auto& [key, name] : names) {
    const std::optional<double> east = ParseSlot(key);
    if (east && NearestSlot(*east) == table_slot) return *east;
  }
  return table_slot;
}

void SetSlotName(SlotNames& names, double slot_east, std::string_view name) {
  const std::string text(TrimLow(name));
  if (const auto refusal = Cp1251Refusal(text)) throw CalcError(*refusal);
  std::string key = SlotText(slot_east);
  for (const auto& [k, n] : names)
    if (ParseSlot(k) == ParseSlot(key)) key = k;  // the line as the file writes it
  if (text.empty()) {
    names.erase(key);
  } else {
    names[key] = text;
  }
}

}  // namespace kelmar
