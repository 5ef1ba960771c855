// libFuzzer entry: arbitrary bytes as a settings file, checked by a load, save, load round trip.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "round_trip_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string problem =
      kelmar::CheckSettingsRoundTrip({reinterpret_cast<const char*>(data), size});
  if (!problem.empty()) {
    std::fprintf(stderr, "round trip broken: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
