#pragma once
// At most one running window per settings file: two windows on one file would each save their
// own list at close, and the later save would drop the places added in the other.
#include <QLockFile>
#include <QString>
#include <memory>
#include <string>

namespace kelmar::ui {

class SettingsLock {
 public:
  enum class State {
    Held,    // this process owns the file
    Busy,    // a running process owns it
    NoLock,  // no lock can be made there (a read-only folder): the window starts all the same
  };

  // Locks "<final target of settings_path>.lock", symbolic links resolved, so every path to one
  // file meets the same lock. A lock left by a process that no longer runs is taken over.
  explicit SettingsLock(const std::string& settings_path);

  State state() const { return state_; }
  const QString& LockPath() const { return path_; }

 private:
  QString path_;
  std::unique_ptr<QLockFile> lock_;
  State state_ = State::NoLock;
};

// "Программа уже запущена с файлом настроек <path>."
QString AlreadyRunningMessage(const std::string& settings_path);

}  // namespace kelmar::ui
