#pragma once
// Agreement with a published figure: within half a unit of its last printed digit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ferrolux {

inline double HalfUnitOfLastDigit(const char* printed) {
  const char* point = std::strchr(printed, '.');
  const int decimals = point ? static_cast<int>(std::strlen(point + 1)) : 0;
  return 0.5 * std::pow(10.0, -decimals);
}

inline ::testing::AssertionResult AgreesToPrintedDigits(float actual, const char* printed) {
  const double expected = std::strtod(printed, nullptr);
  if (std::fabs(actual - expected) <= HalfUnitOfLastDigit(printed)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual << " is not " << printed << " to its last digit";
}

}  // namespace ferrolux
