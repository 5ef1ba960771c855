#pragma once
// The property the settings fuzzer checks: whatever bytes a settings file holds, loading it,
// saving it and loading again keeps every place, every "Form" text and every choice.
#include <string>
#include <string_view>

namespace kelmar {

// Empty when the property holds for these file bytes, else what went wrong.
std::string CheckSettingsRoundTrip(std::string_view bytes);

}  // namespace kelmar
