#include "calc_state.h"

#include <cmath>

namespace kelmar {

void InitRiseAltSin(CalcState& st) {
  // volatile keeps the compiler from folding the cosine with its own library: the tables are
  // made with the run-time libm's last bit.
  volatile double angle = 1.5853349194640094;  // 90.833° in radians
  st.RiseAltSin = std::cos(angle);
}

}  // namespace kelmar
