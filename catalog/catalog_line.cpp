#include "catalog/catalog_line.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalog/catalog_reader.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

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

// C0 and C1 controls and DEL: the loader would end the catalog at byte 26, cut the line at a
// CR, or keep bytes no screen can show.
bool IsControl(char32_t ch) { return ch < 0x20 || (ch >= 0x7F && ch < 0xA0); }

std::string CodePoint(char32_t ch) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(ch));
  return text;
}

// Why the character cannot stand in a field as typed; empty when it can.
std::string CharacterFault(char32_t ch) {
  if (ch == '\t') return "holds a TAB, which separates the catalog's fields";
  if (ch == '"') return "holds a double quote, which the catalog drops";
  if (IsControl(ch)) return "holds the control character " + CodePoint(ch) + ", which a catalog field cannot keep";
  if (!ByteOfTypedChar(ch)) {
    std::string shown;
    AppendUtf8(shown, ch);
    return "holds \"" + shown + "\" (" + CodePoint(ch) +
           "), which the catalog's single-byte text (Windows-1252) cannot hold: write it without";
  }
  return {};
}

}  // namespace

CatalogField CatalogFieldOfTyped(std::string_view utf8) {
  CatalogField field;
  std::string bytes;
  for (std::string_view rest = utf8; !rest.empty();) {
    const Utf8Char ch = DecodeUtf8(rest);
    rest.remove_prefix(ch.length);
    if (!ch.valid) return {{}, "is not UTF-8 text"};
    if (std::string fault = CharacterFault(ch.point); !fault.empty()) return {{}, std::move(fault)};
    bytes += static_cast<char>(*ByteOfTypedChar(ch.point));
  }
  field.bytes = TrimBlanks(bytes);
  if (field.bytes.empty()) field.fault = "is blank";
  return field;
}

bool FitsCatalogLine(const std::string& line) { return line.size() <= kMaxCatalogLineBytes + kLineEnd.size(); }

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
