// One window per settings file, between real processes: a live owner is never displaced, however
// old its lock; a killed one is; every path to the file meets the same lock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
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

#ifdef KELMAR_TEST_PROGRAM
// The real program twice in one portable folder: the second start brings the first to the front,
// ends at once and leaves the file alone; after the first is killed, a new start gets the file and
// is brought to the front in turn.
TEST(SettingsLock, SecondRealStartEndsAndAKilledWindowFreesTheFile) {
  namespace fs = std::filesystem;
  QTemporaryDir dir;
  const fs::path folder = dir.path().toStdString();
  fs::copy_file(KELMAR_TEST_PROGRAM, folder / "kelmar");
  const fs::path ini = folder / "kelmar.INI", lock = folder / "kelmar.INI.lock";
  fs::copy_file(KELMAR_TEST_STARTER_SETTINGS, ini);
  fs::last_write_time(ini, fs::file_time_type::clock::now() - std::chrono::hours(1));
  const auto read_ini = [&] {
    QFile f(QString::fromStdString(ini.string()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  const QByteArray bytes = read_ini();
  const auto mtime = fs::last_write_time(ini);

  const auto start = [&](QProcess& p) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("kelmar.front.debug=true"));
    p.setProcessEnvironment(env);
    p.start(QString::fromStdString((folder / "kelmar").string()), {});
    return p.waitForStarted(10000);
  };
  // The window is up once its pid is in the lock.
  const auto owns_lock = [&](const QProcess& p) {
    QElapsedTimer waited;
    waited.start();
    do {
      QFile f(QString::fromStdString(lock.string()));
      if (f.open(QIODevice::ReadOnly) && f.readLine().trimmed().toLongLong() == p.processId()) return true;
      QThread::msleep(20);
    } while (waited.elapsed() < 10000);
    return false;
  };
  // The window reports when it listens for later starts and when one brings it to the front.
  const auto says = [](QProcess& owner, const char* what) {
    owner.setReadChannel(QProcess::StandardError);
    QByteArray said;
    while (!said.contains(what) && owner.waitForReadyRead(10000)) said += owner.readAll();
    return said.contains(what);
  };

  QProcess first, second, third, fourth;
  ASSERT_TRUE(start(first));
  ASSERT_TRUE(owns_lock(first));
  ASSERT_TRUE(says(first, "listening"));
  ASSERT_TRUE(start(second));
  ASSERT_TRUE(second.waitForFinished(10000)) << "the second start did not end";
  EXPECT_NE(second.exitCode(), 0);
  EXPECT_TRUE(QString::fromUtf8(second.readAllStandardError()).contains(QStringLiteral("уже запущена")));
  EXPECT_TRUE(says(first, "brought to the front"));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(read_ini(), bytes);
  EXPECT_EQ(fs::last_write_time(ini), mtime);

  first.kill();  // SIGKILL: the lock stays behind
  first.waitForFinished(10000);
  ASSERT_TRUE(fs::exists(lock));
  ASSERT_TRUE(start(third));
  EXPECT_TRUE(owns_lock(third));
  // The killed window's channel is not in the new owner's way.
  ASSERT_TRUE(says(third, "listening"));
  ASSERT_TRUE(start(fourth));
  EXPECT_TRUE(fourth.waitForFinished(10000));
  EXPECT_TRUE(says(third, "brought to the front"));
  third.kill();
  third.waitForFinished(10000);
}
#endif

}  // namespace
}  // namespace kelmar::ui
