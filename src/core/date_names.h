#pragma once
// Weekday abbreviations and month names used by the tables and the month label.
#include <array>
#include <string>

namespace kelmar {

struct DateNames {
  std::array<std::string, 7> weekday_short;  // Monday first
  std::array<std::string, 12> month_long;    // January first
};

// "Пн" … "Вс", "Январь" … "Декабрь".
const DateNames& RussianDateNames();

// The names of the user's LC_TIME locale (as set by the environment); the Russian table when
// that locale carries no names of its own (C, POSIX, C.UTF-8, or none set).
DateNames LocaleDateNames();

}  // namespace kelmar
