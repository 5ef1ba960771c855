// kelmar-cli sky and year as separate processes: the file's exact size, exactly one output,
// and failures that write nothing.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using kelmar::testing::TempDir;

int RunCli(const std::string& args, std::string* err = nullptr) {
  const TempDir tmp("kelmar-cli-pictures-err");
  const std::string err_path = tmp.File("stderr");
  const int st = std::system((std::string(KELMAR_CLI_PATH) + " " + args + " 2>" + err_path).c_str());
  if (err != nullptr) {
    std::ifstream in(err_path);
    std::stringstream ss;
    ss << in.rdbuf();
    *err = ss.str();
  }
  return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const std::string& png) {
  auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
           (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
  };
  return png.size() < 24 ? std::pair{0, 0} : std::pair{be32(16), be32(20)};
}

TEST(CliPictures, FilesHaveTheAskedSize) {
  const TempDir dir("kelmar-cli-pictures");
  const std::string png = dir.File("a.png"), svg = dir.File("a.svg");
  // Qt's warnings about the environment stay out of the tool's stderr.
  unsetenv("XDG_RUNTIME_DIR");
  std::string err;
  ASSERT_EQ(RunCli("sky --lat 55.75 --lon 37.62 --date 2026-06-21 --png " + png, &err), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(PngSize(Slurp(png)), std::pair(1200, 600));  // the default size
  ASSERT_EQ(RunCli("year --lat -34.6 --lon -58.38 --year 2026 --gmt -3 --size 200x4000 --png " + png), 0);
  EXPECT_EQ(PngSize(Slurp(png)), std::pair(200, 4000));
  ASSERT_EQ(RunCli("sky --lat -34.6 --lon -58.38 --horizon '330:20 30:20' --size 640x480 --svg " + svg), 0);
  const std::string text = Slurp(svg);
  EXPECT_NE(text.find("width=\"640\" height=\"480\""), std::string::npos);
  EXPECT_NE(text.find("viewBox=\"0 0 640 480\""), std::string::npos);
  // The same arguments draw the same file: nothing depends on the clock or the desktop.
  ASSERT_EQ(RunCli("sky --lat -34.6 --lon -58.38 --date 2026-01-01 --png " + png), 0);
  const std::string first = Slurp(png);
  ASSERT_EQ(RunCli("sky --lat -34.6 --lon -58.38 --date 2026-01-01 --png " + png), 0);
  EXPECT_EQ(Slurp(png), first);
}

TEST(CliPictures, NameWithoutExtensionGetsTheType) {
  const TempDir dir("kelmar-cli-pictures-ext");
  struct Case {
    const char* type;
    const char* name;
    const char* written;
  } cases[] = {
      {"--png", "a", "a.png"},           // the type's extension added
      {"--svg", "b", "b.svg"},
      {"--png", "c.PNG", "c.PNG"},       // an extension of any kind is left alone
      {"--svg", "d.picture", "d.picture"},
      {"--png", "e.d/f", "e.d/f.png"},   // a dot in a folder name is no extension
  };
  fs::create_directory(dir.File("e.d"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(RunCli(std::string("sky --lat 55.75 --lon 37.62 ") + c.type + " " + dir.File(c.name)), 0);
    EXPECT_TRUE(fs::exists(dir.File(c.written)));
  }
}

TEST(CliPictures, HorizonFileDrawsItsThinnedProfile) {
  const TempDir dir("kelmar-cli-pictures-profile");
  const std::string a = dir.File("a.png"), b = dir.File("b.png");
  const std::string sky = "sky --lat 45.8 --lon 8.63 --date 2026-06-21 --gmt 2 ";
  ASSERT_EQ(RunCli(sky + "--horizon-file " KELMAR_TEST_DATA_DIR "/horizon/pvgis_horizon.json --png " + a), 0);
  ASSERT_EQ(RunCli(sky + "--horizon '0:2.3 15:2.4 22.5:2.3 97.5:7.6 180:11.5 187.5:11.1 270:0 352.5:2.3 360:2.3' --png " + b), 0);
  EXPECT_EQ(Slurp(a), Slurp(b));
}

TEST(CliPictures, FailuresWriteNothing) {
  const TempDir dir("kelmar-cli-pictures-none");
  const fs::path out = dir.File("a.png");
  const std::string o = " --png " + out.string();
  struct Case {
    std::string args;
    int status;
    const char* message;
  } cases[] = {
      {"sky --lat 1 --lon 2" + o + " --svg x.svg", 2, "exactly one of --svg and --png"},
      {"year --lat 1 --lon 2", 2, "exactly one of --svg and --png"},
      {"sky --lat 1 --lon 2 --size 199x600" + o, 2, "--size"},     // each side 200–4000
      {"sky --lat 1 --lon 2 --size 1200x4001" + o, 2, "--size"},
      {"sky --lat 1 --lon 2 --date 2026-02-30" + o, 2, "--date"},  // no such day
      {"sky --lat 1 --lon 2 --horizon '90:5 150'" + o, 1, "'150'"}, // the window's message
      {"year --lat x --lon 2" + o, 1, "'x' is not a valid floating point value"},
      {"year --lat 91 --lon 2" + o, 1, "Широта должна быть от -90 до 90"},
      {"sky --lat -1e308 --lon 2" + o, 1, "Широта должна быть от -90 до 90"},
      {"sky --lat 1 --lon 2 --horizon-file /nonexistent.csv" + o, 1, "Cannot open file /nonexistent.csv"},
      {"sky --lat 1 --lon 2 --horizon-file " KELMAR_TEST_DATA_DIR "/sun_moscow.csv" + o, 1, "Профиль горизонта, строка 1"},
      {"sky --lat 1 --lon 2 --horizon 90:5 --horizon-file x" + o, 2, "exclude each other"},
      {"sky --lat 1 --lon 2 --png /nonexistent/dir/a.png", 1, "Cannot create file /nonexistent/dir/a.png"},
  };
  for (const Case& c : cases) {
    std::string err;
    EXPECT_EQ(RunCli(c.args, &err), c.status) << c.args;
    EXPECT_NE(err.find(c.message), std::string::npos) << c.args << "\n" << err;
    EXPECT_FALSE(fs::exists(out)) << c.args;
  }
}

}  // namespace
