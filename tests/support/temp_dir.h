#pragma once
// A fresh private folder for one test, removed with everything in it at the end.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kelmar::testing {

class TempDir {
 public:
  explicit TempDir(const std::string& tag = "kelmar") {
    std::string tmpl = (std::filesystem::temp_directory_path() / (tag + "-XXXXXX")).string();
    if (mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Dir() const { return path_.string() + "/"; }  // for joining names as strings

 private:
  std::filesystem::path path_;
};

}  // namespace kelmar::testing
