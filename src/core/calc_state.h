#pragma once
// What the window keeps between computations: the month shown and the place's locator, with the
// names and the cross-check the computations are run with. Everything else a computation needs
// it takes as arguments and returns as values.
#include <cstdint>
#include <string>

#include "date_names.h"

namespace kelmar {

struct CalcState {
  // Selected month and the date being worked on: now at start-up, the 1st after a step.
  std::uint16_t Year = 2000;
  std::uint16_t Month = 10;
  double CurDate = 0;  // DaySerial

  std::string Locator;  // the current place's 6-character locator, from the last sun table

  // Take every altitude sample of the event search from libm instead of only those near a
  // crossing; the tables must come out the same (a cross-check for tests, about twice as slow).
  bool ExactSamples = false;

  // Weekday and month names; the drivers set the locale's, tests pin their own.
  DateNames Names = RussianDateNames();
};

}  // namespace kelmar
