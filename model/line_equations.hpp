#pragma once
// The line equations for a feed line of real characteristic impedance: from the matched loss
// and the SWR measured at the transmitter, the reflection at the antenna and the true losses.
// Double precision throughout; nothing here is stored as float.

#include <optional>

namespace ferrolux {

struct LineFigures {
  double lossRatio = 1;          // a = 10^(matched loss / 10)
  double shackReflection = 0;    // |Γs| = |S - 1| / (S + 1)
  double antennaReflection = 0;  // |Γa| = |Γs| * a
  double antennaSwr = 1;         // (1 + |Γa|) / (1 - |Γa|)
  double totalLossDb = 0;        // 10 log10((a² - |Γa|²) / (a (1 - |Γa|²)))
  double swrLossDb = 0;          // total - matched
  double powerOutW = 0;
  double powerLostPct = 0;
  double shackReturnLossDb = 0;  // -20 log10 |Γ|; infinite for a perfect match
  double antennaReturnLossDb = 0;
};

// Either the figures, or none when |Γa| >= 1: no load gives that reading through this line.
struct LineSolution {
  std::optional<LineFigures> figures;
  double highestShackSwr = 0;  // (a + 1) / (a - 1): an open or a short at the far end
};

// 10^(dB / 10).
double LossRatio(double matchedLossDb);

// Whether 10^(loss / 10) is beyond a double: no reading of such a line exists.
bool LossBeyondAnyFigure(double matchedLossDb);

// The SWR a line of loss ratio a shows at its input when its far end reflects everything;
// infinite for a lossless line.
double HighestShackSwr(double lossRatio);

LineSolution SolveLine(double lossRatio, double shackSwr, double powerW);

}  // namespace ferrolux
