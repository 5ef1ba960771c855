// Loading and saving real settings files in a temporary folder.
#include "settings/settings_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_image.h"
#include "test_files.h"

namespace kelmar {
namespace {

using std::string_literals::operator""s;
using testing::Cp1251;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::vector<Place> Places(const PlaceList& p) { return p.items; }

std::string Describe(const std::vector<Place>& places) {
  std::string s;
  for (const auto& p : places) s += "{" + p.name + "|" + p.lat + "|" + p.lon + "}";
  return s;
}

TEST(SettingsPath, ExtensionOfTheFileNameBecomesIni) {
  struct Case {
    std::string exe, ini;
  };
  const Case cases[] = {
      {"/opt/kelmar/kelmar", "/opt/kelmar/kelmar.INI"},          // no extension: appended
      {"/opt/kelmar/kelmar.exe", "/opt/kelmar/kelmar.INI"},      // extension replaced
      {"/opt/kelmar/kelmar.v2.bin", "/opt/kelmar/kelmar.v2.INI"},  // only the last one
      {"/opt/k.d/kelmar", "/opt/k.d/kelmar.INI"},                // a "." of a folder is not one
      {"/home/u/.kelmar", "/home/u/.INI"},                       // the last "." of the name
      {"kelmar-cli", "kelmar-cli.INI"},                          // no folder at all
      {"/x/Кельмар.exe", "/x/Кельмар.INI"},                      // Cyrillic name
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsPathFor(c.exe), c.ini) << c.exe;
}

TEST(SettingsFlags, OnlyTheExactTextOneIsTrue) {
  EXPECT_EQ(BoolToText(true), "1");
  EXPECT_EQ(BoolToText(false), "0");
  struct Case {
    std::string text;
    bool value;
  };
  const Case cases[] = {{"1", true}, {"0", false}, {"", false}, {"true", false},
                        {"01", false}, {"1 ", false}, {"-1", false}, {"2", false}};
  for (const auto& c : cases) EXPECT_EQ(TextToBool(c.text), c.value) << c.text;
}

TEST(LoadSettings, HandWrittenFiles) {
  struct Case {
    std::string file;  // UTF-8; written to disk in Windows-1251
    std::vector<Place> places;
    int index;
    std::string ek, eu, em, eg;
    bool gmt, angle;
  };
  const std::vector<Place> ab = {{"A", "1", "2"}, {"B", "3", "4"}};
  const Case cases[] = {
      // Only Ind in "Form": B selected, every other setting "0", Moscow time, height mode.
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=1\r\n", ab, 1, "0", "0", "0", "0", false, false},
      // Every key given.
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\n"
       "EM=-1\r\nEG=3\r\n",
       ab, 0, "12.345", "6", "-1", "3", true, true},
      // Blanks around "=" are trimmed, around ";" kept: lat "1 ", lon " 2".
      {"[Points]\r\n a = 1 ; 2 \r\n", {{"a", "1 ", " 2"}}, 0, "0", "0", "0", "0", false, false},
      // Only the first ";" splits.
      {"[Points]\r\nA=1;2;3\r\n", {{"A", "1", "2;3"}}, 0, "0", "0", "0", "0", false, false},
      // No ";": empty latitude, the whole value as longitude; ";" first: empty latitude.
      {"[Points]\r\nA=55\r\nB=;37\r\nC=\r\n", {{"A", "", "55"}, {"B", "", "37"}, {"C", "", ""}},
       0, "0", "0", "0", "0", false, false},
      // Keys in any case; "true" is not "1".
      {"[points]\r\nA=1;2\r\nB=3;4\r\n[FORM]\r\nind=1\r\nRBG=true\r\nrb3=1\r\n", ab, 1, "0", "0",
       "0", "0", false, true},
      // Ind out of range, negative, not an integer, empty: place 0.
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=2\r\n", ab, 0, "0", "0", "0", "0", false, false},
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=-1\r\n", ab, 0, "0", "0", "0", "0", false, false},
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=1.0\r\n", ab, 0, "0", "0", "0", "0", false, false},
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=\r\n", ab, 0, "0", "0", "0", "0", false, false},
      {"[Points]\r\nA=1;2\r\nB=3;4\r\n[Form]\r\nInd=99999999999\r\n", ab, 0, "0", "0", "0", "0",
       false, false},
      // Equal names ignoring case: every entry takes the last line's coordinates.
      {"[Points]\r\nКазань=1;2\r\nB=3;4\r\nКАЗАНЬ=5;6\r\n",
       {{"Казань", "5", "6"}, {"B", "3", "4"}, {"КАЗАНЬ", "5", "6"}}, 0, "0", "0", "0", "0", false,
       false},
      // A line without "=" or with an empty name is no place; the places after it still load.
      {"[Points]\r\nA=1;2\r\nstray text\r\n=9;9\r\nB=3;4\r\n", ab, 0, "0", "0", "0", "0", false, false},
      // Duplicate Points sections: the later one is the list.
      {"[Points]\r\nX=0;0\r\n[Points]\r\nA=1;2\r\nB=3;4\r\n", ab, 0, "0", "0", "0", "0", false, false},
      // Comments, a stray line before any section, other sections.
      {"junk\r\n; comment\r\n[Other]\r\nA=9;9\r\n[Points]\r\n;C=5;6\r\nA=1;2\r\nB=3;4\r\n", ab, 0,
       "0", "0", "0", "0", false, false},
      // Lone LF and lone CR endings.
      {"[Points]\nA=1;2\nB=3;4\n[Form]\nInd=1\nEG=3\n", ab, 1, "0", "0", "0", "3", false, false},
      {"[Points]\rA=1;2\rB=3;4\r[Form]\rInd=1\rEG=3", ab, 1, "0", "0", "0", "3", false, false},
      // Cyrillic names and a locator-added name (its leading blank is gone).
      {"[Points]\r\nМосква=55.75;37.62\r\n LO56CD=56.1;13.2\r\n",
       {{"Москва", "55.75", "37.62"}, {"LO56CD", "56.1", "13.2"}}, 0, "0", "0", "0", "0", false,
       false},
      // No "Points" at all; and an empty file.
      {"[Form]\r\nEK=1\r\nInd=3\r\n", {}, 0, "1", "0", "0", "0", false, false},
      {"", {}, 0, "0", "0", "0", "0", false, false},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.File("kelmar.INI");
    WriteBytes(path, Cp1251(c.file));
    const LoadedSettings s = LoadSettings(path);
    EXPECT_EQ(Describe(Places(s.places)), Describe(c.places)) << c.file;
    EXPECT_EQ(s.selected, c.index) << c.file;
    EXPECT_EQ(s.twilight_height, c.ek) << c.file;
    EXPECT_EQ(s.twilight_angle, c.eu) << c.file;
    EXPECT_EQ(s.zone_msk, c.em) << c.file;
    EXPECT_EQ(s.zone_gmt, c.eg) << c.file;
    EXPECT_EQ(s.zone_is_gmt, c.gmt) << c.file;
    EXPECT_EQ(s.twilight_by_angle, c.angle) << c.file;
    const std::string lat = c.places.empty() ? "" : c.places[static_cast<std::size_t>(c.index)].lat;
    const std::string lon = c.places.empty() ? "" : c.places[static_cast<std::size_t>(c.index)].lon;
    EXPECT_EQ(s.latitude, lat) << c.file;
    EXPECT_EQ(s.longitude, lon) << c.file;
  }
}

TEST(LoadSettings, RawBytesNulAndWindowsLetters) {
  TempDir dir;
  const std::string path = dir.File("kelmar.INI");
  // "Москва" in Windows-1251 written as bytes, then a NUL that hides the rest.
  WriteBytes(path, "[Points]\r\n\xCC\xEE\xF1\xEA\xE2\xE0=55.75;37.62\r\n\0B=3;4\r\n"s);
  const LoadedSettings s = LoadSettings(path);
  ASSERT_EQ(s.places.Count(), 1);
  EXPECT_EQ(s.places[0].name, "Москва");
  EXPECT_EQ(s.latitude, "55.75");
  EXPECT_TRUE(s.cut_short);  // the window must not save over what the NUL hides
}

TEST(LoadSettings, MissingFileIsEmptyAndUnreadableFileFails) {
  TempDir dir;
  const LoadedSettings none = LoadSettings(dir.File("absent.INI"));
  EXPECT_TRUE(none.places.Empty());
  EXPECT_EQ(none.zone_gmt, "0");
  EXPECT_EQ(none.latitude, "");
  EXPECT_FALSE(none.cut_short);
  // A dangling link is a missing file too.
  std::filesystem::create_symlink(dir.File("nowhere"), dir.File("link.INI"));
  EXPECT_TRUE(LoadSettings(dir.File("link.INI")).places.Empty());

  struct Case {
    std::string path;
    const char* what;
  };
  std::filesystem::create_directory(dir.File("dir.INI"));
  const Case cases[] = {
      {dir.File("dir.INI"), "a folder where the file should be"},
  };
  for (const auto& c : cases) {
    try {
      (void)LoadSettings(c.path);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const SettingsError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + c.path) << c.what;
    }
  }
}

