#pragma once
// DaySerial: a date and time as days since 1899-12-30 00:00, the fraction being the time of day.
namespace kelmar {

double EncodeDate(int year, int month, int day);
struct YMD {
  int year;
  int month;
  int day;
};
YMD DecodeDate(double serial);
int DaysInMonth(int year, int month);
// 0 = Monday … 6 = Sunday.
int WeekdayMondayFirst(double serial);

}  // namespace kelmar
