#include "report/table.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace ferrolux {
namespace {

// The bars are painted where the layout put them; at a width they do not fit even with the gaps
// narrowed, they go before any figure, and the notes that share their column stay.
TEST(TableText, BarsPaintedInPlaceAndDroppedBeforeAnyFigure) {
  const std::vector<TableColumn> columns = {{"Name", false, true}, {"Lost", true, false}, {""}};
  const std::vector<TableRow> rows = {{"Foam", "9.5", "#"}, {"Thin", "62.0", "######"}, {"Odd", "-", "max 2"}};
  const std::vector<RowLooks> looks = {{{}, {}, {CellColor::kGreen, true}}, {{}, {}, {CellColor::kRed, true}}};
  const struct {
    int width;
    const char* written;
  } cases[] = {
      {0,
       "\x1b[1mName  Lost\x1b[0m\n"
       "Foam   9.5  \x1b[32m#\x1b[0m\n"
       "Thin  62.0  \x1b[31m######\x1b[0m\n"
       "Odd      -  max 2\n"},
      {15,
       "\x1b[1mName Lost\x1b[0m\n"
       "Foam  9.5\n"
       "Thin 62.0\n"
       "Odd     - max 2\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    WriteTable(out, columns, rows, {c.width, true, true}, looks);
    EXPECT_EQ(out.str(), c.written) << c.width;
  }
}

}  // namespace
}  // namespace ferrolux
