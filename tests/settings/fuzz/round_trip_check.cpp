#include "round_trip_check.h"

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "settings/settings_file.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

std::string Show(const PlaceList& p) {
  std::string s;
  for (const Place& x : p) s += "{" + x.name + "|" + x.lat + "|" + x.lon + "}";
  return s;
}

// The file keeps one line per name regardless of case: places of equal names become one, at
// the first one's position, named as the last one (they already share its coordinates).
PlaceList Merged(const PlaceList& p) {
  PlaceList out;
  for (const Place& x : p) {
    bool merged = false;
    for (Place& y : out.items) {
      if (SameKey(y.name, x.name)) {
        y.name = x.name;
        merged = true;
        break;
      }
    }
    if (!merged) out.items.push_back(x);
  }
  return out;
}

std::string SaveBytes(std::string_view old_bytes, const LoadedSettings& s) {
  PlaceList places;
  CalcState st;
  InputFields in;
  ApplyLoadedSettings(s, places, st, in);
  SettingsImage image = SettingsImage::FromBytes(old_bytes);
  StoreIntoImage(image, places, st.PlaceIndex, in);
  return image.ToBytes();
}

}  // namespace

std::string CheckSettingsRoundTrip(std::string_view bytes) {
  const LoadedSettings first = LoadedFromImage(SettingsImage::FromBytes(bytes));
  const PlaceList& p = first.places;
  for (const Place& x : p)
    if (x.name.empty()) return "a place without a name";
  if (first.selected < 0 || (first.selected >= p.Count() && !(p.Empty() && first.selected == 0)))
    return "index out of range: " + std::to_string(first.selected);

  const std::string saved = SaveBytes(bytes, first);
  const LoadedSettings second = LoadedFromImage(SettingsImage::FromBytes(saved));
  const PlaceList expected = Merged(p);
  if (!(second.places == expected))
    return "places changed: " + Show(expected) + " became " + Show(second.places);
  if (second.twilight_height != first.twilight_height || second.twilight_angle != first.twilight_angle ||
      second.zone_msk != first.zone_msk || second.zone_gmt != first.zone_gmt)
    return "a Form text changed";
  if (second.zone_is_gmt != first.zone_is_gmt || second.twilight_by_angle != first.twilight_by_angle ||
      second.compass_azimuths != first.compass_azimuths)
    return "a choice changed";
  // The selection stays on its place's line wherever the merge puts it.
  int index = 0;
  for (int j = 0; j < expected.Count() && !p.Empty(); ++j)
    if (SameKey(expected[j].name, p[first.selected].name))
      index = j;
  if (second.selected != index) return "index changed";

  // A file the program wrote itself is stable from the next save on.
  const std::string again = SaveBytes(saved, second);
  if (second.selected == first.selected && SaveBytes(again, second) != again)
    return "saving is not stable";
  return {};
}

}  // namespace kelmar
