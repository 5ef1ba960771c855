#pragma once
// The place-list rules behind choosing, adding and deleting a place, free of any toolkit: each
// changes the place list, the selected index and the field texts, and tells its caller what to
// recompute and which message, if any, to show.
#include <optional>
#include <string>
#include <string_view>

#include "core/input_fields.h"
#include "core/locator.h"  // kInvalidLocator
#include "settings/place_list.h"

namespace kelmar {

inline constexpr const char* kPlaceholder = "???";
inline constexpr const char* kDuplicateName = "Пункт с таким названием уже есть";
inline constexpr const char* kInvalidName = "Недопустимое название пункта";
inline constexpr const char* kLastPlace = "Нельзя уничтожить последнюю запись";
// Asked (Yes/No) after a failed save at close: Yes closes, No keeps the window open.
inline constexpr const char* kCloseUnsaved =
    "Настройки не сохранены. Закрыть программу без сохранения?";

enum class Recompute {
  Nothing,      // leave both tables as they are
  SunThenSat,   // Calc, then Satel (which needs the latitude state Calc sets)
};

enum class MessageKind {
  None,
  Error,        // the default error report (it adds the final ".")
  Information,  // modal information box "Information" with "OK"
};

struct PlaceOutcome {
  Recompute recompute = Recompute::Nothing;
  MessageKind kind = MessageKind::None;
  std::string message;
  // The add flow's state afterwards: true while a new place is being entered (its name asked
  // for, the list and deleting out of reach).
  bool entering = false;
};

// The user picked entry `index`. An index naming no place changes nothing. Loads the place's
// texts into the coordinates; a text that is not a number gives the conversion message and no
// recomputation.
PlaceOutcome SelectPlace(const PlaceList& places, int& PlaceIndex, InputFields& in,
                                 int index);

// Adding, first step: "???" into the coordinates and the new name; entering.
PlaceOutcome BeginAddPlace(InputFields& in, std::string& name);

// Adding, second step: adds the place `name`, by a locator when the name begins with a blank,
// else by the coordinate texts (first "," → "."). A name the settings file cannot keep is
// refused with a message and the flow stays entering.
PlaceOutcome FinishAddPlace(PlaceList& places, int& PlaceIndex, InputFields& in, std::string_view name);

// The place-name rule's refusal of a text with a character the file's code page cannot hold
// ("Недопустимое название пункта: символа "…" нет в кодировке Windows-1251"); nullopt when
// every character fits.
std::optional<std::string> Cp1251Refusal(std::string_view text);

// The refusal message for a new name, or nullopt when it may be added.
std::optional<std::string> CheckNewName(const PlaceList& places, std::string_view name);

// The question before deleting: "Удалить запись "<name>" ?"; nullopt with no place stored
// (then nothing is deleted).
std::optional<std::string> DeleteQuestion(const PlaceList& places, int PlaceIndex);

// After the Yes/No answer: refuses to delete the last place, else deletes the selected one and
// selects place 0.
PlaceOutcome DeletePlace(PlaceList& places, int& PlaceIndex, InputFields& in,
                               bool answered_yes);

}  // namespace kelmar
