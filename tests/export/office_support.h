#pragma once
// A private LibreOffice for the tests: its own pre-seeded profile in a temporary folder and its
// own pipe, started by the plugin on the first export; every process that runs on that profile
// is killed at the end, whatever happened.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "export/automation.h"
#include "export_support.h"

namespace kelmar::testing {

// The version the office writes into a profile that it has set up; with it seeded, a cold start
// skips the first-start work (seconds instead of half a second).
inline std::string OfficeVersion() {
  std::string v = "7.4";
  if (FILE* p = popen("dpkg-query -W -f='${Version}' libreoffice-core 2>/dev/null", "r")) {
    char buf[128] = {};
    const std::size_t n = fread(buf, 1, sizeof buf - 1, p);
    pclose(p);
    std::string s(buf, n);
    if (auto colon = s.find(':'); colon != std::string::npos) s.erase(0, colon + 1);
    if (auto dot = s.find('.'); dot != std::string::npos) {
      auto end = s.find_first_not_of("0123456789", dot + 1);
      if (end != dot + 1) v = s.substr(0, end);
    }
  }
  return v;
}

inline void SeedProfile(const fs::path& profile) {
  fs::create_directories(profile / "user");
  std::ofstream(profile / "user" / "registrymodifications.xcu")
      << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
         "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
         "<item oor:path=\"/org.openoffice.Setup/Product\"><prop oor:name=\"ooSetupLastVersion\" oor:op=\"fuse\">"
         "<value>" << OfficeVersion() << "</value></prop></item>\n"
         "<item oor:path=\"/org.openoffice.Office.Common/Misc\"><prop oor:name=\"FirstRun\" oor:op=\"fuse\">"
         "<value>false</value></prop></item>\n"
         "</oor:items>\n";
}

// The private office's cleanup (office_cleanup.sh), given its details in the environment.
inline pid_t SpawnCleanup(const std::vector<std::string>& args, const std::vector<std::string>& env_extra) {
  std::vector<std::string> env_strings = env_extra;
  for (char** e = environ; *e; ++e) env_strings.emplace_back(*e);
  std::vector<char*> argv{const_cast<char*>("/bin/bash"), const_cast<char*>(KELMAR_TEST_OFFICE_CLEANUP)};
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, "/bin/bash", nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

class PrivateOffice {
 public:
  PrivateOffice() : root_("kelmar-office") {
    SeedProfile(Profile());
    pipe_ = "kelmar_test_" + std::to_string(getpid()) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    // Cleans up after us even when this process crashes or is killed.
    watchdog_ = SpawnCleanup({"--after", std::to_string(getpid())}, Env());
  }
  ~PrivateOffice() {
    Kill();
    if (watchdog_ > 0) {
      kill(watchdog_, SIGKILL);
      waitpid(watchdog_, nullptr, 0);
    }
  }
  PrivateOffice(const PrivateOffice&) = delete;
  PrivateOffice& operator=(const PrivateOffice&) = delete;

  OfficeOptions Options(const std::string& plugin) const {
    OfficeOptions o;
    o.PluginPath = plugin;
    o.PipeName = pipe_;
    o.UserInstallation = "file://" + Profile();
    // KELMAR_TEST_VISIBLE_OFFICE: windows on the display, where the office shows its own dialogs.
    o.Headless = o.HiddenDocuments = std::getenv("KELMAR_TEST_VISIBLE_OFFICE") == nullptr;
    o.StartTimeoutMs = 30000;
    return o;
  }
  bool Running() const {
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const std::string name = entry.path().filename().string();
      if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == getpid()) continue;
      if (ReadFile(entry.path() / "cmdline").find(Profile()) != std::string::npos) return true;
    }
    return false;
  }

  // Every process on our profile, launcher and office alike, and its pipe files; nothing else.
  void Kill() {
    const pid_t pid = SpawnCleanup({"--now"}, Env());
    if (pid > 0) waitpid(pid, nullptr, 0);
  }

 private:
  std::string Profile() const { return (root_.Path() / "profile").string(); }
  std::vector<std::string> Env() const {
    return {"KELMAR_OFFICE_PROFILE=" + Profile(), "KELMAR_OFFICE_PIPE=" + pipe_,
            "KELMAR_OFFICE_ROOT=" + root_.Path().string()};
  }
  TempDir root_;
  std::string pipe_;
  pid_t watchdog_ = -1;
};

}  // namespace kelmar::testing
