#pragma once
// Doubles to text and back, exactly as std::to_chars and std::from_chars do it. A standard
// library without their floating-point overloads (libc++ 13, the browser build's) gets the
// same bytes from the C library, whose printf and strtod round exactly; the C library's
// versions are built everywhere so that tests compare them with the standard ones.
#include <optional>
#include <string>
#include <string_view>

namespace kelmar {

// std::to_chars(v, std::chars_format::scientific, precision): "1.23450000000000e+02".
std::string ScientificText(double v, int precision);
// std::to_chars(v, std::chars_format::fixed, precision): "-12.5".
std::string FixedText(double v, int precision);
// std::to_chars(v): the shortest text that reads back as v, fixed or scientific, whichever is
// shorter (fixed on a tie).
std::string ShortestText(double v);
// std::from_chars over the whole text (plain decimal, no sign); nullopt when it does not read.
std::optional<double> ReadDouble(std::string_view text);

namespace c_library {
std::string ScientificText(double v, int precision);
std::string FixedText(double v, int precision);
std::string ShortestText(double v);
std::optional<double> ReadDouble(std::string_view text);
}  // namespace c_library

}  // namespace kelmar
