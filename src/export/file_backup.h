#pragma once
// Keeps the previous export until the new one is saved: the old file is moved aside to a backup
// name in the same folder, and put back when the save fails.
#include <string>

namespace kelmar {

// ".~Сама_3с.xls.kelmar-backup" beside "Сама_3с.xls".
std::string BackupPathFor(const std::string& path);

class FileBackup {
 public:
  // Puts back a backup left without its file by an interrupted export, then moves a regular
  // file at path aside (replacing any older backup). Anything else (nothing there, a folder) stays where it is,
  // and so does a file that cannot be moved: the save then meets it, as a plain delete would.
  explicit FileBackup(std::string path);
  ~FileBackup();  // same as Restore(): a backup nobody settled is put back
  FileBackup(const FileBackup&) = delete;
  FileBackup& operator=(const FileBackup&) = delete;

  bool Active() const { return active_; }
  // The save failed: the old file returns to its name, replacing whatever the save left there.
  void Restore();
  // The save succeeded: the backup is deleted; a failed delete is ignored.
  void Discard();

 private:
  std::string path_;
  std::string backup_;
  bool active_ = false;
};

}  // namespace kelmar
