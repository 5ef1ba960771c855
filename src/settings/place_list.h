#pragma once
// The stored places in the order they were stored: the drop-down ComboBoxPunkt shows the names,
// the hidden lists ListBox1 and ListBox2 hold the latitude and longitude texts.
#include <string>
#include <vector>

namespace kelmar {

struct Place {
  std::string name;  // UTF-8, as shown in the drop-down
  std::string lat;   // latitude text, degrees north, "." separator
  std::string lon;   // longitude text, degrees east

  bool operator==(const Place&) const = default;
};

struct PlaceList {
  std::vector<Place> items;

  int Count() const { return static_cast<int>(items.size()); }
  bool Empty() const { return items.empty(); }
  const Place& operator[](int index) const { return items[static_cast<std::size_t>(index)]; }
  auto begin() const { return items.begin(); }
  auto end() const { return items.end(); }
  void Clear() { items.clear(); }
  void Append(std::string name, std::string lat, std::string lon);
  void Erase(int index);

  bool operator==(const PlaceList&) const = default;
};

}  // namespace kelmar
