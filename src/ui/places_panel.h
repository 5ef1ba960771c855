#pragma once
// The places box: the drop-down of stored places, the coordinates of the selected one and the
// "Добавить"/"Удалить" buttons, over the place-list rules of settings/place_ops.
#include <string>

#include "settings/place_list.h"
#include "settings/place_ops.h"

namespace kelmar::ui {

class TForm1;

inline constexpr const char* kCaptionAdd = "Добавить";  // ButtonNew while idle
inline constexpr const char* kCaptionDone = "Готово";   // ButtonNew while entering

class PlacesPanel {
 public:
  explicit PlacesPanel(TForm1& form) : f_(form) {}
  void Build();  // GroupBoxInput and what it holds
  void Connect();

  PlaceList& List() { return places_; }
  const PlaceList& List() const { return places_; }
  int& Index() { return place_index_; }
  int Index() const { return place_index_; }
  // The drop-down from the place list, entry Index selected.
  void ShowPlaces();

  void ComboBoxPunktChange(int index);
  void ButtonNewClick();
  void ButtonDeleteClick();

 private:
  void SetEntering(bool entering);
  void ApplyOutcome(const PlaceOutcome& outcome);

  TForm1& f_;
  PlaceList places_;
  int place_index_ = 0;  // the selected place; 0 when the list is empty
  bool entering_ = false;  // the add flow waits for the new place
};

}  // namespace kelmar::ui
