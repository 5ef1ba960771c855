#pragma once
// kelmar-cli on the settings file: the "places" command and the fields of a stored place.
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/input_fields.h"

namespace kelmar {

// The settings file the "kelmar" beside this executable reads: its kelmar.INI when portable,
// the user's file (or the starter file while there is none) when installed.
std::string DefaultSettingsPath();

// "places [--settings FILE] [--format text|json]": what the window would load from the file.
int RunPlaces(const std::vector<std::string>& args, std::ostream& out);

// The magnetic model's folder the window would use.
std::string DefaultMagneticModelDir();

// The fields of the place named by --place (exact name first, then the file's case-blind match)
// with the zone and twilight settings of the file (--settings FILE or the default one).
// Throws std::runtime_error for an unknown place or an unreadable file.
InputFields FieldsOfStoredPlace(const CliOptions& opts);
// The horizon mask stored for that place; empty when it has none.
std::string StoredHorizon(const CliOptions& opts);

}  // namespace kelmar
