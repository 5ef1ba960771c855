#pragma once
// The settings file on disk: read whole, replaced atomically. What it holds is settings_file.h's.
#include <string>

#include "settings/settings_file.h"

namespace kelmar {

// The running program's own full path (/proc/self/exe); empty when unknown.
std::string ExecutablePath();

// The file a path finally names: symbolic links followed, also when the last one dangles. The
// save replaces this file, and the lock beside it is one for every path that leads to it.
std::string FinalTarget(const std::string& path);

// Reads the file; a missing file gives no places and "0" everywhere. Throws
// SettingsError("Cannot open file %s") when the file exists but cannot be read: the caller must
// then not save over it at close.
LoadedSettings LoadSettings(const std::string& SettingsPath);

// Rewrites "Points" and the seven "Form" keys (and the outage tab's keys where they differ from
// their defaults or the file holds them already), keeping every other section and key of the
// file. The new file is written beside the old one (beside a symbolic link's target) and
// renamed over it only once complete. Throws SettingsError("Cannot create file %s").
void SaveSettings(const std::string& SettingsPath, const PlaceList& places, int PlaceIndex,
                  const InputFields& in, const HorizonTexts* horizons = nullptr);

}  // namespace kelmar
