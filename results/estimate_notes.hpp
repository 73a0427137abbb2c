#pragma once
// The lines shown instead of the estimate's figures where the model judges them not worth
// showing. The results screen and `calc` both show them, word for word the same.

#include <string>
#include <vector>

#include "model/cable_calculation.hpp"

namespace ferrolux {

// The warning or the notice `shown` calls for; none where the figures are shown. The measured
// SWR comes in as the caller writes it.
std::vector<std::string> EstimateNoteLines(EstimateShown shown, double realSwr, const std::string& shackSwr);

}  // namespace ferrolux
