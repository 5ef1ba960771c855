#include "ui/settings_lock.h"

#include <QFileInfo>

#include "settings/settings_io.h"

namespace kelmar::ui {
namespace {

// The save's own target, its folder canonical so that every spelling of it meets one lock.
QString LockedFile(const std::string& settings_path) {
  const QFileInfo info(QString::fromStdString(FinalTarget(settings_path)));
  const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
  return (dir.isEmpty() ? info.absolutePath() : dir) + QLatin1Char('/') + info.fileName();
}

}  // namespace

SettingsLock::SettingsLock(const std::string& settings_path)
    : path_(LockedFile(settings_path) + QStringLiteral(".lock")),
      lock_(std::make_unique<QLockFile>(path_)) {
  // Only a dead owner makes a lock stale: a window may stay open for weeks.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) {
    state_ = State::Held;
  } else {
    state_ = lock_->error() == QLockFile::LockFailedError ? State::Busy : State::NoLock;
  }
}

QString AlreadyRunningMessage(const std::string& settings_path) {
  return QStringLiteral("Программа уже запущена с файлом настроек %1.").arg(QString::fromStdString(settings_path));
}

}  // namespace kelmar::ui
