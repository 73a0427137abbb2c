#pragma once
// A cable's figures as the maths reads them: read once from the catalog's texts.

namespace ferrolux {

struct CableNumbers {
  double impedanceOhms = 0;       // nominal; 0 when the catalog gives none
  double velocityFactor = 0;      // 0 when the catalog gives none
  double k0 = 0, k1 = 0, k2 = 0;  // matched loss per 100 ft = k0 + k1 sqrt(f) + k2 f, f in MHz
};

}  // namespace ferrolux
