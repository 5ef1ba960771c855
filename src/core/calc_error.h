#pragma once
// Errors of the computations. The message texts are the ones the window shows.
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelmar {

class CalcError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidFloatOp = "Invalid floating point operation";
inline constexpr const char* kFloatOverflow = "Floating point overflow";
inline constexpr const char* kFloatDivByZero = "Floating point division by zero";

// "'abc' is not a valid floating point value"
std::string NotAFloatMessage(std::string_view text);
// "'abc' is not a valid integer value"
std::string NotAnIntegerMessage(std::string_view text);

}  // namespace kelmar
