#pragma once
// What kelmar-cli's commands need from the machine they run on: the settings file, the magnetic
// model's folder and the picture files. The desktop tool reads and writes files (cli_host.cpp);
// a build without files links its own answers, which throw.
#include <string>

#include "core/scenes.h"
#include "settings/settings_file.h"

namespace kelmar {

// The settings file the "kelmar" beside this executable reads: its kelmar.INI when portable,
// the user's file (or the starter file while there is none) when installed.
std::string DefaultSettingsPath();
// The magnetic model's folder the window would use.
std::string DefaultMagneticModelDir();

// The settings in the file at path, as the window would load them. Throws SettingsError.
LoadedSettings ReadSettingsFile(const std::string& path);

struct PictureFile {
  std::string path;
  int width = 1200, height = 600;
  bool svg = false;  // else PNG
};
// Draws the scene into the file, whole or not at all. Throws CalcError("Cannot create file %s").
void SaveSkyPicture(const PictureFile& file, const SkyScene& scene);
void SaveYearPicture(const PictureFile& file, const YearScene& scene);

}  // namespace kelmar
