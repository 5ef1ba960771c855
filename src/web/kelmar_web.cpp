// The JavaScript API of the WebAssembly module: each entry point takes plain JS values (the
// window's field texts and choices), runs the same core as the window and kelmar-cli, and
// returns plain JS objects. kelmar.js wraps these; an error comes back as {error: message}
// and kelmar.js throws it as a JS Error, so no C++ exception ever reaches JS.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "core/aim_turn.h"
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
#include "core/sun_align.h"
#include "core/sun_table.h"
#include "core/table_text.h"
#include "core/text_grid.h"
#include "core/utf8.h"
#include "settings/cp1251.h"
#include "settings/horizon_profile.h"
#include "settings/horizons.h"
#include "settings/place_ops.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"
#include "settings/slot_names.h"

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

// A grid's cells as UTF-16 code units back to back, with where each cell ends (row by row):
// kelmar.js (its kelmarRows) reads them as one string and cuts it at the ends. A call per cell,
// embind's own string copy, or UTF-8 cut at separators would cost more than the table itself.
// The buffers are the module's, reused from call to call; JS reads them while the call lasts.
struct GridText {
  std::vector<char16_t> units;
  std::vector<std::uint32_t> ends;
};

const GridText& TextOf(const TextGrid& grid) {
  static GridText text;
  std::size_t bytes = 0;
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c) bytes += grid.Cell(c, r).size();
  text.units.resize(bytes);
  text.ends.resize(static_cast<std::size_t>(grid.RowCount()) * static_cast<std::size_t>(grid.ColCount()));
  char16_t* const begin = text.units.data();
  char16_t* out = begin;
  std::uint32_t* end = text.ends.data();
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = 0; c < grid.ColCount(); ++c) {
      out = WriteUtf16(grid.Cell(c, r), out);
      *end++ = static_cast<std::uint32_t>(out - begin);
    }
  }
  text.units.resize(static_cast<std::size_t>(out - begin));
  return text;
}

// Calls `finish` (a function of kelmar.js) with the grid's cells (see GridText), its shape and
// `more`.
template <class... More>
val WithCells(const val& finish, const TextGrid& grid, More&&... more) {
  const GridText& text = TextOf(grid);
  return finish(val(emscripten::typed_memory_view(text.units.size(), reinterpret_cast<const std::uint16_t*>(text.units.data()))),
                val(emscripten::typed_memory_view(text.ends.size(), text.ends.data())), grid.ColCount(), grid.RowCount(),
                std::forward<More>(more)...);
}

