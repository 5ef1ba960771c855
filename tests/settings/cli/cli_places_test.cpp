// kelmar-cli on settings files written by hand: "places", and "sun"/"sat" with --place.
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>

#include "test_files.h"

namespace {

using kelmar::testing::Cp1251;
using kelmar::testing::TempDir;
using kelmar::testing::WriteBytes;

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// Runs a shell command line; arguments are the caller's to quote.
CliRun Shell(const std::string& command, const TempDir& dir) {
  const std::string err_file = dir.File("stderr.txt");
  FILE* p = popen((command + " 2>" + err_file).c_str(), "r");
  std::string out;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, kelmar::testing::ReadBytes(err_file)};
}

CliRun Cli(const std::string& args, const TempDir& dir) {
  return Shell(std::string(KELMAR_CLI) + " " + args, dir);
}

TEST(CliPlaces, JsonOfHandWrittenFiles) {
  struct Case {
    std::string file;  // UTF-8, written in Windows-1251
    std::string json;
  };
  const Case cases[] = {
      // Two places, only Ind in "Form": B, zeros, Moscow time, height mode.
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=1\r\n",
       R"({"places":[{"name":"A","lat":"1","lon":"2"},{"name":"B","lat":"3","lon":"4"}],)"
       R"("index":1,"EK":"0","EU":"0","EM":"0","EG":"0","gmt":false,"angle":false})"},
      // Blanks around ";" kept, only the first ";" splits, keys in any case, "true" is not "1".
      {"[Points]\r\na = 1 ; 2 \r\nb=1;2;3\r\n[form]\r\nind=1\r\nRBG=true\r\nrb3=1\r\nEG=3\r\n",
       R"({"places":[{"name":"a","lat":"1 ","lon":" 2"},{"name":"b","lat":"1","lon":"2;3"}],)"
       R"("index":1,"EK":"0","EU":"0","EM":"0","EG":"3","gmt":false,"angle":true})"},
      // Cyrillic names, a quote and a backslash escaped; Ind out of range selects place 0.
      {"[Points]\r\nДом \"у реки\"=56;38\r\nC:\\x=1;2\r\n[Form]\r\nInd=7\r\nRBG=1\r\n",
       R"({"places":[{"name":"Дом \"у реки\"","lat":"56","lon":"38"},)"
       R"({"name":"C:\\x","lat":"1","lon":"2"}],"index":0,"EK":"0","EU":"0","EM":"0","EG":"0",)"
       R"("gmt":true,"angle":false})"},
      // No places at all.
      {"[Form]\r\nEK=12.345\r\n",
       R"({"places":[],"index":0,"EK":"12.345","EU":"0","EM":"0","EG":"0","gmt":false,"angle":false})"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    WriteBytes(dir.File("k.INI"), Cp1251(c.file));
    const CliRun r = Cli("places --format json --settings " + dir.File("k.INI"), dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.json + "\n") << c.file;
  }
}

TEST(CliPlaces, TextListMarksTheSelectedPlace) {
  TempDir dir;
  WriteBytes(dir.File("k.INI"), Cp1251("[Points]\r\nМосква=55.75;37.62\r\nX=1;2\r\n[Form]\r\nInd=1\r\n"
                                      "RB3=1\r\nEK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\n"));
  const CliRun r = Cli("places --settings " + dir.File("k.INI"), dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "   # name    lat    lon\n"
            "   0 Москва  55.75  37.62\n"
            "*  1 X       1      2\n"
            "index: 1\nEK: 12.345\nEU: 6\nEM: 0\nEG: 3\nzone: MSK\ntwilight: angle\n");
}

TEST(CliPlaces, FailuresAndTheDefaultFile) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("dir.INI"));
  struct Case {
    std::string args;
    int status;
    std::string err_part;
  };
  const Case cases[] = {
      {"places --settings " + dir.File("dir.INI"), 1, "Cannot open file " + dir.File("dir.INI")},
      {"places --format csv", 2, "--format takes text or json"},
      {"places extra", 2, "unexpected extra"},
      {"sun --lat 1 --lon 2 --settings x.INI", 2, "--settings goes with --place"},
  };
  for (const auto& c : cases) {
    const CliRun r = Cli(c.args, dir);
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_NE(r.err.find(c.err_part), std::string::npos) << c.args << ": " << r.err;
  }
  // Without --settings: kelmar.INI beside the executable.
  const std::string exe = dir.File("kelmar-cli");
  std::filesystem::copy_file(KELMAR_CLI, exe);
  WriteBytes(dir.File("kelmar.INI"), Cp1251("[Points]\r\nРядом=1;2\r\n"));
  const CliRun r = Shell(exe + " places --format json", dir);
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\"name\":\"Рядом\""), std::string::npos) << r.out;
}

