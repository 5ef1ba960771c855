#pragma once
// Conversions between numbers and the texts of fields and cells. "." is the decimal separator
// everywhere, whatever the user's locale.
#include <optional>
#include <string>
#include <string_view>

namespace kelmar {

// text without its leading and trailing blanks (spaces only).
std::string_view TrimBlanks(std::string_view text);

// Optional blanks around an optional sign, digits with an optional "." (not both sides empty)
// and an optional exponent. Anything else fails.
std::optional<double> ParseFloat(std::string_view text);
// As ParseFloat, throwing CalcError("'text' is not a valid floating point value").
double StrToFloat(std::string_view text);
// Decimal integer with optional sign and blanks; throws "'text' is not a valid integer value".
int StrToInt(std::string_view text);
std::optional<int> ParseInt(std::string_view text);

// Shortest general decimal form with at most 15 significant digits: 3.5, 4, -0.5, 1E-7, 1E20.
std::string FloatToStr(double value);

// One decimal, no leading blanks, the sign of the unrounded value: 43.3, -0.0, 360.0.
// An exact zero of either sign is "0.0".
std::string FormatOneDecimal(double value);
// The same into a buffer (the largest double needs 312 characters); returns the length.
inline constexpr std::size_t kOneDecimalMax = 320;
std::size_t FormatOneDecimal(double value, char (&out)[kOneDecimalMax]);

// The number FormatOneDecimal's text stands for: value rounded to tenths the same way, NaN where
// the text is "---" (an infinity or NaN).
double OneDecimalValue(double value);

// The comma rule of the number fields: the first "," becomes ".".
std::string CommaRule(std::string text);

}  // namespace kelmar
