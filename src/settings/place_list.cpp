#include "settings/place_list.h"

namespace kelmar {

void PlaceList::Append(std::string name, std::string lat, std::string lon) {
  items.push_back(Place{std::move(name), std::move(lat), std::move(lon)});
}

void PlaceList::Erase(int index) {
  if (index < 0 || index >= Count()) return;
  items.erase(items.begin() + index);
}

}  // namespace kelmar
