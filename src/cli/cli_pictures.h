#pragma once
// kelmar-cli's pictures: "sky" and "year" drawn offscreen into a PNG or SVG file.
#include <string>
#include <vector>

namespace kelmar {

int RunSky(const std::vector<std::string>& args);
int RunYear(const std::vector<std::string>& args);

}  // namespace kelmar
