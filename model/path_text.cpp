#include "model/path_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

namespace ferrolux {

namespace {

constexpr double kMetresPerFoot = 0.3048;
// The command line's own bound on a figure: within a float's range, a path's losses and lengths
// summed and scaled stay far inside a double's.
constexpr double kLargestFigure = std::numeric_limits<float>::max();

struct ConnectorName {
  std::string_view name;  // upper case, without blanks, hyphens, dots and slashes
  ConnectorFamily family;
};

constexpr ConnectorName kConnectorNames[] = {
    {"UHF", ConnectorFamily::kUhf},
    {"PL259", ConnectorFamily::kUhf},
    {"SO239", ConnectorFamily::kUhf},
    {"N", ConnectorFamily::kN},
    {"NTYPE", ConnectorFamily::kN},
    {"TYPEN", ConnectorFamily::kN},
    {"BNC", ConnectorFamily::kBnc},
    {"TNC", ConnectorFamily::kTnc},
    {"SMA", ConnectorFamily::kSma},
    {"F", ConnectorFamily::kF},
    {"FTYPE", ConnectorFamily::kF},
    {"TYPEF", ConnectorFamily::kF},
    {"716", ConnectorFamily::kDin716},
    {"716DIN", ConnectorFamily::kDin716},
    {"DIN", ConnectorFamily::kDin716},
    {"BARREL", ConnectorFamily::kBarrel},
    {"ADAPTER", ConnectorFamily::kBarrel},
    {"ADAPTOR", ConnectorFamily::kBarrel},
    {"PL258", ConnectorFamily::kBarrel},
    {"ARRESTOR", ConnectorFamily::kArrestor},
    {"ARRESTER", ConnectorFamily::kArrestor},
    {"LIGHTNINGARRESTOR", ConnectorFamily::kArrestor},
    {"LIGHTNINGARRESTER", ConnectorFamily::kArrestor},
    {"SWITCH", ConnectorFamily::kSwitch},
    {"COAXSWITCH", ConnectorFamily::kSwitch},
    {"ANTENNASWITCH", ConnectorFamily::kSwitch},
};

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string ConnectorKey(std::string_view typed) {
  std::string key;
  for (const char c : typed)
    if (c != ' ' && c != '\t' && c != '-' && c != '.' && c != '/' && c != '_') key += Upper(c);
  return key;
}

bool EndsWithAnyCase(std::string_view text, std::string_view ending) {
  return text.size() >= ending.size() && std::ranges::equal(text.substr(text.size() - ending.size()), ending,
                                                            [](char a, char b) { return Upper(a) == Upper(b); });
}

// A plain decimal number, all of `text`, no larger than kLargestFigure; none for anything else,
// inf and nan among them.
std::optional<double> NumberOf(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return {};
  if (!(std::fabs(value) <= kLargestFigure)) return {};
  return value;
}

bool IsVelocityFactor(double vf) { return vf >= kSlowestVelocityFactor && vf <= 1; }

// Reads one element; `fail` throws with the element's place and text.
class ElementReader {
 public:
  ElementReader(size_t place, std::string_view text, const CableFinder& findCable)
      : place_(place), text_(text), findCable_(findCable) {}

  PathElement Read() const {
    if (text_.empty()) Fail("an empty element: two commas together, or one at an end");
    if (text_.find(':') != std::string_view::npos) return Cable();
    if (EndsWithAnyCase(text_, "dB")) return Lumped();
    return Connector();
  }

 private:
  [[noreturn]] void Fail(const std::string& problem, std::vector<std::string> details = {}) const {
    throw PathTextError(place_, std::string(text_), problem, std::move(details));
  }

  PathElement Lumped() const {
    const std::optional<double> db = NumberOf(Trimmed(text_.substr(0, text_.size() - 2)));
    if (!db || *db < 0) Fail("a lumped loss is a number of dB, 0 or more (0.2dB)");
    PathElement element;
    element.lumpedDb = *db;
    return element;
  }