// The grid as rows of cell texts.
val Cells(const TextGrid& grid) {
  static const val rows = val::module_property("kelmarRows");
  return WithCells(rows, grid);
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

// The argument `key` ("date" unless told) as YYYY-MM-DD, today without it; read as kelmar-cli
// reads --date.
CalendarDate DateArg(const Args& o, const std::string& key = "date") {
  CliOptions date;
  if (o.Has(key)) date.values["--date"] = o.Text(key);
  return DateOption(date);
}

// The window's fields for the arguments: texts as typed, zone and twilight as chosen.
InputFields FieldsOf(const Args& o) {
  InputFields in;
  in.latitude = o.Text("lat");
  in.longitude = o.Text("lon");
  in.zone = o.Text("zone.kind", "gmt") == "msk" ? ZoneKind::FromMoscow : ZoneKind::FromGmt;
  (in.FromMoscow() ? in.msk_offset : in.gmt_offset) = o.Text("zone.text", "0");
  in.twilight = o.Text("twilight.kind", "angle") != "height" ? TwilightKind::ByAngle : TwilightKind::ByHeight;
  if (in.ByAngle()) {
    in.twilight_angle = o.Text("twilight.text", "6");
  } else {
    in.twilight_height = o.Text("twilight.text", "0");
  }
  in.seconds = o.Bool("seconds");
  in.slot = o.Text("slot", in.slot);
  in.dish = o.Text("dish", in.dish);
  in.frequency = o.Text("freq", in.frequency);
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

int PolarCode(PolarState state) {
  switch (state) {
    case PolarState::Night: return 1;
    case PolarState::Day: return 2;
    case PolarState::None: break;
  }
  return 0;
}

// The sun table's typed rows as one run of numbers, which kelmar.js (sunDays) turns into the
// day objects: a property set from here per value cost more than the table itself. Per day:
//   day, weekday (0 = Monday), rise count, (hours, has azimuth, azimuth) per rise, set count,
//   the same per set, noon, has day length, day length, sun polar (0 none, 1 night, 2 day),
//   dawn count, hours per dawn, dusk count, hours per dusk, twilight polar.
const std::vector<double>& SunDays(const std::vector<SunDayRow>& days) {
  static std::vector<double> v;  // the module's, reused from call to call
  v.clear();
  const auto crossings = [](const Crossings& all, bool rise, bool with_azimuth) {
    const std::size_t count_at = v.size();
    v.push_back(0);
    for (const Crossing& c : all) {
      if (c.rise != rise) continue;
      v[count_at] += 1;
      v.push_back(c.hours);
      if (with_azimuth) {
        v.push_back(c.has_azimuth ? 1 : 0);
        v.push_back(c.has_azimuth ? c.azimuth : 0);
      }
    }
  };
  for (const SunDayRow& d : days) {
    v.push_back(d.day);
    v.push_back(d.weekday);
    crossings(d.sun, true, true);
    crossings(d.sun, false, true);
    v.push_back(d.noon);
    v.push_back(d.day_length ? 1 : 0);
    v.push_back(d.day_length.value_or(0));
    v.push_back(PolarCode(d.sun_polar));
    crossings(d.twilight, true, false);
    crossings(d.twilight, false, false);
    v.push_back(PolarCode(d.twilight_polar));
  }
  return v;
}

val SunTable(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const std::tm today = o.Has("year") && o.Has("month") ? std::tm{} : Today();
    SunMonth month;
    ComputeSunMonth(in, o.IntIn("year", today.tm_year + 1900, 1, 9999), o.IntIn("month", today.tm_mon + 1, 1, 12), month);
    // One grid for every call, written over as the window's is: its cells keep their storage.
    static TextGrid grid = MakeSunGrid();
    FormatSunTable(month, in.seconds, RussianDateNames(), grid);
    // The whole answer is put together in kelmar.js (kelmarSunResult), in one call, from views
    // of the cells' text and the days' numbers.
    static const val result = val::module_property("kelmarSunResult");
    const std::vector<double>& days = SunDays(month.days);
    return WithCells(result, grid, val(emscripten::typed_memory_view(days.size(), days.data())), month.locator,
                     ZoneText(in));
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
  d.set("usable", CompassUsable(f));
  d.set("note", CompassNote(f, date));
  return d;
}

val ArcSlotOf(const ArcSlot& s) {
  val o = Obj();
  o.set("label", s.label);
  o.set("position", SlotEast(s.lon));
  o.set("azimuth", s.azimuth);
  o.set("elevation", s.elevation);
  o.set("correction", s.correction);
  o.set("az", s.az);
  o.set("el", s.el);
  o.set("visible", s.visible);
  return o;
}

const char* SlotKindText(SlotKind kind) {
  switch (kind) {
    case SlotKind::Equator: return "equator";
    case SlotKind::Zenith: return "zenith";
    case SlotKind::Pole: return "pole";
    case SlotKind::Normal: break;
  }
  return "normal";
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
      const MagneticField f = MagneticForFields(in.latitude, in.longitude, date);
      declination = DeclinationOf(f, date);
      if (o.Bool("compass")) {
        if (!CompassUsable(f)) throw CalcError(kCompassUnusableText);
        compass = f.declination;
      }
    } catch (const CalcError&) {
      // Without a declination the window shows the message in its label and the true azimuths.
      if (o.Bool("compass")) throw;
    }
    const kelmar::SatTable table = SatelliteSlots(obs, compass);
    TextGrid grid = MakeSatGrid();
    FormatSatTable(table, grid);
    val slots = val::array();
    for (int i = 0; i < kSlotCount; ++i) {
      const SatSlot& s = table.positions[static_cast<std::size_t>(i)];
      const auto [col, row] = SlotCellOf(i);
      const auto number = [](double v) { return std::isnan(v) ? val::null() : val(v); };
      val slot = Obj();
      slot.set("label", grid.Cell(col, row));
      slot.set("position", s.lon == -180 ? 180 : s.lon);
      slot.set("azimuth", number(s.azimuth));
      slot.set("elevation", s.elevation);
      slot.set("correction", number(s.correction));
      slot.set("kind", std::string(SlotKindText(s.kind)));
      slot.set("belowHorizon", s.below_horizon);
      slot.set("column", col);
      slot.set("row", row);
      val cells = Obj();
      cells.set("azimuth", grid.Cell(col + 1, row));
      cells.set("elevation", grid.Cell(col + 2, row));
      cells.set("correction", grid.Cell(col + 3, row));
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
  o.set("cut", std::string(HasCut(t) ? kOutageCutNote : ""));
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
    if (in.slot == "all") {
      // Every visible slot of the satellite table, in the table's order.
      const Observer obs = ObserverFromFields(in);
      const double angle = OutageAngleOf(in);
      const double zone = ZoneHoursOf(in);
      for (const SatSlot& s : SatelliteSlots(obs).positions) {
        const OutageTable t = ComputeOutages(obs, zone, s.lon == -180 ? 180.0 : s.lon, angle, year);
        if (t.visible) slots.call<void>("push", OutageSlot(t, year));
      }
    } else {
      slots.call<void>("push", OutageSlot(ComputeOutages(in, year), year));
    }
    val out = Obj();
    out.set("slots", slots);
    out.set("zone", ZoneText(in));
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
    const CoordTexts c = CoordsOfLocator(text);
    val out = Obj();
    out.set("lat", c.lat);
    out.set("lon", c.lon);
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

val AlignEventOf(const AlignEvent& e) {
  val a = Obj();
  a.set("kind", std::string(e.kind == AlignKind::Sun ? "sun" : "shadow"));
  a.set("seconds", e.seconds);
  a.set("text", AlignEventText(e));
  a.set("hours", e.hours);
  a.set("azimuth", e.azimuth);
  a.set("elevation", e.elevation);
  a.set("aboveHorizon", e.above_horizon);
  a.set("aboveMask", e.above_mask);
  return a;
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
  o.set("align", Array(s.align, AlignEventOf));
  return o;
}

val SkySceneFor(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const CalendarDate date = DateArg(o);
    std::optional<double> now;
    if (o.Has("now")) now = StrToFloat(o.Text("now"));
    if (o.Has("utcMs")) now = NowHoursOn(in, date, std::llround(StrToFloat(o.Text("utcMs"))));
    SkyScene scene = MakeSkyScene(in, date.year, date.month, date.day, Horizon::Parse(o.Text("horizon")), now);
    if (o.Has("slot")) RingSlot(scene, in, date);
    val out = SkySceneOf(scene);
    out.set("zone", ZoneText(in));
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
    out.set("zone", ZoneText(in));
    // The day to mark: "today" (the page's local date) within the year, -1 for none.
    out.set("today", o.Has("today") ? DayOfYear(scene.year, DateArg(o, "today")) : -1);
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

// The "Names" section as {"36 E": "Eutelsat 36"} and back.
val NamesValue(const SlotNames& names) {
  val o = Obj();
  for (const auto& [position, name] : names) o.set(position, name);
  return o;
}

SlotNames NamesOf(const val& o) {
  SlotNames names;
  if (o.isUndefined() || o.isNull()) return names;
  const val keys = val::global("Object").call<val>("keys", o);
  for (int i = 0; i < keys["length"].as<int>(); ++i) {
    const std::string key = keys[i].as<std::string>();
    names[key] = o[key].as<std::string>();
  }
  return names;
}

val ReadIni(val bytes) {
  return Guarded([&] {
    // Empty bytes are a missing file: the starter file's values, as the desktop starts.
    const LoadedSettings s = LoadedFromBytes(BytesOf(bytes));
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
    out.set("names", NamesValue(s.names));
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
    in.twilight_height = Text(form, "twilightHeight", "0");
    in.twilight_angle = Text(form, "twilightAngle", "0");
    in.msk_offset = Text(form, "zoneMsk", "0");
    in.gmt_offset = Text(form, "zoneGmt", "0");
    in.zone = Bool(form, "zoneIsGmt") ? ZoneKind::FromGmt : ZoneKind::FromMoscow;
    in.twilight = Bool(form, "twilightByAngle") ? TwilightKind::ByAngle : TwilightKind::ByHeight;
    in.slot = Text(form, "outageSlot", in.slot);
    in.dish = Text(form, "dish", in.dish);
    in.frequency = Text(form, "frequency", in.frequency);
    in.compass = Bool(form, "compassAzimuths");
    HorizonTexts horizons;
    const bool with_horizons = Has(state, "horizons");
    if (with_horizons) {
      const val keys = val::global("Object").call<val>("keys", state["horizons"]);
      for (int i = 0; i < keys["length"].as<int>(); ++i) {
        const std::string name = keys[i].as<std::string>();
        horizons[name] = state["horizons"][name].as<std::string>();
      }
    }
    const bool with_names = Has(state, "names");
    const SlotNames names = with_names ? NamesOf(state["names"]) : SlotNames{};
    StoreIntoImage(image, places, Int(state, "selected", 0), in, with_horizons ? &horizons : nullptr,
                   with_names ? &names : nullptr);
    const std::string bytes = image.ToBytes();
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data())))
        .call<val>("slice");
  });
}

val CheckPlaceName(val places, std::string name) {
  return Guarded([&] { return val(CheckNewName(PlacesOf(places), name).value_or("")); });
}

val OutcomeOf(const PlaceOutcome& r, const PlaceList& places, int selected, const InputFields& in) {
  val out = Obj();
  out.set("places", PlacesValue(places));
  out.set("selected", selected);
  out.set("lat", in.latitude);
  out.set("lon", in.longitude);
  out.set("message", r.message);
  return out;
}

val AddPlace(val o) {
  return Guarded([&] {
    PlaceList places = PlacesOf(o["places"]);
    const int before = places.Count();
    int selected = 0;
    InputFields in;
    in.latitude = Text(o, "lat");
    in.longitude = Text(o, "lon");
    const PlaceOutcome r = FinishAddPlace(places, selected, in, Text(o, "name"));
    val out = OutcomeOf(r, places, selected, in);
    out.set("ok", places.Count() > before);
    return out;
  });
}

val ChoosePlace(val o) {
  return Guarded([&] {
    const PlaceList places = PlacesOf(o["places"]);
    int selected = 0;
    InputFields in;
    const PlaceOutcome r = SelectPlace(places, selected, in, Int(o, "index", 0));
    return OutcomeOf(r, places, selected, in);
  });
}

val DeletePlace(val o) {
  return Guarded([&] {
    PlaceList places = PlacesOf(o["places"]);
    const int before = places.Count();
    int selected = Int(o, "selected", 0);
    InputFields in;
    const PlaceOutcome r = kelmar::DeletePlace(places, selected, in, true);
    val out = OutcomeOf(r, places, selected, in);
    out.set("ok", places.Count() < before);
    return out;
  });
}

val DeleteQuestionFor(val o) {
  return Guarded([&] { return val(DeleteQuestion(PlacesOf(o["places"]), Int(o, "selected", 0)).value_or("")); });
}

// For bench/web_sun_bench.mjs: the sun table of the arguments computed `times` times inside
// the module, without the trip of its cells into JS; the last grid's last cell is returned.
val BenchSunTable(std::string packed, int times) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    CalcState st;
    st.Year = static_cast<std::uint16_t>(o.Int("year", 2026));
    st.Month = static_cast<std::uint16_t>(o.Int("month", 7));
    TextGrid grid = MakeSunGrid();
    for (int i = 0; i < times; ++i) Calc(st, in, grid);
    return val(grid.Cell(8, 31));
  });
}

