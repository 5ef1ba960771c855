// Whole tables of many places and months, each pinned by a 64-bit FNV-1a digest of all its
// data cells (cells joined by tabs, rows by line ends). A mismatch names the place and month;
// `kelmar-cli sun … --format csv` (or `sat …`) prints the table to look at.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/sat_table.h"
#include "core/sun_table.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;

std::uint64_t Digest(const TextGrid& grid, int last_row) {
  std::uint64_t h = 0xcbf29ce484222325ull;
  auto add = [&](unsigned char c) {
    h ^= c;
    h *= 0x100000001b3ull;
  };
  for (int r = 1; r <= last_row; ++r) {
    if (r > 1) add('\n');
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) add('\t');
      for (unsigned char ch : grid.Cell(c, r)) add(ch);
    }
  }
  return h;
}

TEST(SunTableDigest, WholeTablesOfManyPlacesAndMonths) {
  struct Case {
    const char* lat;
    const char* lon;
    const char* gmt;
    int year, month;
    bool seconds;
    const char* height;  // nullptr: twilight angle 6°
    std::uint64_t digest;
  };
  const Case cases[] = {
      // Moscow: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"55.75", "37.62", "3", 2026, 1, true, nullptr, 0x1b84f6da2acb28e4ull},
      {"55.75", "37.62", "3", 2026, 2, true, nullptr, 0xa6f1a1617a4aec58ull},
      {"55.75", "37.62", "3", 2026, 3, true, nullptr, 0x5c0708161faf2be4ull},
      {"55.75", "37.62", "3", 2026, 4, true, nullptr, 0x0a34c7a66d5b133cull},
      {"55.75", "37.62", "3", 2026, 5, true, nullptr, 0x24749350f63f3fcbull},
      {"55.75", "37.62", "3", 2026, 6, true, nullptr, 0x055a97eef2612720ull},
      {"55.75", "37.62", "3", 2026, 7, true, nullptr, 0x37531cef8ce36ed4ull},
      {"55.75", "37.62", "3", 2026, 8, true, nullptr, 0x60ad46ed6568cb11ull},
      {"55.75", "37.62", "3", 2026, 9, true, nullptr, 0x08184cc691931c84ull},
      {"55.75", "37.62", "3", 2026, 10, true, nullptr, 0x4b0b823b64c75136ull},
      {"55.75", "37.62", "3", 2026, 11, true, nullptr, 0x4ec560f3bf2bb0e0ull},
      {"55.75", "37.62", "3", 2026, 12, true, nullptr, 0xab3b646df1d6f0faull},
      {"55.75", "37.62", "3", 1800, 3, false, nullptr, 0xd2c5d480801269bfull},
      {"55.75", "37.62", "3", 2200, 9, false, nullptr, 0xd429fe5d9b56c26eull},
      {"55.75", "37.62", "3", 1999, 12, true, nullptr, 0xfdcffb866b68197eull},
      {"55.75", "37.62", "3", 2026, 6, false, "12.345", 0xbc9984b9330b71e7ull},
      {"55.75", "37.62", "3", 2026, 12, false, "12.345", 0xdc1b7842d0a75bdeull},
      // Polar circle: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"69", "33", "3", 2026, 1, true, nullptr, 0x9d287cb4dc80bb1dull},
      {"69", "33", "3", 2026, 2, true, nullptr, 0x7e751d59baa3db6cull},
      {"69", "33", "3", 2026, 3, true, nullptr, 0xc135bb800b4cec42ull},
      {"69", "33", "3", 2026, 4, true, nullptr, 0xd265c0a6f7fbf4f2ull},
      {"69", "33", "3", 2026, 5, true, nullptr, 0x1cab0f090457930eull},
      {"69", "33", "3", 2026, 6, true, nullptr, 0xf2b881155cc98b6eull},
      {"69", "33", "3", 2026, 7, true, nullptr, 0x4a473b35777b501full},
      {"69", "33", "3", 2026, 8, true, nullptr, 0x7c3cb050e98a0e7bull},
      {"69", "33", "3", 2026, 9, true, nullptr, 0x77cdd50c19553d96ull},
      {"69", "33", "3", 2026, 10, true, nullptr, 0xe05114d06e854646ull},
      {"69", "33", "3", 2026, 11, true, nullptr, 0xde40e2585baeda86ull},
      {"69", "33", "3", 2026, 12, true, nullptr, 0x464bf1732da3681dull},
      {"69", "33", "3", 1800, 3, false, nullptr, 0x425c8386881f6469ull},
      {"69", "33", "3", 2200, 9, false, nullptr, 0xfd6d43f2b81de54bull},
      {"69", "33", "3", 1999, 12, true, nullptr, 0xe8d5803297177eccull},
      {"69", "33", "3", 2026, 6, false, "12.345", 0xf127c35ea3cf7e46ull},
      {"69", "33", "3", 2026, 12, false, "12.345", 0x46714cbed8fede86ull},
      // Southern: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"-33.9", "18.4", "2", 2026, 1, true, nullptr, 0x10001ebd67c2fdd0ull},
      {"-33.9", "18.4", "2", 2026, 2, true, nullptr, 0xe8ccd00a5e78b25eull},
      {"-33.9", "18.4", "2", 2026, 3, true, nullptr, 0xb5f5085ae184a2aeull},
      {"-33.9", "18.4", "2", 2026, 4, true, nullptr, 0xb2a0df6eff059d36ull},
      {"-33.9", "18.4", "2", 2026, 5, true, nullptr, 0xdd895c158a3813caull},
      {"-33.9", "18.4", "2", 2026, 6, true, nullptr, 0xe5eeaf14ed806caaull},
      {"-33.9", "18.4", "2", 2026, 7, true, nullptr, 0xb5867338243c3cb9ull},
      {"-33.9", "18.4", "2", 2026, 8, true, nullptr, 0x8788bdde41c0d9b8ull},
      {"-33.9", "18.4", "2", 2026, 9, true, nullptr, 0xa1bbc1c47fc4b503ull},
      {"-33.9", "18.4", "2", 2026, 10, true, nullptr, 0x6be3c393bd2d3ebeull},
      {"-33.9", "18.4", "2", 2026, 11, true, nullptr, 0xd20b077352a98009ull},
      {"-33.9", "18.4", "2", 2026, 12, true, nullptr, 0x48a1f5ad4d2e5007ull},
      {"-33.9", "18.4", "2", 1800, 3, false, nullptr, 0xddbdaeb4982e1e41ull},
      {"-33.9", "18.4", "2", 2200, 9, false, nullptr, 0xeaa8c51778e5781full},
      {"-33.9", "18.4", "2", 1999, 12, true, nullptr, 0xda6c1e631c317b88ull},
      {"-33.9", "18.4", "2", 2026, 6, false, "12.345", 0x4379ced49451a75aull},
      {"-33.9", "18.4", "2", 2026, 12, false, "12.345", 0xbd240e839e851ed7ull},
      // Equator near the antimeridian: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"0", "170", "12", 2026, 1, true, nullptr, 0x029a292a9071d441ull},
      {"0", "170", "12", 2026, 2, true, nullptr, 0xad9032e58e002330ull},
      {"0", "170", "12", 2026, 3, true, nullptr, 0xea25aeafdae56ebaull},
      {"0", "170", "12", 2026, 4, true, nullptr, 0xdec141bba6387e32ull},
      {"0", "170", "12", 2026, 5, true, nullptr, 0x04395d20647f2f7cull},
      {"0", "170", "12", 2026, 6, true, nullptr, 0xae12af18dc1a20f9ull},
      {"0", "170", "12", 2026, 7, true, nullptr, 0xf57dd37f52ffb461ull},
      {"0", "170", "12", 2026, 8, true, nullptr, 0xd145865d25e10c2cull},
      {"0", "170", "12", 2026, 9, true, nullptr, 0xcdb421ce87a6f0bbull},
      {"0", "170", "12", 2026, 10, true, nullptr, 0x0a7616d039dca298ull},
      {"0", "170", "12", 2026, 11, true, nullptr, 0xe258265dcb5d6826ull},
      {"0", "170", "12", 2026, 12, true, nullptr, 0xcd539f3ae104e0f8ull},
      {"0", "170", "12", 1800, 3, false, nullptr, 0xf71082fdfca18799ull},
      {"0", "170", "12", 2200, 9, false, nullptr, 0xd90d026316758af4ull},
      {"0", "170", "12", 1999, 12, true, nullptr, 0xf53de206eeacaee8ull},
      {"0", "170", "12", 2026, 6, false, "12.345", 0xfb10deacb1e92c66ull},
      {"0", "170", "12", 2026, 12, false, "12.345", 0x38d514af37070cd7ull},
      // Equator, west: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"-0.2", "-78.5", "-5", 2026, 1, true, nullptr, 0x41097bc250a83f34ull},
      {"-0.2", "-78.5", "-5", 2026, 2, true, nullptr, 0xc3835d8c553696ceull},
      {"-0.2", "-78.5", "-5", 2026, 3, true, nullptr, 0x96c3d5018e63e8c9ull},
      {"-0.2", "-78.5", "-5", 2026, 4, true, nullptr, 0x6fabad63a6038b3dull},
      {"-0.2", "-78.5", "-5", 2026, 5, true, nullptr, 0x5c036668023fc650ull},
      {"-0.2", "-78.5", "-5", 2026, 6, true, nullptr, 0x9c87fc25c9bf086bull},
      {"-0.2", "-78.5", "-5", 2026, 7, true, nullptr, 0xec72ac890484c36aull},
      {"-0.2", "-78.5", "-5", 2026, 8, true, nullptr, 0x71a37327ab79d44aull},
      {"-0.2", "-78.5", "-5", 2026, 9, true, nullptr, 0xd9973c83fce2b694ull},
      {"-0.2", "-78.5", "-5", 2026, 10, true, nullptr, 0xca52940eb4cdfae3ull},
      {"-0.2", "-78.5", "-5", 2026, 11, true, nullptr, 0x5a7dce73f6e7ae81ull},
      {"-0.2", "-78.5", "-5", 2026, 12, true, nullptr, 0xaa71a0f7d3aa3b7full},
      {"-0.2", "-78.5", "-5", 1800, 3, false, nullptr, 0xfd89a835c59e65aaull},
      {"-0.2", "-78.5", "-5", 2200, 9, false, nullptr, 0x5720f827ecf1582cull},
      {"-0.2", "-78.5", "-5", 1999, 12, true, nullptr, 0x20ce13caebfc0af1ull},
      {"-0.2", "-78.5", "-5", 2026, 6, false, "12.345", 0x10c2733ef698d1ecull},
      {"-0.2", "-78.5", "-5", 2026, 12, false, "12.345", 0x5e69a254fc16dcb6ull},
      // High Arctic: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"80", "15", "1", 2026, 1, true, nullptr, 0xaacdd73f4686cf3eull},
      {"80", "15", "1", 2026, 2, true, nullptr, 0x907b0bef7d5bbaaaull},
      {"80", "15", "1", 2026, 3, true, nullptr, 0x77ab40b3743fa36bull},
      {"80", "15", "1", 2026, 4, true, nullptr, 0x6098c9baec41d58eull},
      {"80", "15", "1", 2026, 5, true, nullptr, 0xc5a26a94575f6cfbull},
      {"80", "15", "1", 2026, 6, true, nullptr, 0x4870e84edee53f4full},
      {"80", "15", "1", 2026, 7, true, nullptr, 0xf1ad6547d980cc39ull},
      {"80", "15", "1", 2026, 8, true, nullptr, 0xcfdeef7787c4075full},
      {"80", "15", "1", 2026, 9, true, nullptr, 0x4749ecfa2aebff59ull},
      {"80", "15", "1", 2026, 10, true, nullptr, 0xc9d3c6b73fa26226ull},
      {"80", "15", "1", 2026, 11, true, nullptr, 0x77b0728646a6447bull},
      {"80", "15", "1", 2026, 12, true, nullptr, 0x3c4ad469a74dbe26ull},
      {"80", "15", "1", 1800, 3, false, nullptr, 0x2f5e3824f1fad6aeull},
      {"80", "15", "1", 2200, 9, false, nullptr, 0x2a79d30771afacfcull},
      {"80", "15", "1", 1999, 12, true, nullptr, 0x1399538cd94da92aull},
      {"80", "15", "1", 2026, 6, false, "12.345", 0xf9adf899d71ce0f3ull},
      {"80", "15", "1", 2026, 12, false, "12.345", 0xc1c04d03c6044bafull},
      // Antarctic: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"-70", "-60", "-3", 2026, 1, true, nullptr, 0x0405fea68dd8b6abull},
      {"-70", "-60", "-3", 2026, 2, true, nullptr, 0x9af5a66bc8a7140dull},
      {"-70", "-60", "-3", 2026, 3, true, nullptr, 0x8c5a7f87a2a30d44ull},
      {"-70", "-60", "-3", 2026, 4, true, nullptr, 0x131f901e49bedcffull},
      {"-70", "-60", "-3", 2026, 5, true, nullptr, 0x290a980a7ec04075ull},
      {"-70", "-60", "-3", 2026, 6, true, nullptr, 0x6322a86376bc952cull},
      {"-70", "-60", "-3", 2026, 7, true, nullptr, 0x80d5cb3f5b508e7full},
      {"-70", "-60", "-3", 2026, 8, true, nullptr, 0x080f95af17ac40b6ull},
      {"-70", "-60", "-3", 2026, 9, true, nullptr, 0x26c031ae05d8ec7eull},
      {"-70", "-60", "-3", 2026, 10, true, nullptr, 0x86f0d4d0833ca613ull},
      {"-70", "-60", "-3", 2026, 11, true, nullptr, 0xaa38d7da973c0302ull},
      {"-70", "-60", "-3", 2026, 12, true, nullptr, 0x1fc80c4889db77feull},
      {"-70", "-60", "-3", 1800, 3, false, nullptr, 0x969bb55257e5327eull},
      {"-70", "-60", "-3", 2200, 9, false, nullptr, 0xbda560a283334eb5ull},
      {"-70", "-60", "-3", 1999, 12, true, nullptr, 0x564983feb144d6ceull},
      {"-70", "-60", "-3", 2026, 6, false, "12.345", 0xb39bca38ef5c5b00ull},
      {"-70", "-60", "-3", 2026, 12, false, "12.345", 0xc1eb082bd3af10f1ull},
      // Noon near midnight: every month of 2026 with seconds, then the ends of the year range,
      // the turn of the millennium, and two months in height mode.
      {"55.75", "0", "12", 2026, 1, true, nullptr, 0x5df7dee1718f9833ull},
      {"55.75", "0", "12", 2026, 2, true, nullptr, 0x67a8a8705c2aab11ull},
      {"55.75", "0", "12", 2026, 3, true, nullptr, 0xae0ec3339ec05ba6ull},
      {"55.75", "0", "12", 2026, 4, true, nullptr, 0x3950735016f004beull},
      {"55.75", "0", "12", 2026, 5, true, nullptr, 0xd560a77b3ef60cd1ull},
      {"55.75", "0", "12", 2026, 6, true, nullptr, 0x302668c3bf7cac73ull},
      {"55.75", "0", "12", 2026, 7, true, nullptr, 0x02e86dbf9db7bad6ull},
      {"55.75", "0", "12", 2026, 8, true, nullptr, 0xca3f93dbbcf20a31ull},
      {"55.75", "0", "12", 2026, 9, true, nullptr, 0xe3f1fafe08a1440bull},
      {"55.75", "0", "12", 2026, 10, true, nullptr, 0x2b54952ae6658642ull},
      {"55.75", "0", "12", 2026, 11, true, nullptr, 0xeb69b5a0cc9aa7e7ull},
      {"55.75", "0", "12", 2026, 12, true, nullptr, 0x3a0fa3885cd458ddull},
      {"55.75", "0", "12", 1800, 3, false, nullptr, 0xb519d8b1196ba371ull},
      {"55.75", "0", "12", 2200, 9, false, nullptr, 0x9e6c2bc9c1672ed6ull},
      {"55.75", "0", "12", 1999, 12, true, nullptr, 0xd06fd1fcfabe0a97ull},
      {"55.75", "0", "12", 2026, 6, false, "12.345", 0x2515416f341577daull},
      {"55.75", "0", "12", 2026, 12, false, "12.345", 0x15215f0847ddbb86ull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon << ", GMT " << c.gmt << ", " << c.year << "-"
                                    << c.month << (c.seconds ? ", seconds" : "") << (c.height ? ", height" : ""));
    InputFields in = PlaceFields(c.lat, c.lon, c.gmt);
    in.CheckBoxSec = c.seconds;
    if (c.height != nullptr) {
      in.RadioButtonUgol = false;
      in.EditKm = c.height;
    }
    CalcState st = MonthState(c.year, c.month);
    TextGrid grid = MakeSunGrid();
    Calc(st, in, grid);
    EXPECT_EQ(Digest(grid, 33), c.digest);
  }
}

