// The C library's versions of to_chars and from_chars, which the browser build uses, against
// the standard library's: the same bytes for every kind of double the tables and the CLI meet.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/float_chars.h"

namespace kelmar {
namespace {

std::vector<double> Samples() {
  std::vector<double> v = {0.0, -0.0, 1, -1, 0.1, 0.5, 1e15, 1e16, 1e21, 1e22, 123456789012345678.0, 1e-5, 1e-7,
                           5e-324, 1.7976931348623157e308, 2.2250738585072014e-308, 0.3, 2.0 / 3, 100, 1000, 1e5,
                           12345.678, -42.25, 9.995, 0.05, 0.15, 0.25, 0.35, 179.95, -0.04999999999999999};
  std::mt19937_64 rng(1251);
  for (int i = 0; i < 20000; ++i) {
    // Any bit pattern, and the numbers of tables: degrees, hours, kilometres.
    const double any = std::bit_cast<double>(rng());
    if (std::isfinite(any)) v.push_back(any);
    v.push_back(static_cast<double>(static_cast<std::int64_t>(rng() % 3600001) - 1800000) / 10000);
    v.push_back(std::ldexp(static_cast<double>(rng() % (1ULL << 53)), static_cast<int>(rng() % 120) - 90));
  }
  return v;
}

TEST(FloatChars, CLibraryWritesWhatToCharsWrites) {
  for (const double x : Samples()) {
    ASSERT_EQ(c_library::ShortestText(x), ShortestText(x)) << x;
    ASSERT_EQ(c_library::ScientificText(x, 14), ScientificText(x, 14)) << x;
    if (std::fabs(x) < 1e30) {
      ASSERT_EQ(c_library::FixedText(x, 1), FixedText(x, 1)) << x;
    }
  }
}

TEST(FloatChars, CLibraryReadsWhatFromCharsReads) {
  const char* cases[] = {"0", "5", "5.", ".5", "180", "180.0000000000000001", "13.5", "007.25", "99999999999999999999",
                         "", ".", "1.2.3", "-5", "+5", " 5", "5 ", "1e5", "0x10"};
  for (const char* c : cases) EXPECT_EQ(c_library::ReadDouble(c), ReadDouble(c)) << '"' << c << '"';
  const std::string huge = std::string(400, '9');  // past the largest double
  EXPECT_EQ(c_library::ReadDouble(huge), ReadDouble(huge));
}

}  // namespace
}  // namespace kelmar
