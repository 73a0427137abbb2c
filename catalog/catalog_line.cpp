#include "catalog/catalog_line.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace ferrolux {

namespace {

constexpr int kSignificantDigits = 6;
constexpr int kVelocityFactorDecimals = 2;
constexpr std::string_view kLineEnd = "\r\n";

std::string Fixed(double value, int decimals) {
  std::string text(static_cast<size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, value)), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
  return text;
}

std::string WithoutTrailingZeros(std::string text) {
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text;
}

}  // namespace

std::string CatalogLine(const CatalogRow& record) {
  std::string line = record[column::kType];
  for (int field = column::kType + 1; field <= column::kRecommendedUses; ++field) line += '\t' + record[field];
  return line += kLineEnd;
}

std::string CoefficientText(double k) {
  if (k == 0 || !std::isfinite(k)) return "0";
  char exponent[32];
  std::snprintf(exponent, sizeof exponent, "%.*e", kSignificantDigits - 1, k);
  const int decimals = kSignificantDigits - 1 - std::atoi(std::strchr(exponent, 'e') + 1);
  if (decimals < 0) k = std::nearbyint(k * std::pow(10.0, decimals)) * std::pow(10.0, -decimals);
  return WithoutTrailingZeros(Fixed(k, std::max(0, decimals)));
}

std::string ImpedanceText(double ohms) { return Fixed(ohms, 0); }

std::string VelocityFactorText(double vf) { return WithoutTrailingZeros(Fixed(vf, kVelocityFactorDecimals)); }

}  // namespace ferrolux
