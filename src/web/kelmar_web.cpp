// The JavaScript API of the WebAssembly module: each entry point takes plain JS values (the
// window's field texts and choices), runs the same core as the window and kelmar-cli, and
// returns plain JS objects. kelmar.js wraps these; an error comes back as {error: message}
// and kelmar.js throws it as a JS Error, so no C++ exception ever reaches JS.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cmath>
#include <exception>
#include <stdexcept>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/calc_error.h"
#include "core/calc_state.h"
#include "core/date_names.h"
#include "core/locator.h"
#include "core/magnetic.h"
#include "core/number_text.h"
#include "core/observer.h"
#include "core/outage.h"
#include "core/sat_table.h"
#include "core/scenes.h"
#include "core/sun_table.h"
#include "core/text_grid.h"
#include "settings/cp1251.h"
#include "settings/horizons.h"
#include "settings/place_ops.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"

using emscripten::val;

namespace kelmar::web {
namespace {

// ---- plain values to JS and back

val Obj() { return val::object(); }

template <class T, class F>
val Array(const std::vector<T>& items, F to_js) {
  val a = val::array();
  for (const T& item : items) a.call<void>("push", to_js(item));
  return a;
}

val Numbers(const std::vector<double>& v) {
  return Array(v, [](double x) { return val(x); });
}

// The grid as rows of cell texts. One string crosses into JS and is split there: a call per
// cell would cost more than the table itself.
val Cells(const TextGrid& grid) {
  static const val split_row = val::global("Function").new_(val("row"), val("return row.split('\\x1f')"));
  std::string joined;
  for (int r = 0; r < grid.RowCount(); ++r) {
    if (r > 0) joined += '\x1e';
    for (int c = 0; c < grid.ColCount(); ++c) {
      if (c > 0) joined += '\x1f';
      joined += grid.Cell(c, r);
    }
  }
  return val(joined).call<val>("split", val("\x1e")).call<val>("map", split_row);
}

// The arguments of a table call, packed by kelmar.js into one string: "key\x1evalue" items
// joined by "\x1f", nested objects as "zone.kind". One string crosses from JS instead of a
// call per property, which cost more than a month's sun table.
class Args {
 public:
  explicit Args(std::string_view packed) {
    while (!packed.empty()) {
      const std::size_t end = std::min(packed.find('\x1f'), packed.size());
      const std::string_view item = packed.substr(0, end);
      const std::size_t sep = item.find('\x1e');
      if (sep != std::string_view::npos) values_.emplace(item.substr(0, sep), item.substr(sep + 1));
      packed.remove_prefix(std::min(end + 1, packed.size()));
    }
  }
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  std::string Text(const std::string& key, const std::string& fallback = "") const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
  }
  int Int(const std::string& key, int fallback) const {
    if (!Has(key)) return fallback;
    if (const std::optional<int> n = ParseInt(Text(key))) return *n;
    throw CalcError(NotAnIntegerMessage(Text(key)));
  }
  // A whole number within [lo, hi]; the app's own controls give these, so a bad one is the
  // caller's mistake, told in kelmar-cli's words.
  int IntIn(const std::string& key, int fallback, int lo, int hi) const {
    const int n = Int(key, fallback);
    if (n < lo || n > hi)
      throw std::invalid_argument(key + " takes a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
    return n;
  }
  bool Bool(const std::string& key) const { return Text(key) == "1"; }

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

bool Has(const val& o, const char* key) { return o.hasOwnProperty(key) && !o[key].isUndefined() && !o[key].isNull(); }

std::string Text(const val& o, const char* key, const std::string& fallback = "") {
  return Has(o, key) ? o[key].as<std::string>() : fallback;
}

int Int(const val& o, const char* key, int fallback) { return Has(o, key) ? o[key].as<int>() : fallback; }

bool Bool(const val& o, const char* key) { return Has(o, key) && o[key].as<bool>(); }

// "date" as YYYY-MM-DD, today without it; read as kelmar-cli reads --date.
CalendarDate DateArg(const Args& o) {
  CliOptions date;
  if (o.Has("date")) date.values["--date"] = o.Text("date");
  return DateOption(date);
}

// The window's fields for the arguments: texts as typed, zone and twilight as chosen.
InputFields FieldsOf(const Args& o) {
  InputFields in;
  in.EditSir = o.Text("lat");
  in.EditDolg = o.Text("lon");
  in.RadioButtonMSK = o.Text("zone.kind", "gmt") == "msk";
  (in.RadioButtonMSK ? in.EditMSK : in.EditGMT) = o.Text("zone.text", "0");
  in.RadioButtonUgol = o.Text("twilight.kind", "angle") != "height";
  if (in.RadioButtonUgol) {
    in.EditUg = o.Text("twilight.text", "6");
  } else {
    in.EditKm = o.Text("twilight.text", "0");
  }
  in.CheckBoxSec = o.Bool("seconds");
  in.ESlot = o.Text("slot", in.ESlot);
  in.EDish = o.Text("dish", in.EDish);
  in.EFreq = o.Text("freq", in.EFreq);
  return in;
}

// Runs one entry point: its value, or {error: message} for any exception.
template <class F>
val Guarded(F body) {
  try {
    return body();
  } catch (const std::exception& e) {
    val out = Obj();
    out.set("error", std::string(e.what()));
    return out;
  } catch (...) {
    val out = Obj();
    out.set("error", std::string("unknown error"));
    return out;
  }
}

// ---- tables

val SunTable(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const std::tm today = o.Has("year") && o.Has("month") ? std::tm{} : Today();
    CalcState st;
    InitRiseAltSin(st);
    st.Names = RussianDateNames();
    st.Year = static_cast<std::uint16_t>(o.IntIn("year", today.tm_year + 1900, 1, 9999));
    st.Month = static_cast<std::uint16_t>(o.IntIn("month", today.tm_mon + 1, 1, 12));
    TextGrid grid = MakeSunGrid();
    Calc(st, in, grid);
    val out = Obj();
    out.set("cells", Cells(grid));
    out.set("locator", st.Locator);
    out.set("days", val::array());  // the typed day rows come with the core's typed results
    return out;
  });
}

val DeclinationOf(const MagneticField& f, const CalendarDate& date) {
  val d = Obj();
  const CompassTrust trust = CompassTrustFor(f);
  d.set("degrees", f.declination);
  d.set("horizontal", f.horizontal);
  d.set("valid", f.valid);
  d.set("line", DeclinationLine(f, date));
  const char* warning = CompassWarning(trust);
  d.set("warning", std::string(warning != nullptr ? warning : ""));
  d.set("usable", trust != CompassTrust::Unusable);
  d.set("note", CompassNote(f, date));
  return d;
}

val ArcSlotOf(const ArcSlot& s) {
  val o = Obj();
  o.set("label", s.label);
  o.set("azimuth", s.azimuth);
  o.set("elevation", s.elevation);
  o.set("correction", s.correction);
  o.set("az", s.az);
  o.set("el", s.el);
  o.set("visible", s.visible);
  return o;
}

val SatTable(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const Observer obs = ObserverFromFields(in);
    val declination = val::null();
    std::optional<double> compass;
    try {
      const CalendarDate date = DateArg(o);
      const MagneticField f = MagneticForFields(in.EditSir, in.EditDolg, date);
      declination = DeclinationOf(f, date);
      if (o.Bool("compass")) {
        if (CompassTrustFor(f) == CompassTrust::Unusable) throw CalcError(kCompassUnusableText);
        compass = f.declination;
      }
    } catch (const CalcError&) {
      // Without a declination the window shows the message in its label and the true azimuths.
      if (o.Bool("compass")) throw;
    }
    TextGrid grid = MakeSatGrid();
    Satel(obs, grid, compass);
    const std::vector<ArcSlot> arc = ArcFromTable(grid, Horizon());
    val slots = val::array();
    for (std::size_t i = 0; i < arc.size(); ++i) {
      const ArcSlot& s = arc[i];
      val slot = Obj();
      slot.set("label", s.label);
      slot.set("position", SlotFromText(s.label));
      slot.set("azimuth", std::isnan(s.az) ? val::null() : val(s.az));
      slot.set("elevation", s.el);
      slot.set("column", static_cast<int>(i / (kSatRows - 1)) * 5);
      slot.set("row", static_cast<int>(i % (kSatRows - 1)) + 1);
      val cells = Obj();
      cells.set("azimuth", s.azimuth);
      cells.set("elevation", s.elevation);
      cells.set("correction", s.correction);
      slot.set("cells", cells);
      slots.call<void>("push", slot);
    }
    val out = Obj();
    out.set("cells", Cells(grid));
    out.set("slots", slots);
    out.set("declination", declination);
    return out;
  });
}

