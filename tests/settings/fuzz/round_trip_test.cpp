// The fuzzer's round-trip property on the committed seed files and on files made to break it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "round_trip_check.h"
#include "test_files.h"

namespace kelmar {
namespace {

using std::string_literals::operator""s;

TEST(SettingsRoundTrip, SeedFiles) {
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(KELMAR_SETTINGS_SEEDS)) {
    EXPECT_EQ(CheckSettingsRoundTrip(testing::ReadBytes(e.path().string())), "") << e.path();
    ++files;
  }
  EXPECT_GE(files, 5);
}

TEST(SettingsRoundTrip, TrickyFiles) {
  const std::string files[] = {
      "[Points]\r\nA=1;2\r\na=3;4\r\nB=5;6\r\n[Form]\r\nInd=2\r\n",      // merged names, index past the end
      "[Points]\r\nOld=1;1\r\n[Points]\r\n",                             // empty list hides an older one
      "[Points]\r\nOld=1;1\r\n[Points]\r\nA=1;2\r\n",                    // places must not go to the older one
      "[POINTS]\r\n[abc=;x\r\nx\r\n=y\r\n;c\r\n",                        // odd names and stray lines
      "[Points]\r\nk=\x98\xFF;\x80\r\n[Form]\r\nEK=\x98\r\nek=2\r\n",    // undefined byte, duplicate key
      "[Points]\rA=1\nB\r\n=\0C=1"s,                                     // mixed ends and a NUL
      "\xEF\xBB\xBF[Points]\r\nA=1;2\r\n",                               // a byte-order mark is just bytes
  };
  for (const auto& f : files) EXPECT_EQ(CheckSettingsRoundTrip(f), "") << f;
}

}  // namespace
}  // namespace kelmar
