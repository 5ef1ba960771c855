#include "calc_error.h"

namespace kelmar {

std::string NotAFloatMessage(std::string_view text) {
  std::string m = "'";
  m.append(text);
  m += "' is not a valid floating point value";
  return m;
}

std::string NotAnIntegerMessage(std::string_view text) {
  std::string m = "'";
  m.append(text);
  m += "' is not a valid integer value";
  return m;
}

}  // namespace kelmar
