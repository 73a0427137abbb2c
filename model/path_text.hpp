#pragma once
// A feed line of elements as a ham types it, one argument a shell leaves alone:
//   "RG-8X:6ft, PL-259, arrestor, Times LMR-400:100ft, N, RG-8X:3ft@0.78, 0.2dB"
// Elements are separated by commas, shack end first. A cable is a name, a colon and a length in
// ft or m, with its own velocity factor after an @ ("at VF 0.78": no catalog name holds an @,
// and no shell gives it a meaning); a connector is its family or a common name of it (PL-259 is
// UHF); a lumped loss is a number of dB.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/element_path.hpp"

namespace ferrolux {

// What the catalog has under a typed cable name: one cable, several (the name is ambiguous), or
// none, with the names nearest to it.
struct CableLookup {
  std::vector<PathCable> matches;  // with their names and numbers; length and VF are the parser's
  std::vector<std::string> nearest;
};
using CableFinder = std::function<CableLookup(const std::string& typed)>;

// A path that cannot be read. The message names the element by its place; the element as typed
// is kept apart, for the caller to quote safely, as are the candidate cables' names.
class PathTextError : public std::invalid_argument {
 public:
  PathTextError(size_t place, std::string element, const std::string& problem, std::vector<std::string> details = {});
  size_t Place() const { return place_; }  // 1 for the element at the shack end
  const std::string& Element() const { return element_; }
  const std::vector<std::string>& Details() const { return details_; }

 private:
  size_t place_;
  std::string element_;
  std::vector<std::string> details_;
};

// The families a connector element may name, with their other names, for messages and completion.
std::string_view ConnectorNamesList();

std::vector<PathElement> ParsePath(std::string_view text, const CableFinder& findCable);

}  // namespace ferrolux
