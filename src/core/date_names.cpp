#include "date_names.h"

#include <langinfo.h>
#include <locale.h>
#include <wctype.h>

#include <cstdlib>
#include <string_view>

#include "utf8.h"

namespace kelmar {
#if !defined(__EMSCRIPTEN__)
namespace {

bool LocaleHasNoNames(std::string_view name) {
  return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

// The LC_TIME locale the environment asks for, as setlocale(LC_TIME, "") would take it.
std::string_view EnvironmentTimeLocale() {
  for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') return v;
  }
  return {};
}

// Month names stand alone in the label ("Январь"), so the first letter is raised.
std::string CapitalizeFirst(std::string_view s, locale_t loc) {
  if (s.empty()) return {};
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t len = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
  if (len > s.size()) return std::string(s);
  char32_t c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
  for (std::size_t i = 1; i < len; ++i) c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  std::string out;
  AppendUtf8(out, static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc)));
  out.append(s.substr(len));
  return out;
}

}  // namespace
#endif

const DateNames& RussianDateNames() {
  static const DateNames kNames{
      {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"},
      {"Январь", "Февраль", "Март", "Апрель", "Май", "Июнь", "Июль", "Август", "Сентябрь",
       "Октябрь", "Ноябрь", "Декабрь"}};
  return kNames;
}

DateNames LocaleDateNames() {
#if defined(__EMSCRIPTEN__)
  // A browser's language is not a C library locale (and that library has no ALTMON names): the
  // web shows the program's own names.
  return RussianDateNames();
#else
  if (LocaleHasNoNames(EnvironmentTimeLocale())) return RussianDateNames();
  locale_t loc = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return RussianDateNames();
  DateNames names;
  // ABDAY_1 is Sunday; the table starts on Monday.
  static const nl_item kDays[7] = {ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7, ABDAY_1};
  for (int i = 0; i < 7; ++i) names.weekday_short[i] = nl_langinfo_l(kDays[i], loc);
  // The nominative form where the locale has one (ALTMON), as a month stands alone.
  static const nl_item kMonths[12] = {ALTMON_1, ALTMON_2, ALTMON_3, ALTMON_4,  ALTMON_5,  ALTMON_6,
                                      ALTMON_7, ALTMON_8, ALTMON_9, ALTMON_10, ALTMON_11, ALTMON_12};
  for (int i = 0; i < 12; ++i) names.month_long[i] = CapitalizeFirst(nl_langinfo_l(kMonths[i], loc), loc);
  freelocale(loc);
  for (const auto& n : names.weekday_short)
    if (n.empty()) return RussianDateNames();
  for (const auto& n : names.month_long)
    if (n.empty()) return RussianDateNames();
  return names;
#endif
}

}  // namespace kelmar
