#pragma once
// kelmar-cli and the magnetic declination: the "declination" command and "sat --magnetic".
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/input_fields.h"

namespace kelmar {

// "declination (--lat TEXT --lon TEXT | --place NAME) [--date YYYY-MM-DD] [--format text|json]".
int RunDeclination(const std::vector<std::string>& args, std::ostream& out);

// For "sat": the declination that turns the azimuths into compass bearings with --magnetic,
// nothing without it. Throws CalcError where a compass is unusable.
std::optional<double> CompassDeclination(const CliOptions& opts, const InputFields& in);

}  // namespace kelmar
