// The core's trigonometry gives the bits the browser build computes: rows where glibc rounds the
// other way, so a call that slipped back to the platform's library, or a fused multiply-add in
// the compiled code, shows here and not only in the browser.
#include <gtest/gtest.h>

#include "core/trig.h"

namespace kelmar {
namespace {

TEST(Trig, SameBitsAsTheBrowser) {
  struct Case {
    const char* name;
    double got, want;
  };
  const Case cases[] = {
      {"sin", trig::sin(0x1.2890ac9e51216p+1), 0x1.77f9f6793087ep-1},         // glibc: …87dp-1
      {"cos", trig::cos(0x1.d89a93f7b1352p+1), -0x1.b453465e944dap-1},        // glibc: …4d9p-1
      {"tan", trig::tan(-0x1.47b2d89e8f65bp+1), 0x1.50819b4add2bap-1},        // glibc: …2bbp-1
      {"asin", trig::asin(0x1.bafd96df75fb2p-1), 0x1.0bab31d228752p+0},       // glibc: …751p+0
      {"atan", trig::atan(-0x1.fc47f0a7f88fep+1), -0x1.52f8022b57f1ap+0},     // glibc: …f1bp+0
      {"atan2", trig::atan2(-0x1.6abce93ad579ep-2, 0x1.b236421b646c8p+0), -0x1.a5a922fc636e2p-3},  // glibc: …6e3p-3
      {"sin 1e22", trig::sin(1e22), -0x1.b453ab76bf397p-1},                   // the long argument reduction
      {"atan2 -0", trig::atan2(-0.0, -1.0), -0x1.921fb54442d18p+1},           // -π below the negative axis
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
}

}  // namespace
}  // namespace kelmar
