#pragma once
// The stored places: names (the drop-down ComboBoxPunkt), latitude texts (ListBox1) and
// longitude texts (ListBox2), index-aligned, in the order the places were stored.
#include <string>
#include <vector>

namespace kelmar {

struct PlaceList {
  std::vector<std::string> names;  // UTF-8, as shown in the drop-down
  std::vector<std::string> lats;   // latitude texts, degrees north, "." separator
  std::vector<std::string> lons;   // longitude texts, degrees east

  int Count() const { return static_cast<int>(names.size()); }
  bool Empty() const { return names.empty(); }
  void Clear();
  void Append(std::string name, std::string lat, std::string lon);
  void Erase(int index);

  bool operator==(const PlaceList&) const = default;
};

}  // namespace kelmar