// ---- on the roof: one slot to aim at, the Sun on its azimuth, the phone's turn

// A number the page passes as text; NaN for none or a bad one.
double NumberArg(const Args& o, const std::string& key) {
  if (!o.Has(key)) return std::nan("");
  const std::string text = o.Text(key);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end != text.c_str() && *end == '\0' ? v : std::nan("");
}

val Pointing(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const Observer obs = ObserverFromFields(in);
    const double east = SlotFromText(in.slot);
    const CalendarDate date = DateArg(o);
    val declination = val::null();
    std::optional<double> compass;
    try {
      const MagneticField f = MagneticForFields(in.latitude, in.longitude, date);
      declination = DeclinationOf(f, date);
      if (CompassUsable(f)) compass = f.declination;
    } catch (const CalcError&) {
      // No model for the day: the true azimuth alone, the message in declination's place.
    }
    const auto number = [](double v) { return std::isnan(v) ? val::null() : val(v); };
    const SatSlot s = PointAtSlot(obs, east);
    val cells = Obj();
    std::string az, el, corr;
    WriteSlotCells(s, false, az, el, corr);
    cells.set("azimuth", az);
    cells.set("elevation", el);
    cells.set("correction", corr);
    val out = Obj();
    out.set("slot", SlotText(east));
    out.set("position", east);
    out.set("kind", std::string(SlotKindText(s.kind)));
    out.set("belowHorizon", s.below_horizon);
    out.set("note", s.below_horizon ? HiddenSlotMessage(SlotText(east)) : std::string());
    out.set("azimuth", number(s.azimuth));
    out.set("elevation", s.elevation);
    out.set("correction", number(s.correction));
    out.set("compassAzimuth", val::null());
    cells.set("compass", std::string());
    if (compass) {
      const SatSlot m = PointAtSlot(obs, east, compass);
      std::string maz, unused_el, unused_corr;
      WriteSlotCells(m, true, maz, unused_el, unused_corr);
      out.set("compassAzimuth", number(m.azimuth));
      cells.set("compass", maz);
    }
    out.set("cells", cells);
    out.set("declination", declination);
    return out;
  });
}