val OutageSlot(const OutageTable& t, int year) {
  val o = Obj();
  o.set("label", t.slot);
  o.set("visible", t.visible);
  o.set("angle", t.angle);
  o.set("azimuth", t.azimuth);
  o.set("elevation", t.elevation);
  o.set("info", OutageInfoLine(t));
  o.set("note", OutageNote(t, year));
  o.set("days", Array(t.rows, [](const OutageRow& r) {
          val d = Obj();
          d.set("date", IsoDate({r.year, r.month, r.day}));
          d.set("start", r.start);
          d.set("peak", r.peak);
          d.set("end", r.end);
          d.set("duration", r.duration);
          d.set("separation", r.separation);
          return d;
        }));
  o.set("cells", Cells(MakeOutageGrid(t)));
  return o;
}

val Outage(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const int year = o.IntIn("year", Today().tm_year + 1900, 1, 9998);
    val slots = val::array();
    if (in.ESlot == "all") {
      // Every visible slot of the satellite table, in the table's order.
      const Observer obs = ObserverFromFields(in);
      const double angle = OutageAngleOf(in);
      const double zone = ZoneHoursOf(in);
      TextGrid grid = MakeSatGrid();
      Satel(obs, grid);
      for (const ArcSlot& s : ArcFromTable(grid, Horizon())) {
        const OutageTable t = ComputeOutages(obs, zone, SlotFromText(s.label), angle, year);
        if (t.visible) slots.call<void>("push", OutageSlot(t, year));
      }
    } else {
      slots.call<void>("push", OutageSlot(ComputeOutages(in, year), year));
    }
    val out = Obj();
    out.set("slots", slots);
    return out;
  });
}

