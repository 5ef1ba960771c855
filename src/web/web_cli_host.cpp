// kelmar-cli's commands in the browser, which has no files: the settings file and the
// pictures' files are refused with a message, and the magnetic model is the one embedded
// in the module.
#include <stdexcept>

#include "cli/cli_host.h"

namespace kelmar {

std::string DefaultSettingsPath() { return "kelmar.INI"; }

std::string DefaultMagneticModelDir() { return "/magnetic"; }

LoadedSettings ReadSettingsFile(const std::string&) {
  throw std::runtime_error("no settings file here: --place and places need the desktop kelmar-cli");
}

void SaveSkyPicture(const PictureFile&, const SkyScene&) {
  throw std::runtime_error("no picture files here: sky and year need the desktop kelmar-cli");
}

void SaveYearPicture(const PictureFile& file, const YearScene&) { SaveSkyPicture(file, SkyScene()); }

}  // namespace kelmar
