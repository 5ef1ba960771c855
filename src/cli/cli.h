#pragma once
// kelmar-cli: the tables of the window for given field texts, without a display.
#include <ctime>
#include <iosfwd>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/input_fields.h"
#include "core/magnetic.h"
#include "core/text_grid.h"

namespace kelmar {

int RunCli(int argc, char** argv);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A command line that does not fit the usage: exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CliOptions {
  std::map<std::string, std::string> values;  // "--lat" → "55.75"
  std::set<std::string> flags;                // "--seconds"
  std::vector<std::string> positional;

  bool Has(const std::string& name) const { return values.count(name) != 0 || flags.count(name) != 0; }
  const std::string* Value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
  }
};

// Options of a command: those taking a value and plain flags; anything else is a usage error.
CliOptions ParseOptions(const std::vector<std::string>& args, std::size_t first,
                        const std::set<std::string>& with_value, const std::set<std::string>& flags);

const std::string& Required(const CliOptions& opts, const std::string& name);
// A whole-number option within [lo, hi], or fallback when absent.
int NumberOption(const CliOptions& opts, const std::string& name, int fallback, int lo, int hi);
// The place of a command: the stored place of --place (with the file's zone and twilight) or
// --lat and --lon at GMT. With `lat_lon_override` --lat and --lon may replace the stored
// coordinates, else --place excludes them.
InputFields PlaceFromOptions(const CliOptions& opts, bool lat_lon_override);
// The field texts the window would hold: PlaceFromOptions, then the zone and twilight options.
InputFields FieldsFromOptions(const CliOptions& opts);

// "outage": the sun outages of a slot, or of every visible slot of the satellite table.
int RunOutage(const std::vector<std::string>& args, std::ostream& out);

// "align": the moments the Sun or a pole's shadow stands at a slot's azimuth.
int RunAlign(const std::vector<std::string>& args, std::ostream& out);

enum class GridFormat { Text, Csv, Json };
GridFormat FormatOf(const CliOptions& opts);

// text: aligned columns for people (header row, then the non-empty rows); csv: RFC 4180, every
// row; json: every row as an array of cell strings.
void PrintGrid(const TextGrid& grid, GridFormat format, std::ostream& out);

std::string JsonString(const std::string& s);
// The shortest text that reads back as the same double.
std::string JsonNumber(double v);

// The local calendar date and time now.
std::tm Today();
// --date as YYYY-MM-DD; today when it is absent.
CalendarDate DateOption(const CliOptions& opts);

}  // namespace kelmar