TEST(SatTableDigest, WholeTablesOfManyPlaces) {
  struct Case {
    const char* lat;
    const char* lon;
    std::uint64_t digest;  // of rows 1–40, all 19 columns
  };
  const Case cases[] = {
      {"55.75", "37.62", 0xf26c6ac07ed3846cull},  // Moscow
      {"-33.9", "18.4", 0x568f6b6ece658a84ull},  // southern
      {"0", "170", 0xe6481aca59731c39ull},  // equator, across the antimeridian
      {"0", "37.5", 0xf2610d9cece4854cull},  // equator between two degrees
      {"88", "-100.5", 0xbc46bc7556dbddbcull},  // near the pole
      {"-89", "45", 0x7666b8867b912216ull},  // near the south pole
      {"0.5", "-0.5", 0xfc980dad0779d896ull},  // 0.5° lies inside the equatorial band of 0.01 rad
      {"-0.58", "120.3", 0x2fa1b3bccd0f2067ull},  // 0.58° lies just outside it
      {"45", "-180", 0x30cac1c1f9fafe6eull},  // at the antimeridian
      {"-45", "180", 0x7befa1f3a2836067ull},  // the other side of it
      {"60", "-100.5", 0x1431952715610d8bull},  // starting at 180 W
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    const InputFields in = PlaceFields(c.lat, c.lon);
    TextGrid sat = MakeSatGrid();
    Satel(ObserverFromFields(in), sat);
    EXPECT_EQ(Digest(sat, 40), c.digest);
  }
}

}  // namespace
}  // namespace kelmar
