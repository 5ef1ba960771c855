#pragma once
// A private LibreOffice for the tests: its own pre-seeded profile in a temporary folder and its
// own pipe, started by the plugin on the first export; every process that runs on that profile
// is killed at the end, whatever happened.
#include <signal.h>
#include <unistd.h>

#include <chrono>
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

// Pids of the processes whose command line mentions `marker` (our unique profile path).
inline std::vector<pid_t> ProcessesWith(const std::string& marker) {
  std::vector<pid_t> pids;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const pid_t pid = std::stoi(name);
    if (pid == getpid()) continue;
    std::string cmd = ReadFile(entry.path() / "cmdline");
    if (cmd.find(marker) != std::string::npos) pids.push_back(pid);
  }
  return pids;
}

class PrivateOffice {
 public:
  PrivateOffice() : root_("kelmar-office") {
    SeedProfile(root_.path() / "profile");
    pipe_ = "kelmar_test_" + std::to_string(getpid()) + "_" +
            std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  }
  ~PrivateOffice() { Kill(); }
  PrivateOffice(const PrivateOffice&) = delete;
  PrivateOffice& operator=(const PrivateOffice&) = delete;

  OfficeOptions Options(const std::string& plugin) const {
    OfficeOptions o;
    o.PluginPath = plugin;
    o.PipeName = pipe_;
    o.UserInstallation = "file://" + (root_.path() / "profile").string();
    o.Headless = true;
    o.HiddenDocuments = true;
    o.StartTimeoutMs = 30000;
    return o;
  }
  bool Running() const { return !ProcessesWith(Marker()).empty(); }

  // Every process on our profile, launcher and office alike; never anything else.
  void Kill() {
    for (int round = 0; round < 50; ++round) {
      const auto pids = ProcessesWith(Marker());
      if (pids.empty()) return;
      for (pid_t pid : pids) kill(pid, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

 private:
  std::string Marker() const { return (root_.path() / "profile").string(); }
  TempDir root_;
  std::string pipe_;
};

}  // namespace kelmar::testing
