// One window per settings file, between real processes: a live owner is never displaced, however
// old its lock; a killed one is; every path to the file meets the same lock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>

#include "ui/settings_lock.h"

namespace kelmar::ui {
namespace {

// A second process that holds the lock of `path` until it is killed.
pid_t HoldInAnotherProcess(const std::string& path) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    const SettingsLock lock(path);
    const char held = lock.state() == SettingsLock::State::Held ? 'y' : 'n';
    (void)!write(ready[1], &held, 1);
    for (;;) pause();
  }
  char held = 0;
  (void)!read(ready[0], &held, 1);
  close(ready[0]);
  close(ready[1]);
  return held == 'y' ? pid : -1;
}

TEST(SettingsLock, OneWindowPerFileAndAKilledOwnerIsTakenOver) {
  QTemporaryDir dir;
  const std::string ini = dir.filePath(QStringLiteral("kelmar.INI")).toStdString();
  const std::string link = dir.filePath(QStringLiteral("link.INI")).toStdString();
  std::filesystem::create_symlink(ini, link);  // the lock follows the link to its target

  const pid_t owner = HoldInAnotherProcess(ini);
  ASSERT_GT(owner, 0);
  const SettingsLock probe(link);
  EXPECT_EQ(probe.LockPath(), QFileInfo(dir.path()).canonicalFilePath() + QStringLiteral("/kelmar.INI.lock"));
  // A window open for a day keeps its file.
  const auto day_ago = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
  std::filesystem::last_write_time(probe.LockPath().toStdString(), day_ago);
  struct Case {
    std::string path;
    SettingsLock::State state;
    const char* pins;
  } busy[] = {
      {ini, SettingsLock::State::Busy, "the same file"},
      {link, SettingsLock::State::Busy, "through a link, after a day"},
      {dir.filePath(QStringLiteral("other.INI")).toStdString(), SettingsLock::State::Held, "another file is free"},
      {dir.filePath(QStringLiteral("no/such/kelmar.INI")).toStdString(), SettingsLock::State::NoLock,
       "no lock can be made: the start goes on"},
  };
  for (const Case& c : busy) EXPECT_EQ(SettingsLock(c.path).state(), c.state) << c.pins;

  // The owner is killed as by a crash: its lock stays behind and is taken over.
  kill(owner, SIGKILL);
  waitpid(owner, nullptr, 0);
  ASSERT_TRUE(QFile::exists(probe.LockPath()));
  EXPECT_EQ(SettingsLock(ini).state(), SettingsLock::State::Held);
}

}  // namespace
}  // namespace kelmar::ui
