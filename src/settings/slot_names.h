#pragma once
// The user's names for orbital positions in the settings file: section "Names", one
// "36 E=Eutelsat 36" line each, the position as the outage tab writes it.
#include <map>
#include <string>
#include <string_view>

namespace kelmar {

class SettingsImage;

inline constexpr const char* kSectionNames = "Names";

// Position as written in the file → name. A line whose position is no slot stays as it is.
using SlotNames = std::map<std::string, std::string>;

SlotNames NamesFromImage(const SettingsImage& image);
// The section anew; none at all without names.
void StoreNames(SettingsImage& image, const SlotNames& names);

// What the satellite table shows at one of its slots (whole degrees east): every name whose
// position is nearest that slot, one at a fractional position with the position itself
// ("Astra (19.2 E)"), joined by "; ". Empty when there is none.
std::string NamesAtSlot(const SlotNames& names, int table_slot);
// The name of exactly this position (degrees east); empty when it has none.
std::string NameOf(const SlotNames& names, double slot_east);
// The position the table's slot names: the first named position nearest it, else the slot.
double NamedPositionAt(const SlotNames& names, int table_slot);

// Gives a position (degrees east) a name, or takes it away with an empty one; blanks at the ends
// are dropped, as the file would drop them. Throws CalcError with the place-name rule's message
// for a character the file's code page cannot hold.
void SetSlotName(SlotNames& names, double slot_east, std::string_view name);

}  // namespace kelmar
