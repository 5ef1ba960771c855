#pragma once
// The magnetic declination at a place from the World Magnetic Model, and compass bearings.
#include <string>

#include "day_serial.h"
#include "observer.h"

namespace kelmar {

inline constexpr const char* kMagneticModelName = "WMM2025";
inline constexpr double kModelFirstYear = 2025.0;
inline constexpr double kModelLastYear = 2030.0;

// Below these horizontal intensities (nT) a compass needle cannot be trusted: under the first it
// does not settle at all, under the second it wanders with every nearby piece of iron.
inline constexpr double kCompassUnusableNt = 2000;
inline constexpr double kCompassUnreliableNt = 6000;

inline constexpr const char* kCompassUnusableText = "Компас здесь непригоден: слишком слабое горизонтальное поле";
inline constexpr const char* kCompassUnreliableText = "Компас здесь ненадёжен: слабое горизонтальное поле";

// year + (day of the year − 1) / days in the year: 2025-01-01 → 2025.0.
double FractionalYear(const CalendarDate& date);

struct MagneticField {
  double declination = 0;  // degrees, east positive
  double horizontal = 0;   // horizontal intensity, nT
  bool valid = true;       // the date lies within the model's years; a value is given either way
};

// The folder "magnetic" beside the running executable, where a portable folder and the build
// keep the model files; an installed program passes its shared data folder's instead.
std::string MagneticModelDir();

// The field at geodetic latitude and longitude (degrees, |lat| ≤ 90), height above the ellipsoid
// in metres, at a fractional year. Throws CalcError when the model files cannot be read.
MagneticField MagneticAt(double lat_deg, double lon_deg, double height_m, double year,
                         const std::string& model_dir = MagneticModelDir());

// The field for the texts of the latitude and longitude fields at height 0 on a date. Throws
// CalcError with the fields' conversion message or kLatitudeRangeText.
MagneticField MagneticForFields(const std::string& lat_text, const std::string& lon_text, const CalendarDate& date,
                                const std::string& model_dir = MagneticModelDir());

enum class CompassTrust { Good, Unreliable, Unusable };
CompassTrust CompassTrustFor(const MagneticField& field);
// Whether compass bearings are given at all: an unreliable needle still is, with its warning.
bool CompassUsable(const MagneticField& field);

// True azimuth − declination, in [0, 360).
double CompassAzimuth(double true_azimuth, double declination);

// "Магнитное склонение: 12.1° В (WMM2025, 08.12.2025)"; east and west as В and З, never a sign.
std::string DeclinationLine(const MagneticField& field, const CalendarDate& date);
// "Азимут по компасу, склонение 12.1° В (WMM2025, 08.12.2025)": what a table of compass bearings
// says about itself.
std::string CompassNote(const MagneticField& field, const CalendarDate& date);
// "12.1° В", for the lines above and the exported workbook.
std::string DeclinationText(double declination);
// The warning shown under the declination, none where the compass can be trusted.
const char* CompassWarning(CompassTrust trust);
// The declination line and, on a line of its own, the compass's warning where there is one: what
// the window and kelmar-cli say about the compass at a place.
std::string DeclinationReport(const MagneticField& field, const CalendarDate& date);

}  // namespace kelmar
