#pragma once
// Turning a phone toward a bearing: its compass heading from the browser's orientation readings,
// and which way to turn, the shorter way round.
#include <string>

namespace kelmar {

// Within this many whole degrees the phone points at the target: a phone compass is no finer.
inline constexpr int kOnTargetDegrees = 2;
// The heading is read from the phone lying face up; beyond this tilt (front-back or sideways,
// degrees) its compass heading swings and is not used.
inline constexpr double kFlatDegrees = 25;

// deviceorientationabsolute's alpha (degrees counter-clockwise from north) as a heading
// clockwise from north in [0, 360).
double HeadingFromAlpha(double alpha);
// beta and gamma (degrees, as the browser gives them) of a phone lying flat enough.
bool HeldFlat(double beta, double gamma);

enum class TurnSide { Left, On, Right };
struct AimTurn {
  double turn = 0;   // target − heading in (−180, 180]; positive: the target lies to the right
  int degrees = 0;   // |turn| rounded
  TurnSide side = TurnSide::On;
  std::string words;  // "левее 12°", "правее 3°", "на цели"
  std::string heading_text;  // the heading in whole degrees, 0–359: "165°"
};
// Both in degrees from north through east, any range.
AimTurn TurnToward(double heading, double target);

}  // namespace kelmar
