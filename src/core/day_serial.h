#pragma once
// DaySerial: a date and time as days since 1899-12-30 00:00, the fraction being the time of day.
#include <string>

namespace kelmar {

double EncodeDate(int year, int month, int day);
struct YMD {
  int year;
  int month;
  int day;
};
YMD DecodeDate(double serial);
int DaysInMonth(int year, int month);
// a / b rounded down: days of moments counted in seconds or milliseconds, where the count can be
// negative (before the epoch) and truncation would give the next day and negative clock digits.
long long FloorDiv(long long a, long long b);
// 0 = Monday … 6 = Sunday.
int WeekdayMondayFirst(double serial);

struct CalendarDate {
  int year = 2025, month = 1, day = 1;
};
// "08.12.2025" for people, "2025-12-08" for files and scripts.
std::string DateText(const CalendarDate& date);
std::string IsoDate(const CalendarDate& date);

}  // namespace kelmar
