#pragma once
// The place-list operations behind the drop-down and the "Добавить"/"Удалить" buttons, free
// of any toolkit: each changes the place list, CalcState and the field texts, and tells the
// window what to recompute and which message, if any, to show.
#include <optional>
#include <string>
#include <string_view>

#include "core/calc_state.h"
#include "core/input_fields.h"
#include "core/locator.h"  // kInvalidLocator
#include "settings/place_list.h"

namespace kelmar {

inline constexpr const char* kCaptionAdd = "Добавить";     // ButtonNew while idle
inline constexpr const char* kCaptionDone = "Готово";      // ButtonNew while entering
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
  // The add flow's state afterwards: true while a new place is being entered
  // (ButtonNew reads "Готово", EditPunkt shown, ComboBoxPunkt hidden, ButtonDelete disabled).
  bool entering = false;
};

// ComboBoxPunktChange: the user picked entry `index`. An index naming no place changes nothing.
// Loads the place's texts into EditSir/EditDolg; a text that is not a number gives the
// conversion message and no recomputation.
PlaceOutcome ComboBoxPunktChange(const PlaceList& places, CalcState& st, InputFields& in,
                                 int index);

// ButtonNewClick, first press: "???" into EditSir, EditDolg and EditPunkt; entering.
PlaceOutcome BeginAddPlace(InputFields& in, std::string& EditPunkt);

// ButtonNewClick, second press: adds the place named EditPunkt, by a locator when the name
// begins with a blank, else by the texts of EditSir/EditDolg (first "," → "."). A name the
// settings file cannot keep is refused with a message and the flow stays entering.
PlaceOutcome FinishAddPlace(PlaceList& places, CalcState& st, InputFields& in,
                            std::string_view EditPunkt);

// The same press, whichever phase `entering` says.
PlaceOutcome ButtonNewClick(PlaceList& places, CalcState& st, InputFields& in,
                            std::string& EditPunkt, bool entering);

// The place-name rule's refusal of a text with a character the file's code page cannot hold
// ("Недопустимое название пункта: символа "…" нет в кодировке Windows-1251"); nullopt when
// every character fits.
std::optional<std::string> Cp1251Refusal(std::string_view text);

// The refusal message for a new name, or nullopt when it may be added.
std::optional<std::string> CheckNewName(const PlaceList& places, std::string_view name);

// The question of ButtonDeleteClick: "Удалить запись "<name>" ?"; nullopt with no place
// stored (then the button does nothing).
std::optional<std::string> DeleteQuestion(const PlaceList& places, const CalcState& st);

// ButtonDeleteClick after the Yes/No answer: refuses to delete the last place, else deletes
// the selected one and selects place 0.
PlaceOutcome ButtonDeleteClick(PlaceList& places, CalcState& st, InputFields& in,
                               bool answered_yes);

}  // namespace kelmar
