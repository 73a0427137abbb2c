#pragma once
// The results screen's rows: their labels, their order and how each figure is rounded and
// written. The calculator's screen prints them; `calc` prints them as its estimate column and,
// from the line equations' figures, as its line column.

#include <string>
#include <vector>

namespace ferrolux {

// The figures behind the rows, from the estimate or from the line equations.
struct ResultFigures {
  double freqMHz = 0;
  double matchedPer100 = 0;  // in the unit of ResultWording::per100
  double matchedLossDb = 0;
  double swrLossDb = 0, totalLossDb = 0;
  double powerInW = 0, powerOutW = 0, powerLostPct = 0;
  double shackSwr = 1, antennaSwr = 1;
};

// What the rows say besides the figures.
struct ResultWording {
  double shownLength = 0;
  std::string per100 = " dB 100 ft.";
  std::string lengthUnit = "ft.";
  bool shackSwrComputed = false;  // worked out from an impedance, so rounded like every other figure
  bool estimate = true;           // the estimator's antenna SWR is only roughly known: "+-"
};

struct ResultRow {
  std::string label;  // blank-padded so every value starts in the same column
  std::string value;
  bool swrFigure = false;  // shown only where the SWR figures are worth showing
};

// The rows from the screen's top row down.
std::vector<ResultRow> ResultRows(const ResultFigures& figures, const ResultWording& wording);

// A figure rounded half to even to `places` decimals, as every row writes it.
std::string RoundedText(double value, int places);
// A typed number as it was read, to the seven digits of a float.
std::string TypedText(double value);
// A measured SWR: as typed, or rounded when worked out; "infinite" for a full reflection.
std::string SwrText(double swr, bool computed);
std::string SwrRatioText(double swr, bool computed);

}  // namespace ferrolux
