#include "export/file_backup.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kelmar {

namespace fs = std::filesystem;

std::string BackupPathFor(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const auto cut = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, cut) + ".~" + path.substr(cut) + ".kelmar-backup";
}

FileBackup::FileBackup(std::string path) : path_(std::move(path)), backup_(BackupPathFor(path_)) {
  std::error_code ec;
  // A backup without its workbook is what an export killed before its save left behind: it is
  // the last good workbook, so it goes back to its name before anything else happens.
  if (!fs::exists(fs::symlink_status(path_, ec)) && fs::is_regular_file(fs::symlink_status(backup_, ec)))
    std::rename(backup_.c_str(), path_.c_str());
  if (!fs::is_regular_file(fs::symlink_status(path_, ec))) return;
  // rename() replaces a stale backup left by an earlier crash in one step.
  active_ = std::rename(path_.c_str(), backup_.c_str()) == 0;
}

FileBackup::~FileBackup() { Restore(); }

void FileBackup::Restore() {
  if (!active_) return;
  active_ = false;
  std::rename(backup_.c_str(), path_.c_str());
}

void FileBackup::Discard() {
  if (!active_) return;
  active_ = false;
  std::remove(backup_.c_str());
}

}  // namespace kelmar
