// Portable folder or installed program, decided from real folders around a made-up executable.
#include "settings/file_layout.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace kelmar {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(FileLayout, TheFoldersAroundTheExecutableChooseTheMode) {
  struct Case {
    const char* what;
    bool share;             // <root>/share/kelmar/ is a folder
    const char* beside;     // what lies at bin/kelmar.INI: "", "file", "link" (dangling)
    const char* config;     // $XDG_CONFIG_HOME relative to root ("" unset, "rel" relative)
    const char* documents;  // the documents folder relative to root ("" unknown)
    bool installed;
    const char* settings;   // relative to root
    const char* exports;
  } cases[] = {
      // A build folder or an unpacked copy: everything beside the executable.
      {"no shared data", false, "", "", "docs", false, "bin/kelmar.INI", "bin/"},
      // A portable folder copied next to an installed tree keeps its own file...
      {"settings beside", true, "file", "cfg", "docs", false, "bin/kelmar.INI", "bin/"},
      // ...even when it is a link whose target is gone (the save recreates the target).
      {"dangling link beside", true, "link", "cfg", "docs", false, "bin/kelmar.INI", "bin/"},
      {"installed", true, "", "cfg", "docs", true, "cfg/kelmar/kelmar.INI", "docs/Kelmar/"},
      // An unset or relative $XDG_CONFIG_HOME means ~/.config; no documents folder ~/Documents.
      {"installed, defaults", true, "", "", "", true, "home/.config/kelmar/kelmar.INI", "home/Documents/Kelmar/"},
      {"installed, relative config", true, "", "rel", "docs", true, "home/.config/kelmar/kelmar.INI", "docs/Kelmar/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir t;
    const std::string root = t.Path().string() + "/";
    fs::create_directories(root + "bin");
    if (c.share) fs::create_directories(root + "share/kelmar");
    if (std::string(c.beside) == "file") WriteBytes(root + "bin/kelmar.INI", "");
    if (std::string(c.beside) == "link") fs::create_symlink(root + "gone.INI", root + "bin/kelmar.INI");
    const std::string config = c.config == std::string("rel") ? "cfg" : *c.config ? root + c.config : "";
    const UserDirs user{config, root + "home", *c.documents ? root + c.documents : ""};
    const FileLayout l = ChooseLayout(root + "bin", root + "bin/kelmar.INI", user);
    EXPECT_EQ(l.installed, c.installed);
    EXPECT_EQ(l.settings, root + c.settings);
    EXPECT_EQ(l.export_dir, root + c.exports);
    EXPECT_EQ(l.data_dir, root + (c.installed ? "share/kelmar/" : "bin/"));
    // The plugin: beside the executable, or in a private folder under the library folder.
    EXPECT_TRUE(c.installed ? l.plugin_dir.starts_with(root + "lib") && l.plugin_dir.ends_with("/kelmar/")
                            : l.plugin_dir == root + "bin/");
    EXPECT_EQ(l.starter, c.installed ? root + "share/kelmar/kelmar.INI" : "");
  }
}

TEST(FileLayout, TheStarterFileSeedsTheUsersFileOnceAndIsReadUntilThen) {
  TempDir t;
  const std::string root = t.Path().string() + "/";
  fs::create_directories(root + "bin");
  fs::create_directories(root + "share/kelmar");
  WriteBytes(root + "share/kelmar/kelmar.INI", "starter");
  const FileLayout l = ChooseLayout(root + "bin", root + "bin/kelmar.INI", {root + "cfg", root, ""});
  EXPECT_EQ(SettingsToRead(l), l.starter);  // a reader never makes the user's file

  WriteBytes(root + "cfg", "a file where the folder should be");
  EXPECT_FALSE(SeedSettings(l));
  EXPECT_EQ(SettingsToRead(l), l.starter);
  fs::remove(root + "cfg");

  EXPECT_TRUE(SeedSettings(l));
  EXPECT_EQ(ReadBytes(l.settings), "starter");
  EXPECT_EQ(SettingsToRead(l), l.settings);
  WriteBytes(l.settings, "the user's places");
  EXPECT_TRUE(SeedSettings(l));  // never over the user's own file
  EXPECT_EQ(ReadBytes(l.settings), "the user's places");
  EXPECT_FALSE(fs::exists(root + "bin/kelmar.INI"));
}

}  // namespace
}  // namespace kelmar