val Alignment(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const InputFields in = FieldsOf(o);
    const AlignTable t = ComputeAlignment(in, Horizon::Parse(o.Text("horizon")), DateArg(o), o.IntIn("days", 1, 1, 366));
    val out = Obj();
    out.set("slot", t.slot);
    out.set("azimuth", t.azimuth);
    out.set("elevation", t.elevation);
    out.set("days", Array(t.days, [](const AlignDay& d) {
              val day = Obj();
              day.set("date", IsoDate(d.date));
              day.set("line", AlignLine(d));
              day.set("events", Array(d.events, AlignEventOf));
              return day;
            }));
    out.set("cells", Cells(MakeAlignGrid(t)));
    return out;
  });
}

const char* SideText(TurnSide side) {
  switch (side) {
    case TurnSide::Left: return "left";
    case TurnSide::Right: return "right";
    case TurnSide::On: break;
  }
  return "on";
}

val Aim(std::string packed) {
  return Guarded([&] {
    const Args o(packed);
    const double target = NumberArg(o, "target");
    const double alpha = NumberArg(o, "alpha"), compass = NumberArg(o, "heading");
    const double beta = NumberArg(o, "beta"), gamma = NumberArg(o, "gamma");
    const double heading = !std::isnan(compass) ? compass : std::isnan(alpha) ? alpha : HeadingFromAlpha(alpha);
    const bool flat = !std::isnan(beta) && !std::isnan(gamma) && HeldFlat(beta, gamma);
    val out = Obj();
    out.set("heading", std::isnan(heading) ? val::null() : val(heading));
    out.set("flat", flat);
    if (std::isnan(heading) || std::isnan(target) || !flat) {
      out.set("side", val::null());
      return out;
    }
    const AimTurn t = TurnToward(heading, target);
    out.set("turn", t.turn);
    out.set("degrees", t.degrees);
    out.set("side", std::string(SideText(t.side)));
    out.set("words", t.words);
    out.set("headingText", t.heading_text);
    return out;
  });
}

