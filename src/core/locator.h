#pragma once
// Maidenhead locators: coordinates → 6 characters, and a locator name → coordinate texts.
#include <string>
#include <string_view>

#include "calc_state.h"
#include "input_fields.h"

namespace kelmar {

// "KO85ts" for 55.75, 37.62. Longitudes are reduced by whole turns; latitudes are clamped
// into [−90, 90) so every character stays in its alphabet.
std::string LocatorFromCoords(double lat_deg, double lon_deg);

// Locator of EditSir / EditDolg into st.Locator; on a bad text throws and keeps the old one.
void QTHloc(CalcState& st, const InputFields& in);

struct CoordTexts {
  std::string lat;
  std::string lon;
};
// The centre of the smallest square of a name " KO85TS" (blank, then six characters, either
// case; characters after the seventh ignored): {"55.7708", "37.625"}. The name must hold at
// least seven characters; the characters themselves are converted by their codes unchecked.
CoordTexts LocatorToCoords(std::string_view name);

// The refusal of a locator name that IsValidLocatorName rejects.
inline constexpr const char* kInvalidLocator = "Неверный QTH-локатор";

// True for a blank followed by a real locator: A–R, A–R, 0–9, 0–9, A–X, A–X in either case.
bool IsValidLocatorName(std::string_view name);

}  // namespace kelmar
