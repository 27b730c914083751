#pragma once

namespace blok {

// Circle constants rounded to nine decimal places, not full-precision pi: the arcs and angles
// in block files were computed with these values, and using them keeps what the program
// computes equal to what the files hold to the last digit. Every layer takes them from here.
inline constexpr double kPi = 3.141592654;
inline constexpr double kHalfPi = 1.570796327;
inline constexpr double kThreeHalfPi = 4.712388981;
inline constexpr double kTwoPi = 6.283185308;
inline constexpr double kDegreesPerRadian = 180 / kPi;
inline constexpr double kRadiansPerDegree = kPi / 180;
// A full circle as drawn: the single-precision 2 pi that arcs are stepped to.
inline constexpr double kFullCircle = 6.2831855;
// Degrees to radians as arc angles are read from entity commands.
inline constexpr double kDegreesToRadians = 0.01745329252;
// Degrees to radians as stroke-font texts are turned: shorter than the others, and a text at
// 90 degrees falls just short of upright, which shows in its last pixel.
inline constexpr double kTextDegreesToRadians = 0.0174532;

}  // namespace blok