val HorizonFromProfileText(std::string text) {
  return Guarded([&] { return val(HorizonFromProfile(text)); });
}

val SlotNamesAt(val names, val positions) {
  return Guarded([&] {
    const SlotNames n = NamesOf(names);
    const std::vector<int> p = emscripten::vecFromJSArray<int>(positions);
    return Array(p, [&](int slot) { return val(NamesAtSlot(n, slot)); });
  });
}

val SlotNameOf(val names, std::string slot) {
  return Guarded([&] {
    const std::optional<double> east = ParseSlot(slot);
    return val(east ? NameOf(NamesOf(names), *east) : std::string());
  });
}

val NamedPosition(val names, int table_slot) {
  return Guarded([&] {
    const SlotNames n = NamesOf(names);
    const double position = NamedPositionAt(n, table_slot);
    val out = Obj();
    out.set("position", position);
    out.set("text", SlotText(position));
    out.set("name", NameOf(n, position));
    return out;
  });
}

val SetSlotNameOf(val names, double position, std::string name) {
  return Guarded([&] {
    SlotNames n = NamesOf(names);
    SetSlotName(n, position, name);
    return NamesValue(n);
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
  emscripten::function("pointing", &Pointing);
  emscripten::function("alignment", &Alignment);
  emscripten::function("aim", &Aim);
  emscripten::function("horizonFromProfile", &HorizonFromProfileText);
  emscripten::function("slotNamesAt", &SlotNamesAt);
  emscripten::function("slotName", &SlotNameOf);
  emscripten::function("namedPosition", &NamedPosition);
  emscripten::function("setSlotName", &SetSlotNameOf);
  emscripten::function("benchSunTable", &BenchSunTable);
}
