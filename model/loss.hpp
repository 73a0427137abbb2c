#pragma once
// The loss model: pure single-precision figures of one cable at one frequency.

namespace ferrolux {

struct LossFigures {
  float stdMatchLoss = 0;  // dB per 100 ft
  float matchLoss = 0;     // dB for the entered length
  float realSwr = 0;       // estimated SWR at the antenna, x:1
  float reflection = 0;
  float lossRatio = 0;
  float totalLoss = 0;     // dB, with the mismatch
  float swrLoss = 0;       // dB, never below 0
  float powerOut = 0;      // watts at the antenna
  float powerLossPct = 0;  // percent of the input power lost
};

// The SWR at the antenna estimated from the SWR measured in the shack and the matched loss.
float EstimateRealSwr(float shackSwr, float matchLoss);

LossFigures ComputeLosses(float k0, float k1, float k2, float freqMHz, float lengthFt,
                          float powerW, float shackSwr);

}  // namespace ferrolux
