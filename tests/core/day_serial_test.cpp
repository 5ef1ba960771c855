// Day serials, calendar helpers and the names of weekdays and months.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "core/date_names.h"
#include "core/day_serial.h"

namespace kelmar {
namespace {

TEST(DaySerial, EncodesAndDecodesKnownDates) {
  struct Case {
    int y, m, d;
    double serial;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},      // the epoch
      {1899, 12, 29, -1},     // before the epoch
      {1900, 1, 1, 2},        // 1900 is not a leap year, but no February lies in between
      {1900, 3, 1, 61},       // past the non-leap February 1900
      {1800, 1, 1, -36522},   // the year selector's first year
      {2000, 1, 1, 36526},    // 36526.5 is its noon
      {2000, 3, 1, 36586},    // 2000 is a leap year
      {2026, 6, 21, 46194},   // the summer solstice of the worked examples
      {2028, 2, 29, 46812},   // a leap day
      {2200, 12, 31, 109939}, // the year selector's last year
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial);
    const YMD back = DecodeDate(c.serial);
    EXPECT_EQ(back.year, c.y);
    EXPECT_EQ(back.month, c.m);
    EXPECT_EQ(back.day, c.d);
  }
}

TEST(DaySerial, TheFractionIsTheTimeOfDay) {
  // 2000-01-01 12:00 is 36526.5: the date part is still 2000-01-01.
  const YMD noon = DecodeDate(36526.5);
  EXPECT_EQ(noon.year, 2000);
  EXPECT_EQ(noon.month, 1);
  EXPECT_EQ(noon.day, 1);
  const YMD late = DecodeDate(46194.999);  // 2026-06-21 23:58
  EXPECT_EQ(late.day, 21);
  EXPECT_EQ(WeekdayMondayFirst(36526.5), WeekdayMondayFirst(36526));
}

TEST(DaySerial, WeekdaysMondayFirst) {
  struct Case {
    double serial;
    int weekday;  // 0 = Monday
  };
  const Case cases[] = {
      {0, 5},                            // 1899-12-30 was a Saturday
      {-1, 4},                           // the day before: Friday
      {36526, 5},                        // 2000-01-01: Saturday
      {46194, 6},                        // 2026-06-21: Sunday
      {EncodeDate(2026, 12, 21), 0},     // Monday
      {EncodeDate(2028, 2, 1), 1},       // Tuesday
      {EncodeDate(2028, 2, 29), 1},      // Tuesday
      {EncodeDate(1800, 1, 1), 2},       // Wednesday
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.serial);
    EXPECT_EQ(WeekdayMondayFirst(c.serial), c.weekday);
  }
}

TEST(DaySerial, DaysInMonthWithLeapFebruaries) {
  struct Case {
    int y, m, days;
  };
  const Case cases[] = {
      {2026, 2, 28},  // common year
      {2028, 2, 29},  // divisible by 4
      {2100, 2, 28},  // century, not by 400
      {2000, 2, 29},  // divisible by 400
      {1800, 2, 28},  // century within the year selector
      {2026, 1, 31}, {2026, 4, 30}, {2026, 6, 30}, {2026, 7, 31},
      {2026, 9, 30}, {2026, 11, 30}, {2026, 12, 31},  // December always 31
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m);
    EXPECT_EQ(DaysInMonth(c.y, c.m), c.days);
    // The same count follows from the serials of consecutive first days.
    const double next = c.m == 12 ? EncodeDate(c.y + 1, 1, 1) : EncodeDate(c.y, c.m + 1, 1);
    EXPECT_EQ(next - EncodeDate(c.y, c.m, 1), c.days);
  }
}

TEST(DateNames, RussianTable) {
  const DateNames& n = RussianDateNames();
  const char* const weekdays[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
  const char* const months[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(n.weekday_short[i], weekdays[i]) << i;
  for (int i = 0; i < 12; ++i) EXPECT_EQ(n.month_long[i], months[i]) << i;
}

TEST(DateNames, LocalesWithoutNamesFallBackToRussian) {
  // C, POSIX and C.UTF-8 carry English placeholders, not names a user chose.
  // A locale that is not installed offers no names either.
  const char* const locales[] = {"C", "POSIX", "C.UTF-8", "xx_YY.UTF-8"};
  for (const char* loc : locales) {
    SCOPED_TRACE(loc);
    setenv("LC_ALL", loc, 1);
    setenv("LC_TIME", loc, 1);
    const DateNames n = LocaleDateNames();
    EXPECT_EQ(n.weekday_short, RussianDateNames().weekday_short);
    EXPECT_EQ(n.month_long, RussianDateNames().month_long);
  }
  unsetenv("LC_ALL");
  unsetenv("LC_TIME");
  unsetenv("LANG");
  const DateNames none = LocaleDateNames();  // nothing set at all
  EXPECT_EQ(none.month_long, RussianDateNames().month_long);
  setenv("LC_ALL", "C.UTF-8", 1);
  std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace kelmar