InputFields Fields() {
  InputFields in;
  in.EditKm = "12.345";
  in.EditUg = "6";
  in.EditMSK = "0";
  in.EditGMT = "3";
  in.RadioButtonMSK = false;
  in.RadioButtonUgol = true;
  return in;
}

PlaceList List(const std::vector<Place>& places) {
  return PlaceList{places};
}

TEST(SaveSettings, ExactFileContents) {
  struct Case {
    std::string before;  // UTF-8 file before the save; "<none>" for no file
    std::vector<Place> places;
    int index;
    std::string after;   // UTF-8 file after the save
  };
  const Case cases[] = {
      // From nothing: "Points" first, then "Form" in the order of writing.
      {"<none>", {{"Москва", "55.75", "37.62"}, {"X", "56.3", "44"}}, 1,
       "[Points]\r\nМосква=55.75;37.62\r\nX=56.3;44\r\n\r\n[Form]\r\nInd=1\r\nRB3=1\r\nRBG=1\r\n"
       "EK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // Over a file: "Form" and the extra sections stay in their old order, other "Form" keys
      // stay, "Points" is rewritten last.
      {"[Points]\r\nOld=1;1\r\n[X]\r\nfoo = bar\r\n[Form]\r\nWidth=640\r\nind=0\r\nEG=0\r\n"
       "[Y]\r\n",
       {{"A", "1", "2"}}, 0,
       "[X]\r\nfoo=bar\r\n\r\n[Form]\r\nWidth=640\r\nInd=0\r\nEG=3\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\n"
       "EU=6\r\nEM=0\r\n\r\n[Y]\r\n\r\n[Points]\r\nA=1;2\r\n\r\n"},
      // Equal names: one line, at the first one's place, with the later one's coordinates.
      {"<none>", {{"Тверь", "1", "2"}, {"B", "3", "4"}, {"ТВЕРЬ", "5", "6"}}, 0,
       "[Points]\r\nТВЕРЬ=5;6\r\nB=3;4\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\n"
       "EU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // The selection follows its place into the shared line, not past the end of the list.
      {"<none>", {{"Тверь", "1", "2"}, {"B", "3", "4"}, {"ТВЕРЬ", "5", "6"}}, 2,
       "[Points]\r\nТВЕРЬ=5;6\r\nB=3;4\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\n"
       "EU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // Lines of "Points" that are no place survive, after the places.
      {"[Points]\r\nstray\r\n=9;9\r\nA=0;0\r\n", {{"A", "1", "2"}}, 0,
       "[Points]\r\nA=1;2\r\nstray\r\n=9;9\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\n"
       "EU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // No places: an empty "Points" all the same.
      {"<none>", {}, 0,
       "[Points]\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // ...which hides an older "Points" that the file holds above it, as before the save.
      {"[Points]\r\nOld=1;1\r\n[Points]\r\n", {}, 0,
       "[Points]\r\nOld=1;1\r\n\r\n[Points]\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\n"
       "EU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
      // The places go into the new section, not into the older one that stays above.
      {"[Points]\r\nOld=1;1\r\n[Points]\r\nA=0;0\r\n", {{"A", "1", "2"}}, 0,
       "[Points]\r\nOld=1;1\r\n\r\n[Points]\r\nA=1;2\r\n\r\n[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\n"
       "EK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\n\r\n"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    const std::string path = dir.File("kelmar.INI");
    std::filesystem::remove(path);
    if (c.before != "<none>") WriteBytes(path, Cp1251(c.before));
    SaveSettings(path, List(c.places), c.index, Fields());
    EXPECT_EQ(ReadBytes(path), Cp1251(c.after)) << c.before;
  }
}

// The keys added after the first files ("ESlot", "EDish", "EFreq", "MagAz") are written only when
// they differ from their defaults or the file already has them, so a file whose user never touched
// the outage tab or compass azimuths saves byte for byte as before (ExactFileContents pins those).
TEST(SaveSettings, NewKeysOnlyWhenNeeded) {
  const std::string form = "[Form]\r\nInd=0\r\nRB3=1\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\nEM=0\r\nEG=3\r\n";
  const std::string no_places = "\r\n[Points]\r\n\r\n";
  const std::string place_a = "[Points]\r\nA=1;2\r\n";
  struct Case {
    std::string before;               // the file before the save
    const char *slot, *dish, *freq;  // the outage tab's fields at close
    bool mag_on;                      // the compass check box at close
    bool mag_loaded;                  // what the file read as
    std::string after;
  };
  const Case cases[] = {
      // The outage tab's keys.
      {"[Form]\r\n", "0", "0.9", "12", false, false, form + no_places},                       // defaults: nothing new
      {"[Form]\r\n", "36 E", "0.9", "12", false, false, form + "ESlot=36 E\r\n" + no_places},  // a changed field only
      {"[Form]\r\n", "0", "1.2", "11", false, false, form + "EDish=1.2\r\nEFreq=11\r\n" + no_places},  // in the keys' order
      {"[Form]\r\nEDish=2\r\n", "0", "0.9", "12", false, false,
       "[Form]\r\nEDish=0.9\r\n" + form.substr(8) + no_places},  // back to its default: kept
      // "MagAz".
      {place_a + form, "0", "0.9", "12", false, false, form + "\r\n" + place_a + "\r\n"},  // never touched: no key
      {place_a + form, "0", "0.9", "12", true, false, form + "MagAz=1\r\n\r\n" + place_a + "\r\n"},  // turned on: written
      {place_a + form + "MagAz=1\r\n", "0", "0.9", "12", false, true,
       form + "MagAz=0\r\n\r\n" + place_a + "\r\n"},  // turned off again: kept, as "0"
      {place_a + form + "MagAz=0\r\n", "0", "0.9", "12", false, false, form + "MagAz=0\r\n\r\n" + place_a + "\r\n"},
      {place_a + form + "magaz=yes\r\n", "0", "0.9", "12", false, false,
       form + "MagAz=0\r\n\r\n" + place_a + "\r\n"},  // any text but "1" is off
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    const std::string path = dir.File("kelmar.INI");
    WriteBytes(path, c.before);
    const LoadedSettings loaded = LoadSettings(path);
    EXPECT_EQ(loaded.compass_azimuths, c.mag_loaded);
    InputFields in = Fields();
    in.ESlot = c.slot, in.EDish = c.dish, in.EFreq = c.freq, in.CheckBoxMagAz = c.mag_on;
    SaveSettings(path, loaded.places, 0, in);
    EXPECT_EQ(ReadBytes(path), c.after);
    PlaceList places;
    CalcState st;
    InputFields back;
    ApplyLoadedSettings(LoadSettings(path), places, st, back);
    EXPECT_EQ(back.ESlot + "|" + back.EDish + "|" + back.EFreq, std::string(c.slot) + "|" + c.dish + "|" + c.freq);
    EXPECT_EQ(back.CheckBoxMagAz, c.mag_on);
  }
}

TEST(SaveSettings, FieldTextsCannotBreakTheirLine) {
  TempDir dir;
  const std::string path = dir.File("kelmar.INI");
  InputFields in = Fields();
  in.EditGMT = "3\r\n[Points]\r\nEvil=1;1";
  SaveSettings(path, List({{"A", "1\n", "2"}}), 0, in);
  const LoadedSettings s = LoadSettings(path);
  ASSERT_EQ(s.places.Count(), 1);
  EXPECT_EQ(s.places[0].name, "A");
  EXPECT_EQ(s.zone_gmt, "3  [Points]  Evil=1;1");
}

TEST(SaveSettings, RoundTripKeepsEverything) {
  const std::string files[] = {
      "[Points]\r\nМосква=55.75;37.62\r\nСанкт-Петербург=59.94;30.31\r\nКейптаун=-33.92;18.42\r\n"
      "[Form]\r\nInd=2\r\nRB3=0\r\nRBG=1\r\nEK=12.345\r\nEU=6\r\nEM=1\r\nEG=3\r\n",
      "[Points]\r\na = 1 ; 2 \r\nB=1;2;3\r\nC=55\r\n[Form]\r\nind=1\r\nRBG=true\r\n",
      "[Form]\r\nEK=0.5\r\n[Other]\r\nk=v\r\n",
      "",
  };
  TempDir dir;
  for (const auto& f : files) {
    const std::string path = dir.File("kelmar.INI");
    WriteBytes(path, Cp1251(f));
    const LoadedSettings first = LoadSettings(path);
    PlaceList places;
    CalcState st;
    InputFields in;
    ApplyLoadedSettings(first, places, st, in);
    SaveSettings(path, places, st.PlaceIndex, in);
    const std::string saved = ReadBytes(path);
    const LoadedSettings second = LoadSettings(path);
    EXPECT_EQ(Places(second.places), Places(first.places)) << f;
    EXPECT_EQ(second.selected, first.selected) << f;
    EXPECT_EQ(second.twilight_height, first.twilight_height) << f;
    EXPECT_EQ(second.twilight_angle, first.twilight_angle) << f;
    EXPECT_EQ(second.zone_msk, first.zone_msk) << f;
    EXPECT_EQ(second.zone_gmt, first.zone_gmt) << f;
    EXPECT_EQ(second.zone_is_gmt, first.zone_is_gmt) << f;
    EXPECT_EQ(second.twilight_by_angle, first.twilight_by_angle) << f;
    // From the second save on nothing moves any more ("Points" has gone to the end).
    ApplyLoadedSettings(second, places, st, in);
    SaveSettings(path, places, st.PlaceIndex, in);
    const std::string saved2 = ReadBytes(path);
    SaveSettings(path, places, st.PlaceIndex, in);
    EXPECT_EQ(ReadBytes(path), saved2) << f;
    EXPECT_EQ(saved2.size(), saved.size()) << f;
  }
}

TEST(SaveSettings, EveryByteOfAHandEditedFileSurvives) {
  // A section of the user's own holding every byte that can stand in a line, 0x98 included.
  std::string value = "!";
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') value.push_back(static_cast<char>(b));
  value += "!";
  const std::string mine = "[Mine]\r\nk=" + value + "\r\n\r\n";
  TempDir dir;
  const std::string path = dir.File("kelmar.INI");
  WriteBytes(path, mine + "[Points]\r\n\xCF\xF3\xED\xEA\x98=1;2\r\n");  // "Пунк" + 0x98
  const LoadedSettings s = LoadSettings(path);
  ASSERT_EQ(s.places.Count(), 1);
  SaveSettings(path, s.places, 0, Fields());
  const std::string after = ReadBytes(path);
  EXPECT_EQ(after.substr(0, mine.size()), mine);
  EXPECT_NE(after.find("[Points]\r\n\xCF\xF3\xED\xEA\x98=1;2\r\n"), std::string::npos);
}

TEST(SaveSettings, CannotCreateNamesThePath) {
  TempDir dir;
  WriteBytes(dir.File("plain"), "x");
  std::filesystem::create_directory(dir.File("dir.INI"));
  const std::string cases[] = {
      dir.File("dir.INI"),              // the target is a folder
      dir.File("plain/kelmar.INI"),     // the parent is a regular file
      dir.File("absent/kelmar.INI"),    // the parent does not exist
  };
  for (const auto& path : cases) {
    try {
      SaveSettings(path, List({{"A", "1", "2"}}), 0, Fields());
      ADD_FAILURE() << path << ": no error";
    } catch (const SettingsError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
    }
  }
  EXPECT_EQ(ReadBytes(dir.File("plain")), "x");
}

TEST(SaveSettings, AFailedWriteLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("kelmar.INI");
  const std::string old = Cp1251("[Points]\r\nМосква=55.75;37.62\r\n\r\n");
  WriteBytes(path, old);
  PlaceList big;
  for (int i = 0; i < 200; ++i) big.Append("Place number " + std::to_string(i), "55.75", "37.62");
  // A file size limit stands in for a full disk: the write stops part way.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    SaveSettings(path, big, 0, Fields());
  } catch (const SettingsError& e) {
    failed = std::string(e.what()) == "Cannot create file " + path;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
  EXPECT_TRUE(failed);
  EXPECT_EQ(ReadBytes(path), old);
  // No half-written temporary file is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(SaveSettings, WritesThroughASymbolicLinkAndKeepsPermissions) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("real"));
  const std::string target = dir.File("real/kelmar.INI");
  const std::string link = dir.File("kelmar.INI");
  WriteBytes(target, Cp1251("[Points]\r\nA=1;2\r\n"));
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  std::filesystem::create_symlink("real/kelmar.INI", link);

  SaveSettings(link, List({{"A", "1", "2"}, {"Б", "3", "4"}}), 1, Fields());

  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(LoadSettings(target).places.Count(), 2);
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(SaveSettings, RemovesOnlyTheLeftoversOfAnInterruptedSave) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directory(dir.File("real"));
  WriteBytes(dir.File("real/kelmar.INI"), Cp1251("[Points]\r\nA=1;2\r\n"));
  fs::create_symlink("real/kelmar.INI", dir.File("kelmar.INI"));
  struct Case {
    const char* name;  // beside the link's target
    bool removed;
  };
  const Case cases[] = {
      {"kelmar.INI.tmp4242-0", true},  // an earlier version's temporary file
      {"kelmar.INI.tmp1-17", true},
      {"kelmar.INI.QEYeeB", true},     // the writer's unfinished file
      {"kelmar.INI.a1b2c3", true},
      {"kelmar.INI.backup", false},    // six letters of one kind: the user's own
      {"kelmar.INI.BACKUP", false},
      {"kelmar.INI.tmp", false},       // short of the pattern
      {"kelmar.INI.tmp12", false},
      {"kelmar.INI.tmpx-1", false},
      {"kelmar.INI.bak", false},       // too short for the writer's name
      {"kelmar.INI.QEYeeBx", false},   // too long
      {"kelmar.INI.QE-eeB", false},    // not letters and digits only
      {"kelmar.ini.tmp1-1", false},    // another file's leftovers
      {"other.INI.QEYeeB", false},
  };
  for (const Case& c : cases) WriteBytes(dir.File(std::string("real/") + c.name), "x");
  fs::create_directory(dir.File("real/kelmar.INI.Abcdef"));  // a folder is never removed
  WriteBytes(dir.File("kelmar.INI.tmp5-5"), "x");            // beside the link, not the file
  SaveSettings(dir.File("kelmar.INI"), List({{"A", "1", "2"}}), 0, Fields());
  for (const Case& c : cases) EXPECT_EQ(fs::exists(dir.File(std::string("real/") + c.name)), !c.removed) << c.name;
  EXPECT_TRUE(fs::is_directory(dir.File("real/kelmar.INI.Abcdef")));
  EXPECT_TRUE(fs::exists(dir.File("kelmar.INI.tmp5-5")));
  EXPECT_EQ(LoadSettings(dir.File("kelmar.INI")).places.Count(), 1);
}

TEST(ApplyLoadedSettings, FillsListStateAndFields) {
  LoadedSettings s;
  s.places.Append("A", "1", "2");
  s.places.Append("B", "3", "4");
  s.selected = 1;
  s.latitude = "3";
  s.longitude = "4";
  s.twilight_height = "1";
  s.twilight_angle = "2";
  s.zone_msk = "-1";
  s.zone_gmt = "5";
  s.zone_is_gmt = true;
  s.twilight_by_angle = false;
  PlaceList places;
  CalcState st;
  InputFields in;
  in.CheckBoxSec = true;
  ApplyLoadedSettings(s, places, st, in);
  EXPECT_EQ(places, s.places);
  EXPECT_EQ(st.PlaceIndex, 1);
  EXPECT_EQ(in.EditSir, "3");
  EXPECT_EQ(in.EditDolg, "4");
  EXPECT_EQ(in.EditKm, "1");
  EXPECT_EQ(in.EditUg, "2");
  EXPECT_EQ(in.EditMSK, "-1");
  EXPECT_EQ(in.EditGMT, "5");
  EXPECT_FALSE(in.RadioButtonMSK);
  EXPECT_FALSE(in.RadioButtonUgol);
  EXPECT_TRUE(in.CheckBoxSec);  // not a setting of the file
}

}  // namespace
}  // namespace kelmar

namespace kelmar {
namespace {

// The "Horizon" section: read back as written, only for listed places, and absent (the file
// as before) when no place has a mask.
TEST(SettingsHorizons, RoundTripOnlyForListedPlacesWithAMask) {
  PlaceList places;
  places.Append("Москва", "55.75", "37.62");
  places.Append("Б", "-34.6", "-58.38");
  const InputFields in;
  struct Case {
    HorizonTexts stored;
    HorizonTexts read_back;
  } cases[] = {
      {{{"Москва", "90:5 270:3"}}, {{"Москва", "90:5 270:3"}}},
      {{{"Москва", ""}, {"Удалённый", "0:10 360:10"}}, {}},  // empty masks and gone places vanish
  };
  for (const Case& c : cases) {
    SettingsImage image = SettingsImage::FromText("[Horizon]\nстарый=1:1\n");
    StoreIntoImage(image, places, 0, in, &c.stored);
    EXPECT_EQ(LoadedFromImage(SettingsImage::FromBytes(image.ToBytes())).horizons, c.read_back);
    EXPECT_EQ(image.FindSection("Horizon") != nullptr, !c.read_back.empty());
  }
  // Without masks handed in, the section is not touched.
  SettingsImage image = SettingsImage::FromText("[Horizon]\nМосква=1:1\n");
  StoreIntoImage(image, places, 0, in);
  EXPECT_EQ(LoadedFromImage(image).horizons.at("Москва"), "1:1");
}

}  // namespace
}  // namespace kelmar
