// Horizon profiles of other tools: PVGIS's CSV and JSON and a plain list, written by hand after
// the formats' descriptions; the thinning checked against the profile it thins.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "core/calc_error.h"
#include "core/horizon.h"
#include "settings/horizon_profile.h"

namespace kelmar {
namespace {

std::string DataFile(const char* name) {
  std::ifstream f(std::string(KELMAR_TEST_DATA_DIR) + "/horizon/" + name, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string MessageOf(std::string_view text) {
  try {
    HorizonFromProfile(text);
  } catch (const CalcError& e) {
    return e.what();
  }
  return "";
}

TEST(HorizonProfile, FilesOfEachFormat) {
  struct Case {
    const char* file;
    const char* horizon;
  } cases[] = {
      // A from south, 30° apart: 0 (north) … 360; points a straight line carries go.
      {"pvgis_horizon.csv", "0:2.3 30:2.3 60:3.4 90:6.9 120:11.5 150:11.8 180:11.5 240:4.6 270:0 330:2.3 360:2.3"},
      // A line from 22.5° to 97.5° passes 0.17° above the point at 90°, which goes.
      {"pvgis_horizon.json", "0:2.3 15:2.4 22.5:2.3 97.5:7.6 180:11.5 187.5:11.1 270:0 352.5:2.3 360:2.3"},
      // True azimuths; comments, commas and tabs; the circle closed back to the first point.
      {"plain_profile.txt", "90:5 150:25 210:25 270:3 90:5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string text = DataFile(c.file);
    ASSERT_FALSE(text.empty());
    const std::string horizon = HorizonFromProfile(text);
    EXPECT_EQ(horizon, c.horizon);
    EXPECT_NO_THROW(Horizon::Parse(horizon));  // the field takes it as it is
  }
}

TEST(HorizonProfile, BadFilesNameTheLine) {
  struct Case {
    const char* text;
    const char* message;
  } cases[] = {
      {"", "В файле нет профиля горизонта"},
      {"# only a comment\n", "В файле нет профиля горизонта"},
      {"90 5\n150 x\n", "Профиль горизонта, строка 2: нужно азимут и высота, например 180 12.5"},
      {"90 5 7\n", "Профиль горизонта, строка 1: нужно азимут и высота, например 180 12.5"},
      {"90 5\n\n400 5\n", "Профиль горизонта, строка 3: азимут должен быть от 0 до 360"},
      {"90 95\n", "Профиль горизонта, строка 1: высота должна быть не больше 90"},
      {"Latitude:\t45\nA\tH_hor\n-180\t2\n190\t2\n", "Профиль горизонта, строка 4: азимут должен быть от -180 до 180"},
      {"A\tH_hor\n-180\t2\n0\n", "Профиль горизонта, строка 3: нужны числа A и H_hor"},
      {"A\tH_hor\n\n", "В файле нет профиля горизонта"},
      {"{\"outputs\": {\n\"horizon_profile\": [\n{\"A\": 0, \"H_hor\": }]}}", "Профиль горизонта, строка 3: ошибка в JSON"},
      {"{\"outputs\": {\"horizon_profile\": [{\"A\": 0, \"H_hor\": 1}, {\"A\": 5}]}}",
       "Профиль горизонта, точка 2: нужны числа A и H_hor"},
      {"{\"outputs\": {\"horizon_profile\": [{\"A\": 200, \"H_hor\": 1}]}}",
       "Профиль горизонта, точка 1: азимут должен быть от -180 до 180"},
      {"{\"inputs\": {}}", "В файле нет профиля горизонта"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf(c.text), c.message) << c.text;
}

TEST(HorizonProfile, NegativeElevationsAreNoObstruction) {
  EXPECT_EQ(HorizonFromProfile("0 -0.4\n180 3\n"), "0:0 180:3 360:0");
}

// The profile's own broken line, closed round the circle.
double ProfileAt(const std::vector<ProfilePoint>& p, double az) {
  for (std::size_t i = 0; i + 1 < p.size(); ++i)
    if (az >= p[i].az && az <= p[i + 1].az) return p[i].el + (p[i + 1].el - p[i].el) * (az - p[i].az) / (p[i + 1].az - p[i].az);
  return NAN;
}

TEST(HorizonProfile, ThinningNeverLowersAndRaisesAtMostHalfADegree) {
  struct Case {
    double step;      // degrees between the profile's points
    double rough;     // a saw tooth's height on top of hills
    std::size_t most;  // the thinned points may not exceed this
  } cases[] = {
      {1, 0, 130},     // smooth hills: a third of the profile's 361 points
      {7.5, 0.3, 49},  // PVGIS's 48 directions, a tooth below the allowance
      {0.1, 3, 360},   // 3600 points of sharp teeth: the cap, with a wider allowance
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    std::vector<ProfilePoint> profile;
    for (double az = 0; az <= 360 + 1e-9; az += c.step) {
      const double hills = 6 + 4 * std::sin(az * M_PI / 90) + 2 * std::sin(az * M_PI / 25);
      const double tooth = std::fmod(std::round(az / c.step), 2) * c.rough;
      profile.push_back({std::min(az, 360.0), hills + tooth});
    }
    profile.back().el = profile.front().el;
    const std::vector<ProfilePoint> thin = ThinProfile(profile);
    EXPECT_LE(thin.size(), c.most);
    const Horizon h = Horizon::Parse(ProfileText(thin));
    double worst_raise = 0;
    for (double az = 0; az < 360; az += c.step / 7) {
      const double want = ProfileAt(profile, az), got = h.ElevationAt(az);
      EXPECT_GE(got, want - 1e-9) << az;
      worst_raise = std::max(worst_raise, got - want);
    }
    if (c.rough < 0.5) {
      EXPECT_LE(worst_raise, 0.5 + 1e-9);
    }
  }
}

TEST(HorizonProfile, ThinningKeepsAStepAndDropsWhatALineCarries) {
  // A wall from 100° to 120° (vertical edges), flat ground round it, a ramp on 200–300°.
  const std::vector<ProfilePoint> p = {{0, 0},     {50, 0},     {100, 0},   {100, 20}, {110, 20},
                                       {120, 20},  {120, 0},    {200, 0},   {250, 5},  {300, 10},
                                       {300, 0},   {360, 0}};
  EXPECT_EQ(ProfileText(ThinProfile(p)), "0:0 100:0 100:20 120:20 120:0 200:0 300:10 300:0 360:0");
}

}  // namespace
}  // namespace kelmar
