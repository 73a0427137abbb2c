#pragma once
// Rounding for the results screen.

namespace ferrolux {

// x rounded to `places` decimals, ties to the even neighbour, in double precision.
double RoundHalfEven(double x, int places);

}  // namespace ferrolux
