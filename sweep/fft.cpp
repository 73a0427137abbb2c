#include "sweep/fft.hpp"

#include <numbers>
#include <stdexcept>
#include <utility>

namespace ferrolux {

namespace {

using Complex = std::complex<double>;

void BitReverse(std::vector<Complex>& data) {
  const std::size_t size = data.size();
  for (std::size_t i = 1, j = 0; i < size; ++i) {
    std::size_t bit = size >> 1;
    for (; (j & bit) != 0; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) std::swap(data[i], data[j]);
  }
}

// Each twiddle worked out on its own rather than by repeated products, which drift at 65,536.
std::vector<Complex> Twiddles(std::size_t size) {
  std::vector<Complex> twiddles(size / 2);
  for (std::size_t k = 0; k < twiddles.size(); ++k) {
    twiddles[k] = std::polar(1.0, 2 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(size));
  }
  return twiddles;
}

}  // namespace

std::size_t PowerOfTwoAtLeast(std::size_t count) {
  std::size_t power = 1;
  while (power < count) power <<= 1;
  return power;
}

void InverseFft(std::vector<Complex>& data) {
  const std::size_t size = data.size();
  if (size == 0 || (size & (size - 1)) != 0) throw std::invalid_argument("FFT size not a power of two");
  BitReverse(data);
  const std::vector<Complex> twiddles = Twiddles(size);
  for (std::size_t half = 1; half < size; half <<= 1) {
    const std::size_t stride = size / (2 * half);
    for (std::size_t start = 0; start < size; start += 2 * half) {
      for (std::size_t k = 0; k < half; ++k) {
        const Complex odd = data[start + k + half] * twiddles[k * stride];
        data[start + k + half] = data[start + k] - odd;
        data[start + k] += odd;
      }
    }
  }
}

}  // namespace ferrolux
