#pragma once
// Maidenhead locators: coordinates → 6 characters, and a locator name → coordinate texts.
#include <optional>
#include <string>
#include <string_view>

namespace kelmar {

// "KO85ts" for 55.75, 37.62. Longitudes are reduced by whole turns; latitudes are clamped
// into [−90, 90) so every character stays in its alphabet.
std::string LocatorFromCoords(double lat_deg, double lon_deg);

struct CoordTexts {
  std::string lat;
  std::string lon;
};
// The centre of the smallest square of a name " KO85TS" (blank, then six characters, either
// case; characters after the seventh ignored): {"55.7708", "37.625"}. Nothing for a name that
// IsValidLocatorName refuses.
std::optional<CoordTexts> LocatorToCoords(std::string_view name);

// The refusal of a locator name that IsValidLocatorName rejects.
inline constexpr const char* kInvalidLocator = "Неверный QTH-локатор";

// A locator typed on its own, with or without the leading blank, exactly six characters: its
// centre as LocatorToCoords gives it. Throws CalcError("Неверный QTH-локатор: REASON"), the
// reason naming the length or the first pair of characters out of their alphabet.
CoordTexts CoordsOfLocator(std::string_view text);

// True for a blank followed by a real locator: A–R, A–R, 0–9, 0–9, A–X, A–X in either case.
bool IsValidLocatorName(std::string_view name);

}  // namespace kelmar
