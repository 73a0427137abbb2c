#include "cli/path_element_fields.hpp"

#include <cmath>

#include "text/text.hpp"

namespace ferrolux::cli {

namespace {

constexpr int kDigits = 7;

FieldValue Figure(bool present, double value) { return present && std::isfinite(value) ? FieldValue(value) : nullptr; }

void AppendJointFields(Record& record, const PathCalculation& c, size_t i) {
  const bool joints = c.figures.has_value(), power = HasPowerFigures(c);
  const Joint joint = joints ? c.figures->joints[i] : Joint{};
  const ElementFigures figures = power ? c.figures->elements[i] : ElementFigures{};
  const double loss = power ? figures.lossDb : c.matchedLossDb[i];
  record.push_back({"loss_db", Figure(true, loss)});
  record.push_back({"loss_all", power && std::isinf(loss)});
  record.push_back({"loss_w", Figure(power, figures.lossW)});
  record.push_back({"power_in_w", Figure(power, joint.powerW)});
  const bool finiteZ = joints && std::isfinite(joint.z.real()) && std::isfinite(joint.z.imag());
  // Only an infinite impedance is an open; a nan one is no figure at all.
  const bool open = joints && (std::isinf(joint.z.real()) || std::isinf(joint.z.imag()));
  record.push_back({"z_in", finiteZ ? ImpedanceValue(joint.z) : ImpedanceValue()});
  record.push_back({"z_in_open", open});
  record.push_back({"swr_in", Figure(joints, joint.swr)});
}

void AppendCableFields(Record& record, const PathCalculation& c, size_t i) {
  const PathElementEntry& entry = c.entries[i];
  const bool cable = entry.element.kind == ElementKind::kCable, peaks = cable && HasCablePeaks(c);
  const WavePeaks highest = peaks ? CablePeaks(c, i) : WavePeaks{};
  record.push_back({"length_m", Figure(cable, entry.element.cable.lengthM)});
  record.push_back({"velocity_factor", Figure(cable, entry.element.cable.velocityFactor)});
  record.push_back({"highest_volts_rms", Figure(peaks, highest.volts)});
  record.push_back({"highest_amps_rms", Figure(peaks, highest.amps)});
  record.push_back({"rating", cable ? FieldValue(RatingText(entry)) : nullptr});
  const std::optional<VoltageRating> rating = RatingOf(entry);
  const bool compared = peaks && rating && std::isfinite(highest.volts);
  record.push_back({"rating_exceeded", compared ? FieldValue(ExceedsRating(*rating, highest.volts)) : nullptr});
}

}  // namespace

std::string ElementName(const PathElementEntry& entry) {
  switch (entry.element.kind) {
    case ElementKind::kCable: {
      const std::string name = (*entry.row)[column::kType] + ", " + (*entry.row)[column::kPartNumber];
      return name + ", " + entry.lengthText;
    }
    case ElementKind::kConnector: return std::string(ConnectorFamilyName(entry.element.connector));
    case ElementKind::kLumped: break;
  }
  return PlainNumberText(entry.element.lumpedDb, kDigits) + " dB";
}

namespace {

// "6ft" as "6 ft", "30m" as "30 m": the unit after the number.
std::string SpacedLength(const std::string& typed) {
  const size_t unit = typed.find_first_not_of("0123456789.,+-eE");
  return unit == std::string::npos ? typed : typed.substr(0, unit) + " " + typed.substr(unit);
}

std::string ElementTitle(const PathElementEntry& entry) {
  if (entry.element.kind != ElementKind::kCable) return ElementName(entry);
  return (*entry.row)[column::kType] + " " + SpacedLength(entry.lengthText);
}

}  // namespace

std::string PathTitle(const std::vector<PathElementEntry>& entries) {
  std::string title;
  for (const PathElementEntry& entry : entries) title += (title.empty() ? "" : ", ") + ElementTitle(entry);
  return title;
}

const char* ElementKindName(ElementKind kind) {
  static const char* const kNames[] = {"cable", "connector", "lumped"};
  return kNames[static_cast<int>(kind)];
}

std::string RatingText(const PathElementEntry& entry) { return entry.row ? (*entry.row)[column::kRms] : std::string(); }

std::optional<VoltageRating> RatingOf(const PathElementEntry& entry) { return ReadVoltageRating(RatingText(entry)); }

bool HasPowerFigures(const PathCalculation& c) { return c.figures && c.figures->powerFigures; }

bool HasCablePeaks(const PathCalculation& c) { return HasPowerFigures(c) || !c.worstPeaks.empty(); }

WavePeaks CablePeaks(const PathCalculation& c, size_t i) {
  if (!c.worstPeaks.empty()) return c.worstPeaks.at(i);
  const ElementFigures& e = c.figures->elements.at(i);
  return {e.peakVolts, e.peakAmps};
}

Record ElementRecord(const PathCalculation& c, size_t i) {
  Record record = {{"element", ElementName(c.entries[i])}, {"kind", ElementKindName(c.entries[i].element.kind)}};
  AppendJointFields(record, c, i);
  AppendCableFields(record, c, i);
  return record;
}

}  // namespace ferrolux::cli
