#include "settings/place_list.h"

namespace kelmar {

void PlaceList::Clear() {
  names.clear();
  lats.clear();
  lons.clear();
}

void PlaceList::Append(std::string name, std::string lat, std::string lon) {
  names.push_back(std::move(name));
  lats.push_back(std::move(lat));
  lons.push_back(std::move(lon));
}

void PlaceList::Erase(int index) {
  if (index < 0 || index >= Count()) return;
  names.erase(names.begin() + index);
  lats.erase(lats.begin() + index);
  lons.erase(lons.begin() + index);
}

}  // namespace kelmar
