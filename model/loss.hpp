#pragma once
// The loss model: pure single-precision figures of one cable at one frequency.

#include <array>
#include <cstddef>
#include <optional>

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

// One bracket of measured SWR with its cubic in the matched loss: c3 L^3 - c2 L^2 + c1 L + c0.
struct SwrBracket {
  float lower;
  float upper;
  bool lowerIncluded;
  float c3;
  float c2;
  float c1;
  float c0;
};

// The float literals make every bound and coefficient the nearest single-precision value.
inline constexpr std::array<SwrBracket, 10> BracketTable{{
    {1.2f, 1.3f, true, 0.011559218f, 0.068420857f, 0.184211556f, 1.12839375f},
    {1.3f, 1.4f, false, 0.01054f, 0.00989f, 0.11248f, 1.3668f},
    {1.4f, 1.6f, false, 0.094893211f, 0.463356545f, 0.941480159f, 1.312864239f},
    {1.6f, 1.8f, false, 0.101288f, 0.306566f, 0.697731f, 1.675551f},
    {1.8f, 2.0f, false, 0.070067f, 0.0f, 0.46288f, 1.906477f},
    {2.0f, 2.5f, false, 0.202437f, 0.0f, 0.73659f, 2.37679f},
    {2.5f, 3.0f, false, 0.857506f, 1.383874f, 2.168143f, 2.707733f},
    {3.0f, 4.0f, false, 2.083348f, 2.053566f, 3.25591f, 3.600113f},
    {4.0f, 5.0f, false, 2.083348f, 2.053566f, 3.25591f, 3.600113f},
    {5.0f, 6.0f, false, 8.40366f, 0.084392f, 3.69761f, 5.996624f},
}};

// The index in BracketTable of the first row whose bounds hold the measured SWR; none below
// 1.2 or above 6.
std::optional<std::size_t> FindBracket(float shackSwr);

// The SWR at the antenna estimated from the SWR measured in the shack and the matched loss.
// Below 1.2 the measured SWR comes back unchanged; above 6 the estimate is 0.
float EstimateRealSwr(float shackSwr, float matchLoss);

// The cable's matched loss in dB per 100 ft at a frequency: (k1 * sqrt(f) + k0) + k2 * f.
long double CablePolynomial(long double k0, long double k1, long double k2, long double freqMHz);

// The natural logarithm of a positive finite number; 0 for zero, negatives, infinities and NaN.
long double SafeLn(long double x);

LossFigures ComputeLosses(float k0, float k1, float k2, float freqMHz, float lengthFt, float powerW, float shackSwr);

}  // namespace ferrolux