TEST(CliPlaces, TablesOfAStoredPlaceUseTheFileSettings) {
  TempDir dir;
  const std::string f = " --settings " + dir.File("k.INI");
  WriteBytes(dir.File("k.INI"),
             Cp1251("[Points]\r\nСамара=53.2;50.15\r\nМурманск=68.97;33.08\r\n[Form]\r\nRBG=1\r\n"
                    "RB3=1\r\nEK=12.345\r\nEU=6\r\nEM=1\r\nEG=4\r\n"));
  WriteBytes(dir.File("msk.INI"),
             Cp1251("[Points]\r\nСамара=53.2;50.15\r\n[Form]\r\nRBG=0\r\nRB3=0\r\nEK=2\r\nEU=6\r\n"
                    "EM=1\r\nEG=4\r\n"));
  WriteBytes(dir.File("bad.INI"),
             Cp1251("[Points]\r\nСамара=53.2;50.15\r\n[Form]\r\nRBG=0\r\nEK=x\r\nEU=x\r\nEM=abc\r\nEG=x\r\n"));
  const std::string m = " --year 2026 --month 6";
  struct Case {
    std::string with_place, explicit_args;
  };
  const Case cases[] = {
      // The file's GMT zone and twilight angle.
      {"sun --place 'Самара'" + f + m, "sun --lat 53.2 --lon 50.15 --gmt 4 --angle 6" + m},
      // The name is found regardless of case, as the file finds it.
      {"sun --place 'самара'" + f + m, "sun --lat 53.2 --lon 50.15 --gmt 4 --angle 6" + m},
      // Moscow-time zone and height mode from the file.
      {"sun --place 'Самара' --settings " + dir.File("msk.INI") + m,
       "sun --lat 53.2 --lon 50.15 --msk 1 --height 2" + m},
      // Explicit options override the file.
      {"sun --place 'Самара'" + f + m + " --msk -1 --height 5 --seconds",
       "sun --lat 53.2 --lon 50.15 --msk -1 --height 5 --seconds" + m},
      {"sun --place 'Самара'" + f + m + " --lat 60", "sun --lat 60 --lon 50.15 --gmt 4 --angle 6" + m},
      // The satellite table of a stored place.
      {"sat --place 'Мурманск'" + f, "sat --lat 68.97 --lon 33.08"},
      {"sat --place 'Мурманск' --format json" + f, "sat --lat 68.97 --lon 33.08 --format json"},
      // The satellite table needs only the coordinates: zone and twilight texts that are not
      // numbers do not stop it.
      {"sat --place 'Самара' --settings " + dir.File("bad.INI"), "sat --lat 53.2 --lon 50.15"},
  };
  for (const auto& c : cases) {
    const CliRun a = Cli(c.with_place, dir);
    const CliRun b = Cli(c.explicit_args, dir);
    EXPECT_EQ(a.status, 0) << c.with_place << ": " << a.err;
    EXPECT_EQ(b.status, 0) << c.explicit_args << ": " << b.err;
    EXPECT_FALSE(a.out.empty());
    EXPECT_EQ(a.out, b.out) << c.with_place;
  }
  const CliRun unknown = Cli("sun --place 'Тверь'" + f, dir);
  EXPECT_EQ(unknown.status, 1);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("no place named \"Тверь\""), std::string::npos) << unknown.err;
}

// Installed (a copy in bin/ beside share/kelmar/): the user's file, else the starter file, is
// read; neither is ever made. A portable copy reads the file beside it, as before.
TEST(CliPlaces, AnInstalledCopyReadsTheUsersOrTheStarterFileAndWritesNothing) {
  TempDir dir;
  const std::string root = dir.Path().string() + "/";
  std::filesystem::create_directories(root + "bin");
  std::filesystem::create_directories(root + "share/kelmar");
  std::filesystem::copy_file(KELMAR_CLI, root + "bin/kelmar-cli");
  WriteBytes(root + "share/kelmar/kelmar.INI", Cp1251("[Points]\r\nСтартер=1;2\r\n"));
  const std::string run = "env -u XDG_CONFIG_HOME HOME=" + root + "home " + root + "bin/kelmar-cli ";
  const std::string user = root + "home/.config/kelmar/kelmar.INI";
  struct Case {
    const char* what;
    std::string user_file;  // "" none
    std::string beside;     // bin/kelmar.INI; "" none
    std::string shown;      // the place "places" lists
    std::string read;       // the file --help names
  } cases[] = {
      {"first run", "", "", "Стартер", root + "share/kelmar/kelmar.INI"},
      {"the user's file", "[Points]\r\nСвой=3;4\r\n", "", "Свой", user},
      {"portable", "[Points]\r\nСвой=3;4\r\n", "[Points]\r\nРядом=5;6\r\n", "Рядом", root + "bin/kelmar.INI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.user_file.empty()) {
      std::filesystem::create_directories(root + "home/.config/kelmar");
      WriteBytes(user, Cp1251(c.user_file));
    }
    if (!c.beside.empty()) WriteBytes(root + "bin/kelmar.INI", Cp1251(c.beside));
    const CliRun places = Shell(run + "places", dir);
    EXPECT_EQ(places.status, 0) << places.err;
    EXPECT_NE(places.out.find(c.shown), std::string::npos) << places.out;
    EXPECT_NE(Shell(run + "--help", dir).out.find(": " + c.read + "\n"), std::string::npos);
    EXPECT_EQ(std::filesystem::exists(root + "home"), !c.user_file.empty());  // nothing made
  }
}

}  // namespace
