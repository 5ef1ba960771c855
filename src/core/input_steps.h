#pragma once
// The rules behind the window's stepping buttons: half-hour zone steps, half-degree angle steps
// and the 1-2-5 height steps, each with its bounds. Each returns the field's new text (the same
// text when a bound stops the step) and throws CalcError when the text is not a number.
#include <string>
#include <string_view>

namespace kelmar {

std::string StepZone(std::string_view text, bool up);    // ±0.5 within [−12, 12]
std::string StepAngle(std::string_view text, bool up);   // ±0.5 within [0, 50]
std::string StepHeight(std::string_view text, bool up);  // s_up / s_down within [0, 500]

double HeightStepUp(double v);    // s_up, for v < 500
double HeightStepDown(double v);  // s_down, for v > 0

}  // namespace kelmar
