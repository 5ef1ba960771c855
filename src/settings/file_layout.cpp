#include "settings/file_layout.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kelmar {
namespace {

namespace fs = std::filesystem;

std::string Dir(const fs::path& p) {
  std::string s = p.lexically_normal().string();
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

bool Present(const std::string& path) {
  std::error_code ec;
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

}  // namespace

FileLayout ChooseLayout(const std::string& exe_dir, const std::string& portable_settings,
                        const UserDirs& user) {
  const fs::path exe(exe_dir);
  const fs::path data = exe / KELMAR_DATA_FROM_BIN;
  std::error_code ec;
  FileLayout out;
  out.installed = fs::is_directory(data, ec) && !Present(portable_settings);
  if (!out.installed) {
    out.settings = portable_settings;
    out.data_dir = out.plugin_dir = out.export_dir = Dir(exe);
    return out;
  }
  // The XDG rule: a relative $XDG_CONFIG_HOME is ignored.
  const fs::path config = fs::path(user.config_home).is_absolute() ? fs::path(user.config_home)
                                                                    : fs::path(user.home) / ".config";
  const fs::path documents = user.documents.empty() ? fs::path(user.home) / "Documents" : fs::path(user.documents);
  out.settings = (config / "kelmar" / "kelmar.INI").string();
  out.data_dir = Dir(data);
  out.starter = out.data_dir + "kelmar.INI";
  out.plugin_dir = Dir(exe / KELMAR_PLUGIN_FROM_BIN);
  out.export_dir = Dir(documents / "Kelmar");
  return out;
}

UserDirs EnvironmentUserDirs() { return {Env("XDG_CONFIG_HOME"), Env("HOME"), ""}; }

std::string SettingsToRead(const FileLayout& layout) {
  if (layout.installed && !Present(layout.settings)) return layout.starter;
  return layout.settings;
}

bool SeedSettings(const FileLayout& layout) {
  if (!layout.installed || Present(layout.settings)) return true;
  std::error_code ec;
  fs::create_directories(fs::path(layout.settings).parent_path(), ec);
  if (ec) return false;
  return fs::copy_file(layout.starter, layout.settings, ec) && !ec;
}

}  // namespace kelmar
