#pragma once
// The insertion loss of the connectors, adapters and in-line parts a feed line passes through,
// from the published figures of data/connector-loss.tsv (compiled in; the table names the source
// of every figure).

#include <span>
#include <string_view>

namespace ferrolux {

enum class ConnectorFamily { kUhf, kN, kBnc, kTnc, kSma, kF, kDin716, kBarrel, kArrestor, kSwitch };

inline constexpr ConnectorFamily kConnectorFamilies[] = {
    ConnectorFamily::kUhf,      ConnectorFamily::kN,     ConnectorFamily::kBnc,    ConnectorFamily::kTnc,
    ConnectorFamily::kSma,      ConnectorFamily::kF,     ConnectorFamily::kDin716, ConnectorFamily::kBarrel,
    ConnectorFamily::kArrestor, ConnectorFamily::kSwitch};

struct ConnectorLossPoint {
  std::string_view family;  // as the table's first column names it
  double freqMHz = 0, lossDb = 0;
};

// Every row of the table, in its order: each family's rows by rising frequency.
std::span<const ConnectorLossPoint> ConnectorLossTable();

// "UHF", "N", "7/16 DIN", "arrestor": the table's name of the family.
std::string_view ConnectorFamilyName(ConnectorFamily family);

// The loss at `freqMHz`, straight in dB against log frequency between the table's figures and
// held at the nearer end's figure outside them: below the lowest a connector loses less still, and
// above the highest no figure says how fast it grows.
double ConnectorLossDb(ConnectorFamily family, double freqMHz);

}  // namespace ferrolux
