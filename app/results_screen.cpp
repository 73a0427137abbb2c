#include "app/results_screen.hpp"

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_set>

#include "app/main_screen.hpp"
#include "app/program_state.hpp"
#include "catalog/cable.hpp"
#include "console/colors.hpp"
#include "console/console.hpp"
#include "console/format_output.hpp"
#include "console/pick_list.hpp"
#include "console/sort_list.hpp"
#include "model/cable_calculation.hpp"
#include "results/estimate_notes.hpp"
#include "results/result_rows.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr int kListTop = 5, kTypeListLeft = 46, kPartListLeft = 44, kListBottom = 39;
constexpr int kPartListSpare = 9;  // the part list's bottom row is 9 + its count, at most 39
constexpr int kColumn = 5;
constexpr int kLastUsableRow = main_screen::kWorkBottom;  // the frame's bottom line stays intact
constexpr int kWrapWidth = 90;
const std::string kTypeTitle = ",Select Cable Type";
const std::string kPartTitle = ",Please Make a Selection";
constexpr int kRecordsBetweenSignalChecks = 4096;

// Writes the text and a line end at (row, 5), unless the row lies on or below the frame's
// bottom line; a text long enough to wrap that far is cut short. Returns the next row.
int PrintRow(Console& console, int row, const std::string& text) {
  if (row > kLastUsableRow) return row + 1;
  const size_t room = static_cast<size_t>(kLastUsableRow - row + 1) * kScreenColumns - (kColumn - 1);
  console.Locate(row, kColumn);
  console.PrintText(std::string_view(text).substr(0, room - 1));
  console.PrintLineEnd();
  return row + 1;
}

void ClearList(std::vector<std::string>& list) { std::fill(list.begin(), list.end(), std::string()); }

// Each distinct type once, then in descending byte order. A catalog of many thousand types
// takes a while: signals are heard meanwhile.
int BuildTypeList(Console& console, const ProgramState& state, std::vector<std::string>& list) {
  int count = 0;
  std::unordered_set<std::string_view> seen;
  for (int r = 1; r <= state.recordCount; ++r) {
    if (r % kRecordsBetweenSignalChecks == 0) console.ActOnPendingSignals();
    const std::string& type = state.catalog[r][column::kType];
    if (seen.insert(type).second) list[++count] = type;
  }
  SortList(list, count, "D", [&console] { console.ActOnPendingSignals(); });
  list[0] = NumberText(count) + kTypeTitle;
  return count;
}

int Pick(Console& console, const std::vector<std::string>& list, int left, int bottom) {
  int selection = 0;
  PickList(console, list, selection, kListTop, left, bottom, kTextColors.foreground, kTextColors.background,
           kListFrameColors.foreground, kListFrameColors.background, kTextColors.foreground, main_screen::kFrameRight);
  return selection;
}

std::string ChooseType(Console& console, const ProgramState& state, CycleLists& lists) {
  ClearList(lists.typeList);
  BuildTypeList(console, state, lists.typeList);
  std::string type = lists.typeList[Pick(console, lists.typeList, kTypeListLeft, kListBottom)];
  ClearList(lists.typeList);
  ClearWorkArea(console);
  return type;
}

int ChoosePart(Console& console, const ProgramState& state, CycleLists& lists, const std::string& type) {
  int count = 0;
  for (int r = 1; r <= state.recordCount; ++r) {
    if (state.catalog[r][column::kType] != type) continue;
    lists.recordIndex[++count] = r;
    lists.typeList[count] = state.catalog[r][column::kPartNumber];
  }
  lists.recordIndex[0] = count;
  lists.typeList[0] = NumberText(count) + kPartTitle;
  const int bottom = std::min(kPartListSpare + count, kListBottom);
  const int row = lists.recordIndex[Pick(console, lists.typeList, kPartListLeft, bottom)];
  ClearWorkArea(console);
  return row;
}

// Rows 5 to 8; returns the row below the block (further down when row 8 wrapped).
int ShowCableBlock(Console& console, const CatalogRow& cable) {
  console.SetColor(kTextColors.foreground, kTextColors.background);
  int row = kListTop;
  for (const std::string& text : CableBlockRows(cable)) row = PrintRow(console, row, text);
  return console.CursorRow();
}

