#pragma once
// kelmar-cli's pictures: the scenes of "sky" and "year", saved into a PNG or SVG file by cli_host.h.
#include <string>
#include <vector>

namespace kelmar {

int RunSky(const std::vector<std::string>& args);
int RunYear(const std::vector<std::string>& args);

}  // namespace kelmar