val Declination(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const CalendarDate date = DateArg(o);
    return DeclinationOf(MagneticForFields(o.Text("lat"), o.Text("lon"), date), date);
  });
}

val Locator(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const Observer obs = ObserverFromFields(FieldsOf(o));
    return val(LocatorFromCoords(obs.LatDeg, obs.LonDeg));
  });
}

val Coordinates(std::string text) {
  return Guarded([&] {
    const std::optional<CoordTexts> c = LocatorToCoords(text.starts_with(' ') ? text : " " + text);
    if (!c) throw CalcError(kInvalidLocator);
    val out = Obj();
    out.set("lat", c->lat);
    out.set("lon", c->lon);
    return out;
  });
}

// ---- pictures

val SunPointOf(const SunPoint& p) {
  val o = Obj();
  o.set("hours", p.hours);
  o.set("az", p.az);
  o.set("el", p.el);
  return o;
}

val SunDayValue(const SunDay& d) {
  val o = Obj();
  o.set("path", Array(d.path, SunPointOf));
  o.set("rises", Array(d.rises, SunPointOf));
  o.set("sets", Array(d.sets, SunPointOf));
  return o;
}

val SkySceneOf(const SkyScene& s) {
  val o = Obj();
  o.set("arc", Array(s.arc, ArcSlotOf));
  o.set("highlighted", s.highlighted);
  o.set("day", SunDayValue(s.day));
  o.set("june", SunDayValue(s.june));
  o.set("december", SunDayValue(s.december));
  o.set("now", s.now ? SunPointOf(*s.now) : val::null());
  o.set("horizon", Array(s.horizon.Points(), [](const Horizon::Point& p) {
          val h = Obj();
          h.set("az", p.az);
          h.set("el", p.el);
          return h;
        }));
  o.set("southern", s.southern);
  return o;
}

val SkySceneFor(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const CalendarDate date = DateArg(o);
    std::optional<double> now;
    if (o.Has("now")) now = StrToFloat(o.Text("now"));
    SkyScene scene = MakeSkyScene(in, date.year, date.month, date.day, Horizon::Parse(o.Text("horizon")), now);
    if (o.Has("slot") && !o.Text("slot").empty()) {
      const double east = SlotFromText(o.Text("slot"));
      for (std::size_t i = 0; i < scene.arc.size(); ++i)
        if (ParseSlot(scene.arc[i].label) == east) scene.highlighted = static_cast<int>(i);
    }
    val out = SkySceneOf(scene);
    out.set("zone", ZoneTitle(in));
    return out;
  });
}

