// The month's sun table: cells of worked days, whole months, and what a failure leaves behind.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/calc_error.h"
#include "core/day_serial.h"
#include "core/observer.h"
#include "core/sun_table.h"
#include "grid_checks.h"

namespace kelmar {
namespace {

using namespace testing_support;
using Row = std::array<const char*, 9>;

// Runs Calc for a month and returns the table.
TextGrid SunTable(const InputFields& in, int year, int month) {
  CalcState st = MonthState(year, month);
  TextGrid grid = MakeSunGrid();
  Calc(st, in, grid);
  return grid;
}

void ExpectRow(const TextGrid& grid, int row, const Row& expected) {
  for (int c = 0; c < 9; ++c) EXPECT_EQ(grid.Cell(c, row), expected[c]) << "cell (" << c << ", " << row << ")";
}

// Runs Calc and returns the message of the CalcError it must throw.
std::string CalcFailure(CalcState& st, const InputFields& in, TextGrid& grid) {
  try {
    Calc(st, in, grid);
  } catch (const CalcError& e) {
    return e.what();
  }
  ADD_FAILURE() << "Calc did not fail";
  return {};
}

TEST(TtoCell, FormatsAndAppends) {
  struct Case {
    const char* old_text;
    bool seconds;
    double hours;
    const char* text;
  };
  const Case cases[] = {
      {"", false, 3.7440152106882345, "03:45"},         // rounded to the nearest minute
      {"", true, 3.7440152106882345, "03:44:38"},       // rounded to the nearest second
      {"00:03", false, 23.953879313444133, "00:03 23:57"},  // a second event is appended after a blank
      {"", false, 0.0, "00:00"},                        // midnight
      {"", false, 12.5, "12:30"},                       // exact half past
      {"", true, 12.5, "12:30:00"},                    // the same with seconds
      {"", false, 23.9899, "23:59"},                    // just below the 24:00 switch
      {"", false, 23.99, "24:00"},                      // from 23.99 h on: 24:00
      {"", false, 24.0, "24:00"},                       // a full day
      {"", true, 23.9997, "23:59:59"},                  // just below the switch with seconds
      {"", true, 23.9998, "24:00:00"},                  // from 23.9998 h on
      {"", false, 0.3416666666666666, "00:21"},         // 20:30 plus half a minute lands a hair below 21:00 ms: nearest, not truncated
      {"", true, 0.003472222222222222, "00:00:13"},     // the same at a second boundary
      {"", false, 0.99, "00:59"},                       // 59.4 min rounds down
      {"", false, 0.9917, "01:00"},                     // 59.502 min rounds up to the hour
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hours << (c.seconds ? " with seconds" : ""));
    TextGrid grid = MakeSunGrid();
    grid.SetCell(4, 7, c.old_text);
    TtoCell(grid, c.seconds, 4, 7, c.hours);
    EXPECT_EQ(grid.Cell(4, 7), c.text);
  }
}

TEST(SunTable, WorkedDays) {
  struct Case {
    const char* what;
    InputFields in;
    int year, month, day;
    Row row;
  };
  InputFields moscow = PlaceFields("55.75", "37.62");
  InputFields moscow_sec = moscow;
  moscow_sec.CheckBoxSec = true;
  InputFields moscow_km = moscow;
  moscow_km.RadioButtonUgol = false;
  InputFields arctic_66 = PlaceFields("66", "37.62");
  InputFields arctic_66_sec = arctic_66;
  arctic_66_sec.CheckBoxSec = true;
  const Case cases[] = {
      {"Moscow solstice, twilight 6°", moscow, 2026, 6, 21,
       {"21.06.26   Вс", "03:45", "21:18", "17:33", "12:31", " 43.3", " 316.7", "02:43", "22:20"}},
      {"the same with seconds", moscow_sec, 2026, 6, 21,
       {"21.06.26   Вс", "03:44:38", "21:18:01", "17:33:23", "12:31:20", " 43.3", " 316.7", "02:43:09",
        "22:19:30"}},
      {"the same with the height 12.345 km", moscow_km, 2026, 6, 21,
       {"21.06.26   Вс", "03:45", "21:18", "17:33", "12:31", " 43.3", " 316.7", "03:04", "21:58"}},
      {"polar night, twilight still found", PlaceFields("69", "33"), 2026, 12, 21,
       {"21.12.26   Пн", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:46", "---", "---", "10:23", "15:09"}},
      {"polar day and no twilight crossing", PlaceFields("69", "33"), 2026, 6, 21,
       {"21.06.26   Вс", "ПОЛЯРНЫЙ", "ДЕНЬ", "24:00", "12:50", "---", "---", "\"полярный", "день\""}},
      {"two sets, one rise; two-space azimuth", arctic_66, 2026, 7, 3,
       {"03.07.26   Пт", "01:05", "00:03 23:57", "22:56", "12:34", "  7.1", " 352.9 351.6", "\"полярный",
        "день\""}},
      {"the same with seconds", arctic_66_sec, 2026, 7, 3,
       {"03.07.26   Пт", "01:04:41", "00:02:59 23:57:14", "22:55:31", "12:33:47", "  7.1", " 352.9 351.6",
        "\"полярный", "день\""}},
      {"a rise without a set", PlaceFields("68", "33"), 2026, 5, 24,
       {"24.05.26   Вс", "01:33", "---", "22:27", "12:45", " 11.3", "---", "\"полярный", "день\""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TextGrid grid = SunTable(c.in, c.year, c.month);
    ExpectRow(grid, c.day, c.row);
  }
}

TEST(SunTable, DaysThatStraddleMidnight) {
  // 69° N at longitude 0 with GMT offset 12: local noon falls near midnight, so the short
  // days around the polar night begin on one date and end on the next.
  struct Case {
    const char* what;
    const char* lat;
    int year, month, day;
    Row row;
  };
  const Case cases[] = {
      // Up at midnight, sets, stays down: the day length is the set time.
      {"a set without a rise", "69", 2026, 12, 1,
       {"01.12.26   Вт", "---", "00:17:18", "00:17:18", "23:49:01", "---", " 186.7", "20:56:07", "02:43:34"}},
      // Rises shortly before midnight and stays up: the day length is 24 h minus the rise.
      {"a rise without a set", "69", 2027, 1, 11,
       {"11.01.27   Пн", "23:51:44", "---", "00:08:16", "00:07:26", " 176.3", "---", "21:14:38", "02:58:38"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InputFields in = PlaceFields(c.lat, "0", "12");
    in.CheckBoxSec = true;
    ExpectRow(SunTable(in, c.year, c.month), c.day, c.row);
  }
  // Set before rise within one date (the Sun is up at both midnights): the signed sum is
  // negative and 24 h is added, giving the time between the rise and the next set.
  const TextGrid grid = SunTable(PlaceFields("65", "0", "12"), 2026, 12);
  ExpectRow(grid, 21, {"21.12.26   Пн", "22:10", "01:45", "03:35", "23:58", " 155.5", " 204.6", "20:43", "03:13"});
  for (int r = 1; r <= 31; ++r) {
    SCOPED_TRACE(r);
    ASSERT_TRUE(IsTime(grid.Cell(1, r)) && IsTime(grid.Cell(2, r)) && IsTime(grid.Cell(3, r)));
    EXPECT_NEAR(Minutes(grid.Cell(3, r)), Minutes(grid.Cell(2, r)) - Minutes(grid.Cell(1, r)) + 24 * 60, 1);
  }
}

TEST(SunTable, NoonColumnWhenTheTransitCrossesMidnight) {
  // Longitude 0 with GMT offset 12: the transit lies near local midnight and drifts across
  // it twice a year.
  struct Case {
    const char* what;
    int month, day;
    const char* noon;
  };
  const Case cases[] = {
      {"transit just before midnight", 6, 12, "23:59:54"},
      {"no transit inside the day: the cleared value 0", 6, 13, "00:00:00"},
      {"transit just after midnight", 6, 14, "00:00:06"},
      {"two transits: the later one is kept", 4, 16, "23:59:47"},
  };
  InputFields in = PlaceFields("55.75", "0", "12");
  in.CheckBoxSec = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SunTable(in, 2026, c.month).Cell(4, c.day), c.noon);
  }
  in.CheckBoxSec = false;
  EXPECT_EQ(SunTable(in, 2026, 4).Cell(4, 16), "24:00");  // 23:59:47 is past 23.99 h
  EXPECT_EQ(SunTable(in, 2026, 6).Cell(4, 13), "00:00");
}

TEST(SunTable, PolarSecondsTexts) {
  InputFields in = PlaceFields("69", "33");
  in.CheckBoxSec = true;
  EXPECT_EQ(SunTable(in, 2026, 12).Cell(3, 21), "00:00:00");  // polar night
  EXPECT_EQ(SunTable(in, 2026, 6).Cell(3, 21), "24:00:00");   // polar day
}

TEST(SunTable, WholePolarDecemberAt69North) {
  // Only the first of December still has a short day; from the second on it is polar night,
  // while the 6° twilight is crossed every day around the noon.
  const Row expected[31] = {
      {"01.12.26   Вт", "12:29", "12:44", "00:15", "12:37", " 178.2", " 181.7", "09:44", "15:30"},
      {"02.12.26   Ср", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:37", "---", "---", "09:47", "15:27"},
      {"03.12.26   Чт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:38", "---", "---", "09:50", "15:25"},
      {"04.12.26   Пт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:38", "---", "---", "09:52", "15:23"},
      {"05.12.26   Сб", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:39", "---", "---", "09:55", "15:21"},
      {"06.12.26   Вс", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:39", "---", "---", "09:58", "15:20"},
      {"07.12.26   Пн", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:39", "---", "---", "10:00", "15:18"},
      {"08.12.26   Вт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:40", "---", "---", "10:03", "15:17"},
      {"09.12.26   Ср", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:40", "---", "---", "10:05", "15:15"},
      {"10.12.26   Чт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:41", "---", "---", "10:07", "15:14"},
      {"11.12.26   Пт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:41", "---", "---", "10:09", "15:13"},
      {"12.12.26   Сб", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:42", "---", "---", "10:11", "15:12"},
      {"13.12.26   Вс", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:42", "---", "---", "10:13", "15:11"},
      {"14.12.26   Пн", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:43", "---", "---", "10:15", "15:10"},
      {"15.12.26   Вт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:43", "---", "---", "10:16", "15:10"},
      {"16.12.26   Ср", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:44", "---", "---", "10:18", "15:09"},
      {"17.12.26   Чт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:44", "---", "---", "10:19", "15:09"},
      {"18.12.26   Пт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:45", "---", "---", "10:20", "15:09"},
      {"19.12.26   Сб", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:45", "---", "---", "10:21", "15:09"},
      {"20.12.26   Вс", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:46", "---", "---", "10:22", "15:09"},
      {"21.12.26   Пн", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:46", "---", "---", "10:23", "15:09"},
      {"22.12.26   Вт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:47", "---", "---", "10:23", "15:10"},
      {"23.12.26   Ср", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:47", "---", "---", "10:24", "15:11"},
      {"24.12.26   Чт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:48", "---", "---", "10:24", "15:11"},
      {"25.12.26   Пт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:48", "---", "---", "10:24", "15:12"},
      {"26.12.26   Сб", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:49", "---", "---", "10:24", "15:14"},
      {"27.12.26   Вс", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:49", "---", "---", "10:23", "15:15"},
      {"28.12.26   Пн", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:49", "---", "---", "10:23", "15:16"},
      {"29.12.26   Вт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:50", "---", "---", "10:22", "15:18"},
      {"30.12.26   Ср", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:50", "---", "---", "10:22", "15:20"},
      {"31.12.26   Чт", "ПОЛЯРНАЯ", "НОЧЬ", "00:00", "12:51", "---", "---", "10:21", "15:21"},
  };
  const TextGrid grid = SunTable(PlaceFields("69", "33"), 2026, 12);
  for (int r = 1; r <= 31; ++r) ExpectRow(grid, r, expected[r - 1]);
  EXPECT_TRUE(RowsEmpty(grid, 32, 33));
}

TEST(SunTable, WholePolarJuneAt69North) {
  const TextGrid grid = SunTable(PlaceFields("69", "33"), 2026, 6);
  int prev_noon = 0;
  for (int r = 1; r <= 30; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(grid.Cell(1, r), "ПОЛЯРНЫЙ");
    EXPECT_EQ(grid.Cell(2, r), "ДЕНЬ");
    EXPECT_EQ(grid.Cell(3, r), "24:00");
    EXPECT_EQ(grid.Cell(5, r), "---");
    EXPECT_EQ(grid.Cell(6, r), "---");
    EXPECT_EQ(grid.Cell(7, r), "\"полярный");
    EXPECT_EQ(grid.Cell(8, r), "день\"");
    // Noon drifts later through June by a few seconds a day.
    ASSERT_TRUE(IsTime(grid.Cell(4, r)));
    const int noon = Minutes(grid.Cell(4, r));
    EXPECT_GE(noon, 12 * 60 + 46);
    EXPECT_LE(noon, 12 * 60 + 52);
    EXPECT_GE(noon, prev_noon);
    prev_noon = noon;
  }
  EXPECT_TRUE(RowsEmpty(grid, 31, 33));
}

TEST(SunTable, LeapAndCommonFebruaries) {
  struct Case {
    int year;
    int days;
    const char* first;  // date cell of row 1
    const char* last;   // date cell of the last row
  };
  const Case cases[] = {
      {2028, 29, "01.02.28   Вт", "29.02.28   Вт"},  // leap year
      {2026, 28, "01.02.26   Вс", "28.02.26   Сб"},  // common year
      {2100, 28, "01.02.00   Пн", "28.02.00   Вс"},  // century, not a leap year
      {2000, 29, "01.02.00   Вт", "29.02.00   Вт"},  // divisible by 400
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.year);
    CalcState st = MonthState(c.year, 1);
    TextGrid grid = MakeSunGrid();
    const InputFields in = PlaceFields("55.75", "37.62");
    Calc(st, in, grid);  // January first: its rows 29–31 must not survive into February
    st.Month = 2;
    Calc(st, in, grid);
    EXPECT_EQ(grid.Cell(0, 1), c.first);
    EXPECT_EQ(grid.Cell(0, c.days), c.last);
    for (int r = 1; r <= c.days; ++r)
      for (int col = 0; col < 9; ++col) EXPECT_FALSE(grid.Cell(col, r).empty()) << col << ", " << r;
    EXPECT_TRUE(RowsEmpty(grid, c.days + 1, 33));
    EXPECT_EQ(st.CurDate, EncodeDate(c.year, 2, c.days));  // left at the month's last day
  }
}

TEST(SunTable, DateColumnRunsThroughTheWeek) {
  // December 2026 begins on a Tuesday; every row carries the next weekday.
  const char* const weekdays[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
  const TextGrid grid = SunTable(PlaceFields("55.75", "37.62"), 2026, 12);
  for (int d = 1; d <= 31; ++d) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%02d.12.26   %s", d, weekdays[d % 7]);
    EXPECT_EQ(grid.Cell(0, d), expected);
  }
}

TEST(SunTable, MoscowYearIsConsistentDayByDay) {
  // A whole year at a mid latitude: one rise and one set a day, the day length is their
  // difference, noon lies between them, twilight frames them, and the azimuths mirror each
  // other about the meridian.
  const InputFields in = PlaceFields("55.75", "37.62");
  for (int month = 1; month <= 12; ++month) {
    const TextGrid grid = SunTable(in, 2026, month);
    for (int r = 1; r <= DaysInMonth(2026, month); ++r) {
      SCOPED_TRACE(testing::Message() << "2026-" << month << "-" << r);
      for (int col : {1, 2, 3, 4, 7, 8}) ASSERT_TRUE(IsTime(grid.Cell(col, r))) << grid.Cell(col, r);
      const int rise = Minutes(grid.Cell(1, r)), set = Minutes(grid.Cell(2, r));
      const int len = Minutes(grid.Cell(3, r)), noon = Minutes(grid.Cell(4, r));
      EXPECT_NEAR(len, set - rise, 1);
      EXPECT_GT(noon, rise);
      EXPECT_LT(noon, set);
      EXPECT_NEAR(noon, (rise + set) / 2.0, 2);
      EXPECT_LT(Minutes(grid.Cell(7, r)), rise);
      EXPECT_GT(Minutes(grid.Cell(8, r)), set);
      ASSERT_EQ(grid.Cell(5, r)[0], ' ');
      ASSERT_EQ(grid.Cell(6, r)[0], ' ');
      const double az_rise = std::stod(grid.Cell(5, r)), az_set = std::stod(grid.Cell(6, r));
      EXPECT_GT(az_rise, 30);
      EXPECT_LT(az_rise, 150);
      EXPECT_NEAR(az_rise + az_set, 360, 1.0);
    }
    EXPECT_TRUE(RowsEmpty(grid, DaysInMonth(2026, month) + 1, 33));
  }
}

TEST(SunTable, MoscowTimeZeroEqualsGmtFour) {
  InputFields gmt = PlaceFields("55.75", "37.62", "4");
  InputFields msk = PlaceFields("55.75", "37.62", "not used");  // the unused zone field is never read
  msk.RadioButtonMSK = true;
  msk.EditMSK = "0";
  for (int month : {1, 6}) {
    SCOPED_TRACE(month);
    EXPECT_EQ(SunTable(gmt, 2026, month), SunTable(msk, 2026, month));
  }
}

TEST(SunTable, ZeroHeightRepeatsSunriseAndSunsetInTheTwilightColumns) {
  InputFields in = PlaceFields("55.75", "37.62");
  in.RadioButtonUgol = false;
  in.EditKm = "0";
  in.EditUg = "abc";  // the angle field is not read in height mode
  const TextGrid grid = SunTable(in, 2026, 3);
  for (int r = 1; r <= 31; ++r) {
    EXPECT_EQ(grid.Cell(7, r), grid.Cell(1, r)) << r;
    EXPECT_EQ(grid.Cell(8, r), grid.Cell(2, r)) << r;
  }
}

TEST(SunTable, FailuresLeaveWhatWasWrittenBefore) {
  struct Case {
    const char* what;
    InputFields in;
    const char* message;
    bool row1_filled;  // day 1 columns 0–6 written before the failure
  };
  auto with = [](auto change) {
    InputFields in = PlaceFields("55.75", "37.62");
    change(in);
    return in;
  };
  const Case cases[] = {
      {"bad latitude", with([](InputFields& f) { f.EditSir = "abc"; }),
       "'abc' is not a valid floating point value", false},
      {"empty longitude", with([](InputFields& f) { f.EditDolg = ""; }),
       "'' is not a valid floating point value", false},
      {"comma in the latitude", with([](InputFields& f) { f.EditSir = "55,75"; }),
       "'55,75' is not a valid floating point value", false},
      {"bad GMT offset in use", with([](InputFields& f) { f.EditGMT = "3h"; }),
       "'3h' is not a valid floating point value", false},
      {"bad Moscow offset in use", with([](InputFields& f) {
         f.RadioButtonMSK = true;
         f.EditMSK = "x";
       }),
       "'x' is not a valid floating point value", false},
      {"bad angle in use", with([](InputFields& f) { f.EditUg = "6 deg"; }),
       "'6 deg' is not a valid floating point value", true},
      {"bad height in use", with([](InputFields& f) {
         f.RadioButtonUgol = false;
         f.EditKm = "abc";
       }),
       "'abc' is not a valid floating point value", true},
      {"negative height", with([](InputFields& f) {
         f.RadioButtonUgol = false;
         f.EditKm = "-5";
       }),
       "Invalid floating point operation", true},
      {"height too large for a double square", with([](InputFields& f) {
         f.RadioButtonUgol = false;
         f.EditKm = "1e300";
       }),
       "Floating point overflow", true},
  };
  const TextGrid good = SunTable(PlaceFields("55.75", "37.62"), 2026, 6);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CalcState st = MonthState(2026, 6);
    TextGrid grid = MakeSunGrid();
    Calc(st, PlaceFields("10", "20"), grid);  // an earlier table that must not survive
    EXPECT_EQ(CalcFailure(st, c.in, grid), c.message);
    EXPECT_EQ(grid.Cell(0, 0), "Дата");  // headers stay
    EXPECT_EQ(grid.Cell(8, 0), "Веч. сумер.");
    if (c.row1_filled) {
      for (int col = 0; col <= 6; ++col) EXPECT_EQ(grid.Cell(col, 1), good.Cell(col, 1)) << col;
      EXPECT_EQ(grid.Cell(7, 1), "");
      EXPECT_EQ(grid.Cell(8, 1), "");
      EXPECT_TRUE(RowsEmpty(grid, 2, 33));
    } else {
      EXPECT_TRUE(RowsEmpty(grid, 1, 33));
    }
  }
}

TEST(SunTable, AbsurdZoneOverflowsAfterTheFirstDate) {
  // The zone offset is read for day 1 before its date is written; an offset of 1e308 hours
  // then overflows the sidereal time.
  CalcState st = MonthState(2026, 6);
  TextGrid grid = MakeSunGrid();
  EXPECT_EQ(CalcFailure(st, PlaceFields("55.75", "37.62", "1e308"), grid), "Floating point overflow");
  EXPECT_EQ(grid.Cell(0, 1), "01.06.26   Пн");
  for (int col = 1; col < 9; ++col) EXPECT_EQ(grid.Cell(col, 1), "") << col;
  EXPECT_TRUE(RowsEmpty(grid, 2, 33));
}

TEST(SunTable, ClearsEveryRowItDoesNotFill) {
  // Whatever the grid held below the header, rows past the month's last day end up empty.
  TextGrid grid = MakeSunGrid();
  for (int r = 1; r <= 33; ++r)
    for (int c = 0; c < 9; ++c) grid.SetCell(c, r, "old");
  CalcState st = MonthState(2026, 2);
  Calc(st, PlaceFields("55.75", "37.62"), grid);
  EXPECT_TRUE(RowsEmpty(grid, 29, 33));
  for (int r = 1; r <= 28; ++r)
    for (int c = 0; c < 9; ++c) EXPECT_EQ(grid.Cell(c, r).find("old"), std::string::npos) << c << ", " << r;
}

TEST(SunTable, UnusedFieldsAreNeverRead) {
  InputFields in = PlaceFields("55.75", "37.62");
  in.EditMSK = "abc";  // GMT zone selected
  in.EditKm = "abc";   // angle selected
  const TextGrid grid = SunTable(in, 2026, 6);
  EXPECT_EQ(grid, SunTable(PlaceFields("55.75", "37.62"), 2026, 6));
}

TEST(SunTable, LocatorFollowsTheCoordinatesAndSurvivesABadOne) {
  CalcState st = MonthState(2026, 6);
  TextGrid grid = MakeSunGrid();
  Calc(st, PlaceFields("55.75", "37.62"), grid);
  EXPECT_EQ(st.Locator, "KO85ts");
  // A bad zone fails after the locator: it already describes the new place.
  InputFields bad_zone = PlaceFields("0", "0", "?");
  EXPECT_EQ(CalcFailure(st, bad_zone, grid), "'?' is not a valid floating point value");
  EXPECT_EQ(st.Locator, "JJ00aa");
  // A bad coordinate fails inside the locator: the old text stays.
  EXPECT_EQ(CalcFailure(st, PlaceFields("55.75", "east"), grid), "'east' is not a valid floating point value");
  EXPECT_EQ(st.Locator, "JJ00aa");
  EXPECT_EQ(CalcFailure(st, PlaceFields("north", "37.62"), grid), "'north' is not a valid floating point value");
  EXPECT_EQ(st.Locator, "JJ00aa");
}

TEST(SunTable, ExtremeInputsNeverWriteNanOrInfinity) {
  // Whatever such inputs give, a cell never shows a NaN or an infinity; a failure, if any,
  // is one of the floating point messages.
  struct Case {
    const char* what;
    void (*change)(InputFields&);
  };
  const Case cases[] = {
      {"huge height", [](InputFields& f) { f.RadioButtonUgol = false; f.EditKm = "1e300"; }},
      {"largest height", [](InputFields& f) { f.RadioButtonUgol = false; f.EditKm = "1.7e308"; }},
      {"height at the dip limit", [](InputFields& f) { f.RadioButtonUgol = false; f.EditKm = "-12742"; }},
      {"height below the far side", [](InputFields& f) { f.RadioButtonUgol = false; f.EditKm = "-20000"; }},
      {"huge angle", [](InputFields& f) { f.EditUg = "1e300"; }},
      {"huge zone", [](InputFields& f) { f.EditGMT = "1e308"; }},
      {"huge negative zone", [](InputFields& f) { f.EditGMT = "-1e308"; }},
      {"huge longitude", [](InputFields& f) { f.EditDolg = "1e300"; }},
      {"largest longitude", [](InputFields& f) { f.EditDolg = "-1.7e308"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InputFields in = PlaceFields("55.75", "37.62");
    c.change(in);
    CalcState st = MonthState(2026, 6);
    TextGrid grid = MakeSunGrid();
    try {
      Calc(st, in, grid);
    } catch (const CalcError& e) {
      const std::string m = e.what();
      EXPECT_TRUE(m == kInvalidFloatOp || m == kFloatOverflow || m == kFloatDivByZero) << m;
    }
    EXPECT_FALSE(HasNanOrInf(grid));
  }
}

}  // namespace
}  // namespace kelmar

namespace kelmar {
namespace {

TEST(SunTable, ImpossibleLatitudesAreRefusedLongitudesReduced) {
  // No table for a place that cannot exist: the refusal comes before any row is made.
  for (const char* lat : {"90.0001", "-90.5", "91", "1000", "1e308", "-1.7e308"}) {
    SCOPED_TRACE(lat);
    CalcState st = testing_support::MonthState(2026, 6);
    TextGrid grid = MakeSunGrid();
    EXPECT_EQ(CalcFailure(st, testing_support::PlaceFields(lat, "37.62"), grid), kLatitudeRangeText);
  }
  // Longitudes name a meridian whatever the number of turns, 1e308 included (exactly reduced).
  char reduced[32];
  std::snprintf(reduced, sizeof reduced, "%.17g", std::fmod(1e308, 360.0));
  struct Case {
    std::string lat, lon, same_as;
  } cases[] = {
      {"90", "-190", "170"},  // the pole itself is a place
      {"-90", "370", "10"},
      {"55.75", "1e308", reduced},
      {"55.75", "-1e308", "-" + std::string(reduced)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lon);
    EXPECT_EQ(SunTable(testing_support::PlaceFields(c.lat, c.lon), 2026, 3),
              SunTable(testing_support::PlaceFields(c.lat, c.same_as), 2026, 3));
  }
}

}  // namespace
}  // namespace kelmar
