#pragma once
// The window's input fields as the computations see them: texts exactly as typed, plus the
// choices of the radio buttons and the seconds box. The window, kelmar-cli and the tests all
// fill one of these and hand it to the same code.
#include <string>

namespace kelmar {

struct InputFields {
  std::string EditSir;            // latitude, degrees, north positive
  std::string EditDolg;           // longitude, degrees, east positive
  std::string EditGMT = "3";      // zone offset from GMT, hours
  std::string EditMSK = "0";      // zone offset from Moscow time, hours
  std::string EditUg = "6";       // twilight depression angle, degrees
  std::string EditKm = "12.345";  // twilight: observer's height, km
  bool RadioButtonMSK = true;     // zone from EditMSK (+4 h); otherwise from EditGMT
  bool RadioButtonUgol = true;    // twilight by angle; otherwise by height
  bool CheckBoxSec = false;       // times with seconds
  std::string ESlot = "0";        // sun outages: the satellite's orbital position
  std::string EDish = "0.9";      // sun outages: dish diameter, m
  std::string EFreq = "12";       // sun outages: frequency, GHz
  bool CheckBoxMagAz = false;     // satellite azimuths as compass bearings

  bool RadioButtonGMT() const { return !RadioButtonMSK; }
  bool RadioButtonVys() const { return !RadioButtonUgol; }
};

}  // namespace kelmar
