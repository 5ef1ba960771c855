#include "settings/place_ops.h"

#include "core/calc_error.h"
#include "core/locator.h"
#include "core/number_text.h"
#include "core/observer.h"
#include "core/utf8.h"
#include "settings/cp1251.h"
#include "settings/settings_image.h"

namespace kelmar {
namespace {

constexpr std::size_t kMaxNameChars = 4095;

bool IsLow(char c) { return static_cast<unsigned char>(c) <= 32; }

// The first character the code page has no byte for; nullopt when every one fits.
std::optional<std::string> FirstNotInCp1251(std::string_view utf8) {
  if (FitsCp1251(utf8)) return std::nullopt;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t end = i + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    const std::string_view ch = utf8.substr(i, end - i);
    if (!FitsCp1251(ch)) return std::string(ch);
    i = end;
  }
  return std::string("?");
}

PlaceOutcome Message(MessageKind kind, std::string text, bool entering = false) {
  PlaceOutcome out;
  out.kind = kind;
  out.message = std::move(text);
  out.entering = entering;
  return out;
}

void ShowPlace(const PlaceList& places, int index, InputFields& in) {
  in.latitude = places[index].lat;
  in.longitude = places[index].lon;
}

// Both coordinate fields must be numbers, and a place, before any table is touched; a failure
// leaves both tables as they were.
PlaceOutcome ConvertThenRecompute(const InputFields& in) {
  try {
    (void)StrToFloat(in.latitude);
    (void)StrToFloat(in.longitude);
    (void)ObserverFromFields(in);
  } catch (const CalcError& e) {
    return Message(MessageKind::Error, e.what());
  }
  PlaceOutcome out;
  out.recompute = Recompute::SunThenSat;
  return out;
}

}  // namespace

PlaceOutcome SelectPlace(const PlaceList& places, int& PlaceIndex, InputFields& in,
                                 int index) {
  if (index < 0 || index >= places.Count()) return {};
  PlaceIndex = index;
  ShowPlace(places, index, in);
  return ConvertThenRecompute(in);
}

PlaceOutcome BeginAddPlace(InputFields& in, std::string& name) {
  in.latitude = kPlaceholder;
  in.longitude = kPlaceholder;
  name = kPlaceholder;
  PlaceOutcome out;
  out.entering = true;
  return out;
}

std::optional<std::string> Cp1251Refusal(std::string_view text) {
  if (const auto bad = FirstNotInCp1251(text))
    return std::string(kInvalidName) + ": символа \"" + *bad + "\" нет в кодировке Windows-1251";
  return std::nullopt;
}

std::optional<std::string> CheckNewName(const PlaceList& places, std::string_view name) {
  // The refusal says which rule the name breaks after the one common text.
  auto refused = [](const std::string& reason) { return std::string(kInvalidName) + ": " + reason; };
  if (name.empty()) return refused("пустое название");
  std::string_view rest = name;
  if (name.front() == ' ') {
    // A blank and a locator; characters after the seventh are part of the name only.
    if (!IsValidLocatorName(name)) return kInvalidLocator;
    rest.remove_prefix(1);
  }
  for (const char c : rest) {
    if (c == '=') return refused("символ \"=\" недопустим");
    if (static_cast<unsigned char>(c) < 32)
      return refused("недопустим управляющий символ (код " + std::to_string(static_cast<int>(c)) + ")");
  }
  // The reading trims blanks at both ends, so such a name would come back changed.
  if (IsLow(rest.front()) || IsLow(rest.back())) return refused("пробел в начале или в конце");
  // A leading ";" makes the line a comment, a leading "[" may make it a section.
  if (rest.front() == ';' || rest.front() == '[')
    return refused("\"" + std::string(1, rest.front()) + "\" в начале названия");
  if (const auto refusal = Cp1251Refusal(rest)) return refusal;
  if (CharCount(name) > kMaxNameChars) return refused("длиннее " + std::to_string(kMaxNameChars) + " символов");
  // The file keeps one line per name regardless of case (and without the leading blank).
  for (const Place& stored : places)
    if (SameKey(TrimLow(stored.name), rest)) return kDuplicateName;
  return std::nullopt;
}

PlaceOutcome FinishAddPlace(PlaceList& places, int& PlaceIndex, InputFields& in, std::string_view name) {
  if (auto refusal = CheckNewName(places, name))
    return Message(MessageKind::Information, *std::move(refusal), /*entering=*/true);

  std::string lat;
  std::string lon;
  if (name.front() == ' ') {
    CoordTexts c = *LocatorToCoords(name);  // CheckNewName let only a real locator through
    lat = std::move(c.lat);
    lon = std::move(c.lon);
  } else {
    lat = CommaRule(in.latitude);
    lon = CommaRule(in.longitude);
    // A number that is no latitude is refused before the list changes; a text that is no
    // number at all is stored and waits, as the tables do.
    if (const auto v = ParseFloat(lat); v && !IsLatitude(*v))
      return Message(MessageKind::Error, kLatitudeRangeText, /*entering=*/true);
  }
  places.Append(std::string(name), std::move(lat), std::move(lon));
  PlaceIndex = places.Count() - 1;
  ShowPlace(places, PlaceIndex, in);
  // The place stays even when its texts are not numbers; only the tables wait.
  return ConvertThenRecompute(in);
}

std::optional<std::string> DeleteQuestion(const PlaceList& places, int PlaceIndex) {
  if (places.Empty() || PlaceIndex < 0 || PlaceIndex >= places.Count()) return std::nullopt;
  return "Удалить запись \"" + places[PlaceIndex].name + "\" ?";
}

PlaceOutcome DeletePlace(PlaceList& places, int& PlaceIndex, InputFields& in,
                               bool answered_yes) {
  if (!answered_yes || places.Empty()) return {};
  if (places.Count() < 2) return Message(MessageKind::Information, kLastPlace);
  if (PlaceIndex < 0 || PlaceIndex >= places.Count()) return {};
  places.Erase(PlaceIndex);
  PlaceIndex = 0;
  ShowPlace(places, 0, in);
  PlaceOutcome out;
  out.recompute = Recompute::SunThenSat;
  return out;
}

}  // namespace kelmar
