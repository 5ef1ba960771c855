#pragma once
// The one calculation state shared by the computations, alive for the whole run.
#include <cstdint>
#include <string>

#include "date_names.h"

namespace kelmar {

struct CalcState {
  // Selected month and the date being worked on.
  std::uint16_t Year = 2000;
  std::uint16_t Month = 10;
  double CurDate = 0;  // DaySerial
  double ZoneHours = 0;

  double RiseAltSin = 0;  // cos 90.833°, set once at start-up by InitRiseAltSin
  std::string Locator;    // the current place's 6-character locator

  std::int32_t PlaceIndex = 0;  // the selected place; 0 when the list is empty

  // Day preparation.
  double ZoneShift = 0;
  double DayNumber = 0;
  double Centuries1900 = 0;
  double LstMidnight = 0;
  double SunRA = 0;
  double SunDec = 0;
  double RaStart = 0, DecStart = 0, RaEnd = 0, DecEnd = 0;

  // Event search.
  double AltFnStart = 0, AltFnEnd = 0;
  double EventTime = 0;
  double TransitTime = 0;
  std::int32_t RiseCount = 0, SetCount = 0;
  double DayLenAcc = 0;
  char AzimuthText[16] = {};  // the azimuth of the last crossing, e.g. " 7.1"

  // Take every altitude sample of the event search from libm instead of only those near a
  // crossing; the tables must come out the same (a cross-check for tests, about twice as slow).
  bool ExactSamples = false;

  // Weekday and month names; the drivers set the locale's, tests pin their own.
  DateNames Names = RussianDateNames();
};

// RiseAltSin = cos 90.833°, evaluated by the run-time libm.
void InitRiseAltSin(CalcState& st);

}  // namespace kelmar
