#pragma once
// kelmar-cli on the settings file: the "places" command and the fields of a stored place.
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_host.h"
#include "core/input_fields.h"

namespace kelmar {

// "places [--settings FILE] [--format text|json]": what the window would load from the file.
int RunPlaces(const std::vector<std::string>& args, std::ostream& out);

// The fields of the place named by --place (exact name first, then the file's case-blind match)
// with the zone and twilight settings of the file (--settings FILE or the default one).
// Throws std::runtime_error for an unknown place or an unreadable file.
InputFields FieldsOfStoredPlace(const CliOptions& opts);
// The horizon mask stored for that place; empty when it has none.
std::string StoredHorizon(const CliOptions& opts);

}  // namespace kelmar
