#include "ui/settings_lock.h"

#include <QDir>
#include <QFileInfo>

namespace kelmar::ui {
namespace {

QString FinalTarget(QString path) {
  for (int depth = 0; depth < 40 && QFileInfo(path).isSymLink(); ++depth) path = QFileInfo(path).symLinkTarget();
  const QFileInfo info(path);
  const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
  return (dir.isEmpty() ? info.absolutePath() : dir) + QLatin1Char('/') + info.fileName();
}

}  // namespace

SettingsLock::SettingsLock(const std::string& settings_path)
    : path_(FinalTarget(QString::fromStdString(settings_path)) + QStringLiteral(".lock")),
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
