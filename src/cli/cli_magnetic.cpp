#include "cli/cli_magnetic.h"

#include <ctime>

#include "core/calc_error.h"
#include "core/magnetic.h"
#include "core/number_text.h"
#include "cli/cli_places.h"

namespace kelmar {

int RunDeclination(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(args, 1, {"--lat", "--lon", "--place", "--settings", "--date", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  const GridFormat format = FormatOf(opts);
  if (format == GridFormat::Csv) throw UsageError("declination prints text or json");
  const InputFields in = PlaceFromOptions(opts, false);
  const CalendarDate date = DateOption(opts);
  const MagneticField field = MagneticForFields(in.latitude, in.longitude, date, DefaultMagneticModelDir());
  if (format == GridFormat::Json) {
    out << "{\"declination\": " << JsonNumber(field.declination)
        << ", \"horizontal_intensity\": " << JsonNumber(field.horizontal) << ", \"model\": \"" << kMagneticModelName
        << "\", \"date\": \"" << IsoDate(date) << "\", \"valid\": " << (field.valid ? "true" : "false") << "}\n";
    return 0;
  }
  out << DeclinationReport(field, date) << '\n';
  return 0;
}

std::optional<double> CompassDeclination(const CliOptions& opts, const InputFields& in) {
  if (!opts.Has("--magnetic")) {
    if (opts.Has("--date")) throw UsageError("--date goes with --magnetic");
    return std::nullopt;
  }
  const MagneticField field = MagneticForFields(in.latitude, in.longitude, DateOption(opts), DefaultMagneticModelDir());
  if (!CompassUsable(field)) throw CalcError(kCompassUnusableText);
  return field.declination;
}

}  // namespace kelmar