  PathElement Connector() const {
    const std::string key = ConnectorKey(text_);
    const auto* found = std::ranges::find(kConnectorNames, key, &ConnectorName::name);
    if (found == std::end(kConnectorNames))
      Fail("not a connector (" + std::string(ConnectorNamesList()) +
           "), a loss in dB (0.2dB) or a cable and its length (RG-8X:6ft)");
    PathElement element;
    element.kind = ElementKind::kConnector;
    element.connector = found->family;
    return element;
  }

  double LengthM(std::string_view length) const {
    const bool feet = EndsWithAnyCase(length, "ft");
    if (!feet && !EndsWithAnyCase(length, "m")) Fail("a cable's length needs its unit, ft or m (RG-8X:6ft)");
    const std::optional<double> value = NumberOf(Trimmed(length.substr(0, length.size() - (feet ? 2 : 1))));
    if (!value || !(*value > 0)) Fail("a cable's length is a number above 0 (RG-8X:6ft)");
    return feet ? *value * kMetresPerFoot : *value;
  }

  double OwnVelocityFactor(std::string_view given) const {
    const std::optional<double> vf = NumberOf(Trimmed(given));
    if (!vf || !IsVelocityFactor(*vf)) Fail("the velocity factor after the @ is a number from 0.1 to 1");
    return *vf;
  }

  PathCable Found(const std::string& name) const {
    CableLookup lookup = findCable_(name);
    if (lookup.matches.empty()) {
      if (lookup.nearest.empty()) Fail("no cable has that name");
      Fail("no cable has that name; did you mean:", std::move(lookup.nearest));
    }
    if (lookup.matches.size() > 1) {
      const std::string problem =
          "the name matches " + std::to_string(lookup.matches.size()) + " cables; give a part number:";
      std::vector<std::string> names;
      for (const PathCable& cable : lookup.matches) names.push_back(cable.name);
      Fail(problem, std::move(names));
    }
    return lookup.matches.front();
  }

  PathElement Cable() const {
    const size_t colon = text_.rfind(':'), at = text_.find('@', colon);
    const std::string name(Trimmed(text_.substr(0, colon)));
    if (name.empty()) Fail("no cable name before the colon (RG-8X:6ft)");
    const double lengthM = LengthM(Trimmed(text_.substr(colon + 1, at - std::min(at, colon + 1))));
    const double ownVf = at == std::string_view::npos ? 0 : OwnVelocityFactor(text_.substr(at + 1));
    PathElement element;
    element.kind = ElementKind::kCable;
    element.cable = Found(name);
    element.cable.lengthM = lengthM;
    element.cable.velocityFactor = ownVf > 0 ? ownVf : element.cable.numbers.velocityFactor;
    if (!(element.cable.numbers.impedanceOhms > 0)) Fail("the catalog gives no impedance for this cable");
    if (!(element.cable.velocityFactor > 0))
      Fail("the catalog gives no velocity factor for this cable: give one after an @ (RG-8X:6ft@0.78)");
    if (!IsVelocityFactor(element.cable.velocityFactor))
      Fail("the catalog's velocity factor for this cable is not from 0.1 to 1: give one after an @ (RG-8X:6ft@0.78)");
    return element;
  }

  size_t place_;
  std::string_view text_;
  const CableFinder& findCable_;
};

}  // namespace

PathTextError::PathTextError(size_t place, std::string element, const std::string& problem,
                             std::vector<std::string> details)
    : std::invalid_argument("path element " + std::to_string(place) + ": " + problem),
      place_(place),
      element_(std::move(element)),
      details_(std::move(details)) {}

std::string_view ConnectorNamesList() {
  return "UHF or PL-259, N, BNC, TNC, SMA, F, 7/16 DIN, barrel or adapter, arrestor, switch";
}

std::vector<PathElement> ParsePath(std::string_view text, const CableFinder& findCable) {
  std::vector<PathElement> path;
  size_t place = 1;
  for (size_t start = 0;; ++place) {
    const size_t comma = std::min(text.find(',', start), text.size());
    path.push_back(ElementReader(place, Trimmed(text.substr(start, comma - start)), findCable).Read());
    if (comma == text.size()) return path;
    start = comma + 1;
  }
}

}  // namespace ferrolux
