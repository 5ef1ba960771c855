#pragma once
// The settings file's contents: the place list and the window's seven settings, read from and
// written into an image of the file. The file itself is read and written in settings_io.h.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "settings/horizons.h"
#include "settings/place_list.h"

namespace kelmar {

// "Cannot open file %s" / "Cannot create file %s", with the settings path.
class SettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kSectionPoints = "Points";
inline constexpr const char* kSectionForm = "Form";
inline constexpr const char* kMagAzKey = "MagAz";

// "1" for true, "0" for false; only the exact text "1" reads as true.
std::string BoolToText(bool value);
bool TextToBool(std::string_view text);

// The executable's path with the extension of its file name replaced by ".INI" (appended when
// the file name has no "."): "/opt/kelmar/kelmar" → "/opt/kelmar/kelmar.INI".
std::string SettingsPathFor(std::string_view exe_path);

// What the file puts into the window at start-up. The texts are the fields' as typed; the
// window's control each fills is named beside it.
struct LoadedSettings {
  PlaceList places;
  int selected = 0;  // PlaceIndex: always a valid index, 0 when the list is empty
  std::string twilight_height = "0";  // EditKm, key "EK"
  std::string twilight_angle = "0";   // EditUg, key "EU"
  std::string zone_msk = "0";         // EditMSK, key "EM"
  std::string zone_gmt = "0";         // EditGMT, key "EG"
  bool zone_is_gmt = false;           // RadioButtonGMT, key "RBG"; else RadioButtonMSK
  bool twilight_by_angle = false;     // RadioButtonUgol, key "RB3"; else RadioButtonVys
  std::string latitude, longitude;    // EditSir, EditDolg: the selected place's; empty with no place
  bool cut_short = false;  // the file's text ends early at a NUL byte: saving would lose the rest
  // The outage tab's fields (ESlot, EDish, EFreq); a file without them reads as InputFields' defaults.
  std::string outage_slot, dish, frequency;
  bool compass_azimuths = false;  // CheckBoxMagAz, key "MagAz": off in a file without the key
  HorizonTexts horizons;          // section "Horizon"; empty without it

  // The window's fields as these settings fill them (CheckBoxSec off).
  InputFields Fields() const;
};

// Told at start-up about a file that ends early at a NUL byte; the window never saves over it.
std::string CutShortMessage(const std::string& SettingsPath);
// Told at start-up when stored names differ only in letter case: the file keeps one line for
// them, so the next save merges them. nullopt when every name has a line of its own.
std::optional<std::string> CaseTwinsMessage(const PlaceList& places);

class SettingsImage;

// What an image of the file puts into the window (no file access). An "Ind" that is not an
// integer naming a stored place selects place 0.
LoadedSettings LoadedFromImage(const SettingsImage& image);
// Writes the place list and the seven settings into an image of the file (no file access).
// With horizons, the "Horizon" section is rewritten too; without, it is left as it is.
void StoreIntoImage(SettingsImage& image, const PlaceList& places, int PlaceIndex,
                    const InputFields& in, const HorizonTexts* horizons = nullptr);

// Puts loaded settings into the window's state: the place list and PlaceIndex, and the field
// texts, radio choices and CheckBoxMagAz (CheckBoxSec is left alone).
void ApplyLoadedSettings(const LoadedSettings& loaded, PlaceList& places, CalcState& st,
                         InputFields& in);

}  // namespace kelmar
