#include "results/result_rows.hpp"

#include <cmath>

#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr int kFloatDigits = 7, kRoundedDigits = 15;

}  // namespace

std::string RoundedText(double value, int places) {
  return PlainNumberText(RoundHalfEven(value, places), kRoundedDigits);
}

std::string TypedText(double value) { return PlainNumberText(value, kFloatDigits); }

std::string SwrText(double swr, bool computed) {
  if (std::isinf(swr)) return "infinite";
  return computed ? RoundedText(swr, 2) : TypedText(swr);
}

std::string SwrRatioText(double swr, bool computed) {
  return std::isinf(swr) ? "infinite" : SwrText(swr, computed) + ":1";
}

std::vector<ResultRow> ResultRows(const ResultFigures& f, const ResultWording& w) {
  const std::string at = " dB @" + PrintedNumberText(w.shownLength, kFloatDigits) + w.lengthUnit;
  return {
      {"       Frequency: ", TypedText(f.freqMHz) + " MHz", false},
      {" STD. Match Loss: ", RoundedText(f.matchedPer100, 3) + w.per100, false},
      {"      Match Loss: ", RoundedText(f.matchedLossDb, 3) + at, false},
      {" Loss due to SWR: ", RoundedText(f.swrLossDb, 2) + " dB", true},
      {"      Total Loss: ", RoundedText(f.totalLossDb, 2) + " dB", true},
      {"        Power In: ", RoundedText(f.powerInW, 2) + " watts", false},
      {"       Power Out: ", RoundedText(f.powerOutW, 2) + " watts", true},
      {"      Power Loss: ", RoundedText(f.powerLostPct, 2) + "%", true},
      {"    Apparent swr: ", SwrRatioText(f.shackSwr, w.shackSwrComputed), false},
      {"        Real SWR: ", RoundedText(f.antennaSwr, 2) + (w.estimate ? ":1 +-" : ":1"), true},
  };
}

}  // namespace ferrolux
