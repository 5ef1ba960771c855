#include "input_steps.h"

#include <cmath>

#include "number_text.h"

namespace kelmar {
namespace {

// Each press starts again from the field's text, so no error accumulates beyond 15 digits.
std::string Stepped(std::string_view text, double v, bool allowed, double delta) {
  return allowed ? FloatToStr(v + delta) : std::string(text);
}

// n = floor(log10 v) and 0 ≤ f < 1, with log10 v = n + f.
void SplitDecade(double v, double& n, double& f) {
  const double l = std::log10(v);
  n = std::trunc(l);
  f = l - n;
  if (f < 0) {
    f = f + 1;
    n = n - 1;
  }
}

}  // namespace

double HeightStepUp(double v) {
  if (v < 0.02) return 0.001;
  double n, f;
  SplitDecade(v, n, f);
  const double m = f > 0.69 ? 5 : f < 0.3 ? 1 : 2;
  return m * std::pow(10.0, n - 1);
}

double HeightStepDown(double v) {
  if (std::log10(v) < -1.7) return 0.001;
  double n, f;
  SplitDecade(v, n, f);
  double m = f > 0.7 ? 5 : f < 0.31 ? 1 : 2;
  if (f == 0) {  // an exact power of ten steps down by half a tenth of it
    m = 5;
    n = n - 1;
  }
  return m * std::pow(10.0, n - 1);
}

std::string StepZone(std::string_view text, bool up) {
  const double v = StrToFloat(text);
  return up ? Stepped(text, v, v < 12, 0.5) : Stepped(text, v, v > -12, -0.5);
}

std::string StepAngle(std::string_view text, bool up) {
  const double v = StrToFloat(text);
  return up ? Stepped(text, v, v < 50, 0.5) : Stepped(text, v, v > 0, -0.5);
}

std::string StepHeight(std::string_view text, bool up) {
  const double v = StrToFloat(text);
  if (up) return v < 500 ? FloatToStr(v + HeightStepUp(v)) : std::string(text);
  return v > 0 ? FloatToStr(v - HeightStepDown(v)) : std::string(text);
}

}  // namespace kelmar