val YearSceneFor(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const YearScene scene = MakeYearScene(in, o.IntIn("year", Today().tm_year + 1900, 1, 9999));
    val out = Obj();
    out.set("year", scene.year);
    out.set("zone", ZoneTitle(in));
    out.set("days", Array(scene.days, [](const DaylightDay& d) {
              val day = Obj();
              day.set("rises", Numbers(d.rises));
              day.set("sets", Numbers(d.sets));
              day.set("dawns", Numbers(d.dawns));
              day.set("dusks", Numbers(d.dusks));
              day.set("noon", d.noon);
              day.set("upAtMidnight", d.up_at_midnight);
              day.set("lightAtMidnight", d.light_at_midnight);
              return day;
            }));
    return out;
  });
}

// ---- kelmar.INI and the place list

val PlacesValue(const PlaceList& places) {
  return Array(places.items, [](const Place& p) {
    val o = Obj();
    o.set("name", p.name);
    o.set("lat", p.lat);
    o.set("lon", p.lon);
    return o;
  });
}

PlaceList PlacesOf(const val& a) {
  PlaceList places;
  if (a.isUndefined() || a.isNull()) return places;
  const int n = a["length"].as<int>();
  for (int i = 0; i < n; ++i) places.Append(Text(a[i], "name"), Text(a[i], "lat"), Text(a[i], "lon"));
  return places;
}

std::string BytesOf(const val& bytes) {
  if (bytes.isUndefined() || bytes.isNull()) return {};
  const std::vector<std::uint8_t> v = emscripten::convertJSArrayToNumberVector<std::uint8_t>(bytes);
  return std::string(v.begin(), v.end());
}

val ReadIni(val bytes) {
  return Guarded([&] {
    const std::string b = BytesOf(bytes);
    LoadedSettings s = LoadedFromImage(SettingsImage::FromBytes(b));
    s.cut_short = b.find('\0') != std::string::npos;
    val form = Obj();
    form.set("twilightHeight", s.twilight_height);
    form.set("twilightAngle", s.twilight_angle);
    form.set("zoneMsk", s.zone_msk);
    form.set("zoneGmt", s.zone_gmt);
    form.set("zoneIsGmt", s.zone_is_gmt);
    form.set("twilightByAngle", s.twilight_by_angle);
    form.set("latitude", s.latitude);
    form.set("longitude", s.longitude);
    form.set("outageSlot", s.outage_slot);
    form.set("dish", s.dish);
    form.set("frequency", s.frequency);
    form.set("compassAzimuths", s.compass_azimuths);
    val horizons = Obj();
    for (const auto& [name, text] : s.horizons) horizons.set(name, text);
    val out = Obj();
    out.set("places", PlacesValue(s.places));
    out.set("selected", s.selected);
    out.set("form", form);
    out.set("horizons", horizons);
    out.set("cutShort", s.cut_short);
    out.set("caseTwins", CaseTwinsMessage(s.places).value_or(""));
    return out;
  });
}

val WriteIni(val state, val previous) {
  return Guarded([&] {
    SettingsImage image = SettingsImage::FromBytes(BytesOf(previous));
    const PlaceList places = PlacesOf(state["places"]);
    InputFields in;
    const val form = Has(state, "form") ? state["form"] : Obj();
    in.EditKm = Text(form, "twilightHeight", "0");
    in.EditUg = Text(form, "twilightAngle", "0");
    in.EditMSK = Text(form, "zoneMsk", "0");
    in.EditGMT = Text(form, "zoneGmt", "0");
    in.RadioButtonMSK = !Bool(form, "zoneIsGmt");
    in.RadioButtonUgol = Bool(form, "twilightByAngle");
    in.ESlot = Text(form, "outageSlot", in.ESlot);
    in.EDish = Text(form, "dish", in.EDish);
    in.EFreq = Text(form, "frequency", in.EFreq);
    in.CheckBoxMagAz = Bool(form, "compassAzimuths");
    HorizonTexts horizons;
    const bool with_horizons = Has(state, "horizons");
    if (with_horizons) {
      const val keys = val::global("Object").call<val>("keys", state["horizons"]);
      for (int i = 0; i < keys["length"].as<int>(); ++i) {
        const std::string name = keys[i].as<std::string>();
        horizons[name] = state["horizons"][name].as<std::string>();
      }
    }
    StoreIntoImage(image, places, Int(state, "selected", 0), in, with_horizons ? &horizons : nullptr);
    const std::string bytes = image.ToBytes();
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data())))
        .call<val>("slice");
  });
}

