#pragma once
// Where the program's own files are. A folder that holds the executables beside their settings
// file is portable and keeps everything beside itself; an executable installed under a prefix
// (bin/ beside share/kelmar/) keeps each user's settings and workbooks in that user's home and
// never writes under the prefix, whoever runs it.
#include <string>

namespace kelmar {

// The user's folders, as the environment names them; empty when unknown.
struct UserDirs {
  std::string config_home;  // $XDG_CONFIG_HOME
  std::string home;         // $HOME
  std::string documents;    // the desktop's documents folder
};

struct FileLayout {
  bool installed = false;
  std::string settings;    // the settings file the window reads and saves
  std::string starter;     // installed: the shipped settings that seed `settings`; else empty
  std::string data_dir;    // templates and model data, with a trailing '/'
  std::string plugin_dir;  // the office plugin, with a trailing '/'
  std::string export_dir;  // where workbooks are saved, with a trailing '/'
};

// exe_dir is the executable's folder, portable_settings the settings file a portable folder
// would use. Installed when the shared data folder exists relative to exe_dir and no
// portable_settings file (or link) is there.
FileLayout ChooseLayout(const std::string& exe_dir, const std::string& portable_settings,
                        const UserDirs& user);

// $XDG_CONFIG_HOME and $HOME of this process; documents is left to the caller.
UserDirs EnvironmentUserDirs();

// The file a reader should read: the user's settings, or the starter file while the user has
// none yet.
std::string SettingsToRead(const FileLayout& layout);

// Installed, with no user settings yet: copies the starter file into place (folders created).
// Returns false when that could not be done; the caller then reads the starter file instead.
bool SeedSettings(const FileLayout& layout);

}  // namespace kelmar
