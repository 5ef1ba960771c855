#include "aim_turn.h"

#include <cmath>

namespace kelmar {

double HeadingFromAlpha(double alpha) {
  const double h = std::fmod(360 - alpha, 360.0);
  return h < 0 ? h + 360 : h + 0.0;  // + 0.0: never −0
}

bool HeldFlat(double beta, double gamma) { return std::abs(beta) <= kFlatDegrees && std::abs(gamma) <= kFlatDegrees; }

AimTurn TurnToward(double heading, double target) {
  AimTurn t;
  double d = std::fmod(target - heading, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  t.turn = d;
  const long whole = std::lround(std::fmod(heading, 360.0));
  t.heading_text = std::to_string((whole % 360 + 360) % 360) + "°";
  t.degrees = static_cast<int>(std::lround(std::abs(d)));
  if (t.degrees <= kOnTargetDegrees) {
    t.side = TurnSide::On;
    t.words = "на цели";
  } else {
    t.side = d > 0 ? TurnSide::Right : TurnSide::Left;
    t.words = (d > 0 ? "правее " : "левее ") + std::to_string(t.degrees) + "°";
  }
  return t;
}

}  // namespace kelmar
