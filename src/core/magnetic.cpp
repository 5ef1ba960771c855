#include "magnetic.h"

#include <GeographicLib/MagneticModel.hpp>
#include <GeographicLib/Utility.hpp>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

#include "calc_error.h"
#include "number_text.h"

namespace kelmar {
namespace {

constexpr const char* kModelFile = "wmm2025";

// Reading the coefficients takes longer than an evaluation, so each folder's model is read once.
const GeographicLib::MagneticModel& ModelIn(const std::string& dir) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<GeographicLib::MagneticModel>> models;
  const std::lock_guard lock(mutex);
  auto& model = models[dir];
  if (!model) {
    try {
      model = std::make_unique<GeographicLib::MagneticModel>(kModelFile, dir);
    } catch (const std::exception& e) {
      models.erase(dir);
      throw CalcError(std::string("Не удалось прочитать магнитную модель: ") + e.what());
    }
  }
  return *model;
}

}  // namespace

double FractionalYear(const CalendarDate& date) {
  try {
    return GeographicLib::Utility::fractionalyear<double>(IsoDate(date));
  } catch (const std::exception&) {
    throw CalcError("Неверная дата " + IsoDate(date));
  }
}

std::string MagneticModelDir() {
#if defined(__EMSCRIPTEN__)
  return "/magnetic";  // embedded in the module
#endif
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (ec ? std::filesystem::path("magnetic") : exe.parent_path() / "magnetic").string();
}

MagneticField MagneticAt(double lat_deg, double lon_deg, double height_m, double year, const std::string& model_dir) {
  double bx = 0, by = 0, bz = 0;
  ModelIn(model_dir)(year, lat_deg, lon_deg, height_m, bx, by, bz);
  MagneticField f;
  double total = 0, inclination = 0;
  GeographicLib::MagneticModel::FieldComponents(bx, by, bz, f.horizontal, total, f.declination, inclination);
  f.valid = year >= kModelFirstYear && year <= kModelLastYear;
  return f;
}

MagneticField MagneticForFields(const std::string& lat_text, const std::string& lon_text, const CalendarDate& date,
                                const std::string& model_dir) {
  const double lat = StrToFloat(lat_text);
  const double lon = StrToFloat(lon_text);
  CheckLatitude(lat);
  return MagneticAt(lat, lon, 0, FractionalYear(date), model_dir);
}

CompassTrust CompassTrustFor(const MagneticField& field) {
  if (field.horizontal < kCompassUnusableNt) return CompassTrust::Unusable;
  if (field.horizontal < kCompassUnreliableNt) return CompassTrust::Unreliable;
  return CompassTrust::Good;
}

bool CompassUsable(const MagneticField& field) { return CompassTrustFor(field) != CompassTrust::Unusable; }

const char* CompassWarning(CompassTrust trust) {
  switch (trust) {
    case CompassTrust::Unusable: return kCompassUnusableText;
    case CompassTrust::Unreliable: return kCompassUnreliableText;
    case CompassTrust::Good: break;
  }
  return nullptr;
}

double CompassAzimuth(double true_azimuth, double declination) {
  double az = true_azimuth - declination;
  if (az < 0) az += 360;
  // A tiny negative difference comes back as exactly 360 after the addition.
  if (az >= 360) az -= 360;
  return az;
}

std::string DeclinationText(double declination) {
  const std::string degrees = FormatOneDecimal(std::abs(declination)) + "°";
  if (degrees == "0.0°") return degrees;  // neither east nor west once rounded
  return degrees + (declination > 0 ? " В" : " З");
}

namespace {

// "12.1° В (WMM2025, 08.12.2025)", the date marked when the model does not reach it.
std::string DeclinationWithSource(const MagneticField& field, const CalendarDate& date) {
  std::string text = DeclinationText(field.declination) + " (" + kMagneticModelName + ", " + DateText(date);
  if (!field.valid) text += ", вне срока модели";
  return text + ")";
}

}  // namespace

std::string DeclinationLine(const MagneticField& field, const CalendarDate& date) {
  return "Магнитное склонение: " + DeclinationWithSource(field, date);
}

std::string DeclinationReport(const MagneticField& field, const CalendarDate& date) {
  std::string text = DeclinationLine(field, date);
  if (const char* warning = CompassWarning(CompassTrustFor(field))) text += std::string("\n") + warning;
  return text;
}

std::string CompassNote(const MagneticField& field, const CalendarDate& date) {
  return "Азимут по компасу, склонение " + DeclinationWithSource(field, date);
}

}  // namespace kelmar
