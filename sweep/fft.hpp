#pragma once
// The inverse discrete Fourier transform the distance-to-fault view needs: sizes that are powers
// of two up to 65,536. An own radix-2 rather than FFTW: at these sizes it takes about a
// millisecond, and it keeps the Windows and armhf builds free of one more library to carry.

#include <complex>
#include <cstddef>
#include <vector>

namespace ferrolux {

inline constexpr std::size_t kLargestFft = 65'536;

// The smallest power of two at least `count` (1 for 0).
std::size_t PowerOfTwoAtLeast(std::size_t count);

// In place, x[n] = sum over k of x[k] e^(+j 2 pi k n / N), without the 1/N. N must be a power of
// two (std::invalid_argument otherwise).
void InverseFft(std::vector<std::complex<double>>& data);

}  // namespace ferrolux
