#pragma once
// The settings file beside the executable: the place list and the window's seven settings.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/input_fields.h"
#include "settings/horizons.h"
#include "settings/place_list.h"
#include "settings/slot_names.h"

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

// The running program's own full path (/proc/self/exe); empty when unknown.
std::string ExecutablePath();

// The file a path finally names: symbolic links followed, also when the last one dangles. The
// save replaces this file, and the lock beside it is one for every path that leads to it.
std::string FinalTarget(const std::string& path);

// What the file puts into the window at start-up.
struct LoadedSettings {
  PlaceList places;
  int PlaceIndex = 0;  // always a valid index, 0 when the list is empty
  std::string EditKm = "0", EditUg = "0", EditMSK = "0", EditGMT = "0";
  bool RadioButtonGMT = false;   // else RadioButtonMSK
  bool RadioButtonUgol = false;  // else RadioButtonVys
  std::string EditSir, EditDolg;  // the selected place's texts; empty with no place
  bool cut_short = false;  // the file's text ends early at a NUL byte: saving would lose the rest
  // The outage tab's fields; a file without them reads as InputFields' defaults.
  std::string ESlot, EDish, EFreq;
  bool CheckBoxMagAz = false;     // "MagAz": compass azimuths, off in a file without the key
  HorizonTexts horizons;          // section "Horizon"; empty without it
  SlotNames names;                // section "Names"; empty without it

  // The window's fields as these settings fill them (CheckBoxSec off).
  InputFields Fields() const;
};

// Told at start-up about a file that ends early at a NUL byte; the window never saves over it.
std::string CutShortMessage(const std::string& SettingsPath);
// Told at start-up when stored names differ only in letter case: the file keeps one line for
// them, so the next save merges them. nullopt when every name has a line of its own.
std::optional<std::string> CaseTwinsMessage(const PlaceList& places);

class SettingsImage;

// What an image of the file puts into the window (no file access).
LoadedSettings LoadedFromImage(const SettingsImage& image);
// Writes the place list and the seven settings into an image of the file (no file access).
// With horizons (names), the "Horizon" ("Names") section is rewritten too; without, it is left
// as it is.
void StoreIntoImage(SettingsImage& image, const PlaceList& places, int PlaceIndex,
                    const InputFields& in, const HorizonTexts* horizons = nullptr, const SlotNames* names = nullptr);

// Reads the file; a missing or empty file gives no places and the starter file's "Form" values. An "Ind" that is not an
// integer naming a stored place selects place 0. Throws SettingsError("Cannot open file %s")
// when the file exists but cannot be read: the caller must then not save over it at close.
LoadedSettings LoadSettings(const std::string& SettingsPath);

// Puts loaded settings into the window's state: the place list and PlaceIndex, and the field
// texts, radio choices and CheckBoxMagAz (CheckBoxSec is left alone).
void ApplyLoadedSettings(const LoadedSettings& loaded, PlaceList& places, int& PlaceIndex,
                         InputFields& in);

// Rewrites "Points" and the seven "Form" keys (and the outage tab's keys where they differ from
// their defaults or the file holds them already), keeping every other section and key of the
// file. The new file is written beside the old one (beside a symbolic link's target) and
// renamed over it only once complete. Throws SettingsError("Cannot create file %s").
void SaveSettings(const std::string& SettingsPath, const PlaceList& places, int PlaceIndex,
                  const InputFields& in, const HorizonTexts* horizons = nullptr, const SlotNames* names = nullptr);

}  // namespace kelmar