val CheckPlaceName(val places, std::string name) {
  return Guarded([&] { return val(CheckNewName(PlacesOf(places), name).value_or("")); });
}

val OutcomeOf(const PlaceOutcome& r, const PlaceList& places, const CalcState& st, const InputFields& in) {
  val out = Obj();
  out.set("places", PlacesValue(places));
  out.set("selected", st.PlaceIndex);
  out.set("lat", in.EditSir);
  out.set("lon", in.EditDolg);
  out.set("message", r.message);
  return out;
}

val AddPlace(val o) {
  return Guarded([&] {
    PlaceList places = PlacesOf(o["places"]);
    const int before = places.Count();
    CalcState st;
    InputFields in;
    in.EditSir = Text(o, "lat");
    in.EditDolg = Text(o, "lon");
    const PlaceOutcome r = FinishAddPlace(places, st, in, Text(o, "name"));
    val out = OutcomeOf(r, places, st, in);
    out.set("ok", places.Count() > before);
    return out;
  });
}

val ChoosePlace(val o) {
  return Guarded([&] {
    const PlaceList places = PlacesOf(o["places"]);
    CalcState st;
    InputFields in;
    const PlaceOutcome r = ComboBoxPunktChange(places, st, in, Int(o, "index", 0));
    return OutcomeOf(r, places, st, in);
  });
}

val DeletePlace(val o) {
  return Guarded([&] {
    PlaceList places = PlacesOf(o["places"]);
    const int before = places.Count();
    CalcState st;
    st.PlaceIndex = Int(o, "selected", 0);
    InputFields in;
    const PlaceOutcome r = ButtonDeleteClick(places, st, in, true);
    val out = OutcomeOf(r, places, st, in);
    out.set("ok", places.Count() < before);
    return out;
  });
}

val DeleteQuestionFor(val o) {
  return Guarded([&] {
    CalcState st;
    st.PlaceIndex = Int(o, "selected", 0);
    return val(DeleteQuestion(PlacesOf(o["places"]), st).value_or(""));
  });
}

// For bench/web_sun_bench.mjs: the sun table of the arguments computed `times` times inside
// the module, without the trip of its cells into JS; the last grid's last cell is returned.
val BenchSunTable(std::string packed, int times) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    CalcState st;
    InitRiseAltSin(st);
    st.Year = static_cast<std::uint16_t>(o.Int("year", 2026));
    st.Month = static_cast<std::uint16_t>(o.Int("month", 7));
    TextGrid grid = MakeSunGrid();
    for (int i = 0; i < times; ++i) Calc(st, in, grid);
    return val(grid.Cell(8, 31));
  });
}

// ---- kelmar-cli

val Cli(val args) {
  return Guarded([&] {
    const std::vector<std::string> a = emscripten::vecFromJSArray<std::string>(args);
    std::ostringstream out, err;
    const int code = RunCli(a, out, err);
    val r = Obj();
    r.set("code", code);
    r.set("stdout", out.str());
    r.set("stderr", err.str());
    return r;
  });
}

}  // namespace
}  // namespace kelmar::web

EMSCRIPTEN_BINDINGS(kelmar) {
  using namespace kelmar::web;
  emscripten::function("sunTable", &SunTable);
  emscripten::function("satTable", &SatTable);
  emscripten::function("outage", &Outage);
  emscripten::function("declination", &Declination);
  emscripten::function("locator", &Locator);
  emscripten::function("coordinates", &Coordinates);
  emscripten::function("skyScene", &SkySceneFor);
  emscripten::function("yearScene", &YearSceneFor);
  emscripten::function("readIni", &ReadIni);
  emscripten::function("writeIni", &WriteIni);
  emscripten::function("checkPlaceName", &CheckPlaceName);
  emscripten::function("addPlace", &AddPlace);
  emscripten::function("choosePlace", &ChoosePlace);
  emscripten::function("deletePlace", &DeletePlace);
  emscripten::function("deleteQuestion", &DeleteQuestionFor);
  emscripten::function("cli", &Cli);
  emscripten::function("benchSunTable", &BenchSunTable);
}
