// kelmar-cli align: the moments when the Sun or a pole's shadow shows a slot's bearing.
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_places.h"
#include "core/number_text.h"
#include "core/outage.h"
#include "core/sun_align.h"

namespace kelmar {
namespace {

void PrintJson(const AlignTable& t, std::ostream& out) {
  out << "{\"slot\":" << JsonString(t.slot) << ",\"azimuth\":" << FormatTwoDecimals(t.azimuth) << ",\"days\":[";
  for (std::size_t i = 0; i < t.days.size(); ++i) {
    const AlignDay& d = t.days[i];
    out << (i > 0 ? ",\n" : "") << "{\"date\":\"" << IsoDate(d.date) << "\",\"events\":[";
    for (std::size_t j = 0; j < d.events.size(); ++j) {
      const AlignEvent& e = d.events[j];
      out << (j > 0 ? "," : "") << "{\"kind\":\"" << (e.kind == AlignKind::Sun ? "sun" : "shadow") << "\",\"time\":\""
          << ClockText(e.seconds) << "\",\"elevation\":" << FormatTwoDecimals(e.elevation)
          << ",\"above_horizon\":" << (e.above_horizon ? "true" : "false")
          << ",\"above_mask\":" << (e.above_mask ? "true" : "false") << '}';
    }
    out << "]}";
  }
  out << "]}\n";
}

}  // namespace

int RunAlign(const std::vector<std::string>& args, std::ostream& out) {
  const CliOptions opts = ParseOptions(
      args, 1, {"--lat", "--lon", "--place", "--settings", "--slot", "--date", "--days", "--gmt", "--msk", "--format"}, {});
  if (!opts.positional.empty()) throw UsageError("unexpected " + opts.positional[0]);
  InputFields in = FieldsFromOptions(opts);
  in.ESlot = Required(opts, "--slot");
  const CalendarDate first = DateOption(opts);
  const int days = NumberOption(opts, "--days", 1, 1, 366);
  const GridFormat format = FormatOf(opts);
  if (format == GridFormat::Csv) throw UsageError("--format takes text or json");
  const Horizon horizon = Horizon::Parse(opts.Has("--place") ? StoredHorizon(opts) : std::string());
  const AlignTable t = ComputeAlignment(in, horizon, first, days);
  if (format == GridFormat::Json) {
    PrintJson(t, out);
  } else {
    out << t.slot << ": azimuth " << FormatOneDecimal(t.azimuth) << ", elevation " << FormatOneDecimal(t.elevation)
        << '\n';
    PrintGrid(MakeAlignGrid(t), GridFormat::Text, out);
  }
  return 0;
}

}  // namespace kelmar
