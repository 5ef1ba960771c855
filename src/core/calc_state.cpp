#include "calc_state.h"

#include <cmath>

#include "solar.h"

namespace kelmar {

void InitRiseAltSin(CalcState& st) {
  // volatile keeps the compiler from folding the cosine with its own library: the tables are
  // made with the run-time libm's last bit.
  volatile double angle = 90.833 * kDegToRad;
  st.RiseAltSin = std::cos(angle);
}

}  // namespace kelmar
