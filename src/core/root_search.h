#pragma once
// Bracketed searches shared by the searches for moments (outages, the Sun on an azimuth).
namespace kelmar {

// Half a hundredth of a second, in days: moments shown to the second round the right way.
inline constexpr double kMomentTolerance = 0.005 / 86400;

// The root of f in [a, b] where f(a) and f(b) differ in sign, to within kMomentTolerance (regula
// falsi, Illinois variant).
template <class F>
double RootOn(double a, double b, F f) {
  double fa = f(a), fb = f(b);
  int side = 0;
  for (int i = 0; i < 100 && b - a > kMomentTolerance; ++i) {
    const double c = (a * fb - b * fa) / (fb - fa);
    const double fc = f(c);
    if ((fc < 0) == (fa < 0)) {
      a = c, fa = fc;
      if (side == -1) fb /= 2;
      side = -1;
    } else {
      b = c, fb = fc;
      if (side == 1) fa /= 2;
      side = 1;
    }
    if (fc == 0) return c;
  }
  return (a + b) / 2;
}

// The least value's place of f in [a, b], f having one minimum there, to within
// kMomentTolerance (golden section).
template <class F>
double MinimumOn(double a, double b, F f) {
  constexpr double kInvPhi = 0.6180339887498949;
  double c = b - kInvPhi * (b - a), d = a + kInvPhi * (b - a);
  double fc = f(c), fd = f(d);
  while (b - a > kMomentTolerance) {
    if (fc < fd) {
      b = d, d = c, fd = fc;
      c = b - kInvPhi * (b - a), fc = f(c);
    } else {
      a = c, c = d, fc = fd;
      d = a + kInvPhi * (b - a), fd = f(d);
    }
  }
  return (a + b) / 2;
}

}  // namespace kelmar