int PrintRows(Console& console, int row, const std::vector<std::string>& texts) {
  for (const std::string& text : texts) row = PrintRow(console, row, text);
  return row;
}

int ShowResults(Console& console, int row, const ProgramState& state, const LossFigures& f) {
  const ResultFigures figures{state.freqMHz, f.stdMatchLoss, f.matchLoss,    f.swrLoss,      f.totalLoss,
                              state.powerW,  f.powerOut,     f.powerLossPct, state.shackSwr, f.realSwr};
  for (const ResultRow& r : ResultRows(figures, {.shownLength = state.lengthFt}))
    row = PrintRow(console, row, r.label + r.value);
  return row;
}

int ShowFigures(Console& console, int row, const ProgramState& state, const CatalogCable& cable) {
  const CableCalculation c =
      CalculateCable(cable.numbers, {state.lengthFt, state.powerW, state.shackSwr, state.freqMHz, {}});
  if (c.shown != EstimateShown::kFigures)
    return PrintRows(console, row + 1, EstimateNoteLines(c.shown, c.estimate.realSwr, SwrText(state.shackSwr, false)));
  return ShowResults(console, row + 2, state, c.estimate);
}

// The wrapped lines from row first on, in light grey; returns the row after the last one.
int ShowWrapped(Console& console, ProgramState& state, CycleLists& lists, const std::string& text, int first) {
  FormatOutput(console, state.errorMessage, text, lists.textLines, kWrapWidth);
  const int count = static_cast<int>(ParseNumber(lists.textLines[0]));
  console.SetColor(kWrappedTextColors.foreground, kWrappedTextColors.background);
  int row = first;
  for (int i = 1; i <= count; ++i) row = PrintRow(console, row, lists.textLines[i]);
  return row;
}

void ShowTexts(Console& console, ProgramState& state, CycleLists& lists, const CatalogRow& cable, int row) {
  const int description = row + 1;
  console.SetColor(kTextColors.foreground, kTextColors.background);
  PrintRow(console, description, "Description: ");
  const int afterDescription = ShowWrapped(console, state, lists, cable[column::kDescription], description + 2);
  const int uses = afterDescription + 1;
  if (uses <= kLastUsableRow) {
    console.SetColor(kTextColors.foreground, kTextColors.background);
    console.Locate(uses, kColumn);
    console.PrintText("Recommended Uses: ");
  }
  ShowWrapped(console, state, lists, cable[column::kRecommendedUses], uses + 2);
}

void FitListsToCatalog(const ProgramState& state, CycleLists& lists) {
  const size_t size = std::max<size_t>(kListBound + 1, static_cast<size_t>(state.recordCount) + 1);
  if (lists.typeList.size() < size) lists.typeList.resize(size);
  if (lists.recordIndex.size() < size) lists.recordIndex.resize(size);
}

}  // namespace

std::array<std::string, kCableBlockRows> CableBlockRows(const CatalogRow& cable) {
  using namespace column;
  return {"      Cable Type: " + cable[kType] + ", " + cable[kPartNumber],
          "       Impedance: " + cable[kImpedance] + " Ohms     VF: " + cable[kVelocityFactor],
          "Center Conductor: " + cable[kCenterConductor],
          " Dielectric Type: " + cable[kDielectric] + "   Shield Type: " + cable[kShield] + "   Jacket Material: " +
              cable[kJacket] + "   Coaxial Diameter: " + cable[kDiameter] + "   RMS: " + cable[kRms]};
}

void ChooseCableAndShowResults(Console& console, ProgramState& state, CycleLists& lists) {
  FitListsToCatalog(state, lists);
  const std::string type = ChooseType(console, state, lists);
  const CatalogCable cable = ReadCatalogCable(state.catalog[ChoosePart(console, state, lists, type)]);
  const int belowBlock = ShowCableBlock(console, cable.texts);
  const int afterFigures = ShowFigures(console, belowBlock, state, cable);
  ShowTexts(console, state, lists, cable.texts, afterFigures);
}

}  // namespace ferrolux
