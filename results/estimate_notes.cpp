#include "results/estimate_notes.hpp"

#include "results/result_rows.hpp"

namespace ferrolux {

namespace {

std::vector<std::string> HighSwrWarningLines(const std::string& realSwr) {
  return {"Real SWR is estimated at >20:1 (" + realSwr + ":1)",
          "The SWR specific calculations are not reliable when SWR is",
          "that high. Note that at a 20:1 SWR you lose over 90% of any",
          "incomming signal and likewise on your outgoing power. A 100",
          "watts out results in less than 2 watts at the antenna."};
}

std::vector<std::string> NoEstimateNoticeLines(const std::string& shackSwr) {
  return {"Real SWR cannot be estimated for a measured SWR above 6:1 (" + shackSwr + ":1).",
          "The loss figures would not be reliable, so none are shown. Measure the SWR",
          "at the antenna, or bring the SWR in the shack down to 6:1 or less."};
}

}  // namespace

std::vector<std::string> EstimateNoteLines(EstimateShown shown, double realSwr, const std::string& shackSwr) {
  switch (shown) {
    case EstimateShown::kAboveSixNotice: return NoEstimateNoticeLines(shackSwr);
    case EstimateShown::kHighSwrWarning: return HighSwrWarningLines(RoundedText(realSwr, 0));
    case EstimateShown::kFigures: break;
  }
  return {};
}

}  // namespace ferrolux
