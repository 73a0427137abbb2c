#include "model/connector_loss.hpp"

#include <cmath>

namespace ferrolux {

std::string_view ConnectorFamilyName(ConnectorFamily family) {
  switch (family) {
    case ConnectorFamily::kUhf: return "UHF";
    case ConnectorFamily::kN: return "N";
    case ConnectorFamily::kBnc: return "BNC";
    case ConnectorFamily::kTnc: return "TNC";
    case ConnectorFamily::kSma: return "SMA";
    case ConnectorFamily::kF: return "F";
    case ConnectorFamily::kDin716: return "7/16 DIN";
    case ConnectorFamily::kBarrel: return "barrel";
    case ConnectorFamily::kArrestor: return "arrestor";
    case ConnectorFamily::kSwitch: return "switch";
  }
  return "";
}

double ConnectorLossDb(ConnectorFamily family, double freqMHz) {
  const std::string_view name = ConnectorFamilyName(family);
  const ConnectorLossPoint* below = nullptr;
  for (const ConnectorLossPoint& point : ConnectorLossTable()) {
    if (point.family != name) continue;
    // A nan frequency compares false everywhere and takes the lowest figure.
    if (!(freqMHz > point.freqMHz)) {
      if (below == nullptr) return point.lossDb;
      const double share = std::log(freqMHz / below->freqMHz) / std::log(point.freqMHz / below->freqMHz);
      return below->lossDb + share * (point.lossDb - below->lossDb);
    }
    below = &point;
  }
  return below == nullptr ? 0.0 : below->lossDb;
}

}  // namespace ferrolux
