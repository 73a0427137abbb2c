#include "model/loss.hpp"

namespace ferrolux {

// Placeholder until the loss model lands.
float EstimateRealSwr(float shackSwr, float) { return shackSwr; }

LossFigures ComputeLosses(float, float, float, float, float, float, float shackSwr) {
  LossFigures figures;
  figures.realSwr = shackSwr;
  return figures;
}

}  // namespace ferrolux
