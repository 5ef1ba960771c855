// Choosing, adding and deleting places, as the window drives them.
#include "settings/place_ops.h"

#include <gtest/gtest.h>

#include "core/observer.h"

#include <string>
#include <vector>

#include "settings/settings_io.h"
#include "test_files.h"

namespace kelmar {
namespace {

struct Window {
  PlaceList places;
  int place_index = 0;
  InputFields in;
  std::string EditPunkt;
  bool entering = false;

  explicit Window(const std::vector<std::vector<std::string>>& rows, int index = 0) {
    for (const auto& r : rows) places.Append(r[0], r[1], r[2]);
    place_index = index;
    if (!places.Empty()) {
      in.latitude = places[index].lat;
      in.longitude = places[index].lon;
    }
  }
  PlaceOutcome Press() {
    PlaceOutcome o = entering ? FinishAddPlace(places, place_index, in, EditPunkt) : BeginAddPlace(in, EditPunkt);
    entering = o.entering;
    return o;
  }
  // Both presses of ButtonNew with what the user typed in between.
  PlaceOutcome Add(const std::string& name, const std::string& lat = "???",
                   const std::string& lon = "???") {
    Press();
    EditPunkt = name;
    if (lat != "???") in.latitude = lat;
    if (lon != "???") in.longitude = lon;
    return Press();
  }
};

const std::vector<std::vector<std::string>> kTwo = {{"Москва", "55.75", "37.62"},
                                                    {"Самара", "53.2", "50.15"}};

TEST(SelectPlace, LoadsTheChosenPlace) {
  struct Case {
    std::vector<std::vector<std::string>> rows;
    int index;
    int place_index;       // PlaceIndex afterwards
    std::string sir, dolg;  // fields afterwards
    Recompute recompute;
    std::string message;
  };
  const Case cases[] = {
      // A good place: both tables are recomputed.
      {kTwo, 1, 1, "53.2", "50.15", Recompute::SunThenSat, ""},
      // A latitude that is not a number: the message, no table touched, the texts shown.
      {{{"A", "", "55"}, {"B", "1", "2"}}, 0, 0, "", "55", Recompute::Nothing,
       "'' is not a valid floating point value"},
      {{{"A", "1", "2"}, {"B", "1", "x"}}, 1, 1, "1", "x", Recompute::Nothing,
       "'x' is not a valid floating point value"},
      // No entry selected (typed text) or past the end: nothing changes.
      {kTwo, -1, 0, "55.75", "37.62", Recompute::Nothing, ""},
      {kTwo, 2, 0, "55.75", "37.62", Recompute::Nothing, ""},
  };
  for (const auto& c : cases) {
    Window w(c.rows);
    const PlaceOutcome o = SelectPlace(w.places, w.place_index, w.in, c.index);
    EXPECT_EQ(w.place_index, c.place_index) << c.index;
    EXPECT_EQ(w.in.latitude, c.sir) << c.index;
    EXPECT_EQ(w.in.longitude, c.dolg) << c.index;
    EXPECT_EQ(o.recompute, c.recompute) << c.index;
    EXPECT_EQ(o.message, c.message) << c.index;
    EXPECT_EQ(o.kind, c.message.empty() ? MessageKind::None : MessageKind::Error) << c.index;
  }
}

TEST(AddPlace, FirstPressShowsPlaceholdersAndEnters) {
  Window w(kTwo);
  const PlaceOutcome o = w.Press();
  EXPECT_TRUE(o.entering);
  EXPECT_EQ(o.recompute, Recompute::Nothing);
  EXPECT_EQ(o.kind, MessageKind::None);
  EXPECT_EQ(w.in.latitude, "???");
  EXPECT_EQ(w.in.longitude, "???");
  EXPECT_EQ(w.EditPunkt, "???");
  EXPECT_EQ(w.places.Count(), 2);
}

TEST(AddPlace, SecondPressAddsByCoordinatesOrLocator) {
  struct Case {
    std::string name, lat, lon;          // typed
    std::string stored_lat, stored_lon;  // kept in the list
    Recompute recompute;
    std::string message;
  };
  const Case cases[] = {
      // Plain coordinates.
      {"Тверь", "56.86", "35.9", "56.86", "35.9", Recompute::SunThenSat, ""},
      // The first "," of each text becomes ".".
      {"Псков", "12,5", "44,0", "12.5", "44.0", Recompute::SunThenSat, ""},
      // Only the first: the place stays, the conversion fails, no table is touched.
      {"Икс", "1,2,3", "44", "1.2,3", "44", Recompute::Nothing,
       "'1.2,3' is not a valid floating point value"},
      // Placeholders left as they are.
      {"Игрек", "???", "???", "???", "???", Recompute::Nothing,
       "'??" "?' is not a valid floating point value"},
      // A locator: the centre of its subsquare; the coordinate fields are ignored.
      {" KO85TS", "1", "2", "55.7708", "37.625", Recompute::SunThenSat, ""},
      {" ko85ts", "1", "2", "55.7708", "37.625", Recompute::SunThenSat, ""},  // either case
      {" AA00AA", "1", "2", "-89.979", "-179.95", Recompute::SunThenSat, ""},  // south-west corner
      {" RR99XX", "1", "2", "89.9791", "179.958", Recompute::SunThenSat, ""},  // north-east corner
      {" JJ00aa Гринвич", "1", "2", "0.02083", "0.04166", Recompute::SunThenSat, ""},  // tail ignored
  };
  for (const auto& c : cases) {
    Window w(kTwo);
    const PlaceOutcome o = w.Add(c.name, c.lat, c.lon);
    ASSERT_EQ(w.places.Count(), 3) << c.name;
    EXPECT_EQ(w.places[2].name, c.name);
    EXPECT_EQ(w.places[2].lat, c.stored_lat) << c.name;
    EXPECT_EQ(w.places[2].lon, c.stored_lon) << c.name;
    // The new place is selected and shown; the flow is idle again.
    EXPECT_EQ(w.place_index, 2) << c.name;
    EXPECT_EQ(w.places.Count(), 3) << c.name;
    EXPECT_EQ(w.in.latitude, c.stored_lat) << c.name;
    EXPECT_EQ(w.in.longitude, c.stored_lon) << c.name;
    EXPECT_FALSE(o.entering) << c.name;
    EXPECT_EQ(o.recompute, c.recompute) << c.name;
    EXPECT_EQ(o.message, c.message) << c.name;
    EXPECT_EQ(o.kind, c.message.empty() ? MessageKind::None : MessageKind::Error) << c.name;
  }
}

TEST(AddPlace, RefusesLatitudesBeyondThePoles) {
  // Refused before the list changes; the flow stays entering for a correction. The poles and
  // texts that are no number at all (stored, the tables wait) are not refused here.
  struct Case {
    const char* lat;
    bool stored;
  } cases[] = {{"91", false}, {"-90,5", false}, {"1e308", false}, {"90", true}, {"-90", true}, {"abc", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lat);
    Window w(kTwo);
    const PlaceOutcome o = w.Add("Тверь", c.lat, "35.9");
    EXPECT_EQ(w.places.Count(), c.stored ? 3 : 2);
    EXPECT_EQ(o.entering, !c.stored);
    if (!c.stored) {
      EXPECT_EQ(o.kind, MessageKind::Error);
      EXPECT_EQ(o.message, kLatitudeRangeText);
      EXPECT_EQ(o.recompute, Recompute::Nothing);
    }
  }
  // A place stored at 91 by hand stays in the list; choosing it refuses the tables.
  Window w(kTwo);
  w.places.Append("Край", "91", "0");
  const PlaceOutcome o = SelectPlace(w.places, w.place_index, w.in, 2);
  EXPECT_EQ(o.message, kLatitudeRangeText);
  EXPECT_EQ(o.recompute, Recompute::Nothing);
  EXPECT_EQ(w.places.Count(), 3);
}

TEST(AddPlace, RefusesNamesTheFileCannotKeep) {
  const std::string long_ok(4095, 'x');
  std::string long_cyr;
  for (int i = 0; i < 4095; ++i) long_cyr += "ж";
  struct Case {
    std::string name;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {"", "пустое название"},              // empty: would end every walk over the list
      {"Тверь ", "пробел в начале или в конце"},  // trailing blank is lost on reading
      {"Тверь\t", "недопустим управляющий символ (код 9)"},  // so is any code up to 32
      {"\tТверь", "недопустим управляющий символ (код 9)"},  // leading tab
      {"Тве\x01рь", "недопустим управляющий символ (код 1)"},  // control character inside
      {"a=b", "символ \"=\" недопустим"},    // "=" would split the name
      {";Тверь", "\";\" в начале названия"},  // a comment line
      {"[Тверь", "\"[\" в начале названия"},  // could start a section
      {"[Тверь]", "\"[\" в начале названия"},  // would start a section
      {"東京", "символа \"東\" нет в кодировке Windows-1251"},  // no bytes for it in Windows-1251
      {"Tōkyō", "символа \"ō\" нет в кодировке Windows-1251"},  // the first one is named
      {long_ok + "x", "длиннее 4095 символов"},  // 4096 characters
      {long_ok, nullptr},                   // 4095 characters
      {long_cyr, nullptr},                  // 4095 Cyrillic characters (8190 UTF-8 bytes)
      {"Т;в[е]рь", nullptr},                // ";" and "[" inside are harmless
      {"Нью Йорк", nullptr},                // inner blank
      {"€ №1", nullptr},                    // signs of the code page
      {" KO85", kInvalidLocator},           // a locator name shorter than seven characters
      {" ", kInvalidLocator},
      {" KO85T", kInvalidLocator},
      {" ZZ99ZZ", kInvalidLocator},         // field letters beyond R
      {" KO85TZ", kInvalidLocator},         // subsquare letters beyond X
      {" KOX5TS", kInvalidLocator},         // letter where a digit belongs
      {"  KO85TS", kInvalidLocator},        // two blanks: the locator starts one too late
      {" KO85TS ", "пробел в начале или в конце"},  // trailing blank after a good locator
      {" KO85TS=", "символ \"=\" недопустим"},  // "=" after a good locator
      {"москва", kDuplicateName},           // equal to "Москва" ignoring case
      {"САМАРА", kDuplicateName},
  };
  for (const auto& c : cases) {
    Window w(kTwo);
    const PlaceOutcome o = w.Add(c.name, "1", "2");
    if (c.message == nullptr) {
      EXPECT_EQ(o.kind, MessageKind::None) << c.name.substr(0, 20) << ": " << o.message;
      EXPECT_EQ(w.places.Count(), 3);
      continue;
    }
    // A name refused for its own text carries the reason after the common message.
    const bool own_text = c.message != std::string(kInvalidLocator) && c.message != std::string(kDuplicateName);
    EXPECT_EQ(o.message, own_text ? std::string(kInvalidName) + ": " + c.message : c.message) << c.name;
    EXPECT_EQ(o.kind, MessageKind::Information) << c.name;
    EXPECT_EQ(o.recompute, Recompute::Nothing) << c.name;
    // Still entering, nothing stored, the typed texts kept for correcting.
    EXPECT_TRUE(o.entering) << c.name;
    EXPECT_EQ(w.places.Count(), 2) << c.name;
    EXPECT_EQ(w.places.Count(), 2) << c.name;
    EXPECT_EQ(w.place_index, 0) << c.name;
    EXPECT_EQ(w.in.latitude, "1") << c.name;
    EXPECT_EQ(w.EditPunkt, c.name);
  }
}

TEST(AddPlace, LocatorNamesCompareWithoutTheirBlank) {
  // " KO85TS" is stored as "KO85TS" once the file is read back, so the two are one name.
  struct Case {
    std::string stored, typed;
  };
  const Case cases[] = {{"KO85TS", " KO85TS"}, {" KO85TS", "ko85ts"}, {" KO85TS", " ko85ts"}};
  for (const auto& c : cases) {
    Window w({{c.stored, "1", "2"}});
    EXPECT_EQ(w.Add(c.typed, "1", "2").message, kDuplicateName) << c.stored << "/" << c.typed;
  }
}

TEST(AddPlace, CorrectedNameIsAddedOnTheNextPress) {
  Window w(kTwo);
  EXPECT_EQ(w.Add("МОСКВА", "55", "37").message, kDuplicateName);
  ASSERT_TRUE(w.entering);
  w.EditPunkt = "Москва-2";
  const PlaceOutcome o = w.Press();
  EXPECT_FALSE(o.entering);
  EXPECT_EQ(o.recompute, Recompute::SunThenSat);
  EXPECT_EQ(w.places.items.back().name, "Москва-2");
  EXPECT_EQ(w.places.items.back().lat, "55");
}

TEST(AddPlace, FromAnEmptyListAndSavedAsTheLastLine) {
  testing::TempDir dir;
  const std::string path = dir.File("kelmar.INI");
  Window w({});
  const PlaceOutcome o = w.Add("Ушуайя", "-54,8", "-68.3");
  EXPECT_EQ(o.recompute, Recompute::SunThenSat);
  EXPECT_EQ(w.place_index, 0);
  EXPECT_EQ(w.places.Count(), 1);
  w.Add("Самара", "53.2", "50.15");
  SaveSettings(path, w.places, w.place_index, w.in);
  const LoadedSettings s = LoadSettings(path);
  ASSERT_EQ(s.places.Count(), 2);
  EXPECT_EQ(s.places[1].name, "Самара");
  EXPECT_EQ(s.places[0].lat, "-54.8");
  EXPECT_EQ(s.selected, 1);
  EXPECT_EQ(s.latitude, "53.2");
}

TEST(DeletePlace, AsksThenDeletesOrRefuses) {
  struct Case {
    std::vector<std::vector<std::string>> rows;
    int index;
    bool yes;
    std::vector<std::string> names_after;
    int index_after;
    std::string sir_after;
    Recompute recompute;
    MessageKind kind;
    std::string message;
  };
  const Case cases[] = {
      // "No": nothing changes.
      {kTwo, 1, false, {"Москва", "Самара"}, 1, "53.2", Recompute::Nothing, MessageKind::None, ""},
      // The second of two: one left, selected, PlaceIndex 0.
      {kTwo, 1, true, {"Москва"}, 0, "55.75", Recompute::SunThenSat, MessageKind::None, ""},
      // The first of three: place 0 is now the former second.
      {{{"A", "1", "2"}, {"B", "3", "4"}, {"C", "5", "6"}}, 0, true, {"B", "C"}, 0, "3",
       Recompute::SunThenSat, MessageKind::None, ""},
      // The last place stays.
      {{{"A", "1", "2"}}, 0, true, {"A"}, 0, "1", Recompute::Nothing, MessageKind::Information,
       kLastPlace},
      // "No" with one place: no refusal shown either.
      {{{"A", "1", "2"}}, 0, false, {"A"}, 0, "1", Recompute::Nothing, MessageKind::None, ""},
  };
  for (const auto& c : cases) {
    Window w(c.rows, c.index);
    const PlaceOutcome o = DeletePlace(w.places, w.place_index, w.in, c.yes);
    std::vector<std::string> names;
    for (const Place& p : w.places) names.push_back(p.name);
    EXPECT_EQ(names, c.names_after);
    EXPECT_EQ(w.place_index, c.index_after);
    EXPECT_EQ(w.in.latitude, c.sir_after);
    EXPECT_EQ(o.recompute, c.recompute);
    EXPECT_EQ(o.kind, c.kind);
    EXPECT_EQ(o.message, c.message);
  }
}

TEST(DeletePlace, QuestionNamesThePlaceAndNoPlaceDoesNothing) {
  Window w(kTwo, 1);
  EXPECT_EQ(DeleteQuestion(w.places, w.place_index), "Удалить запись \"Самара\" ?");
  Window none({});
  EXPECT_EQ(DeleteQuestion(none.places, none.place_index), std::nullopt);
  const PlaceOutcome o = DeletePlace(none.places, none.place_index, none.in, true);
  EXPECT_EQ(o.kind, MessageKind::None);
  EXPECT_EQ(o.recompute, Recompute::Nothing);
  EXPECT_TRUE(none.places.Empty());
}

}  // namespace
}  // namespace kelmar
