// The subcommands' writers on catalog records of arbitrary bytes, in every format: no control
// byte is ever written (but the line end and a TAB inside CSV and text), neither C0 nor DEL nor
// a C1 control in UTF-8, so no catalog can drive the terminal its output is shown on.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "cli/cable_list.hpp"
#include "cli/compare.hpp"
#include "cli/settings.hpp"
#include "report/output.hpp"

namespace {

using ferrolux::CatalogRow;

// One record per line, its fields TAB-separated in column order.
std::vector<CatalogRow> Records(const std::string& text) {
  std::vector<CatalogRow> rows(1);
  int column = 1;
  for (char c : text) {
    if (c == '\n') rows.emplace_back(), column = 1;
    else if (c == '\t' && column + 1 < ferrolux::kCatalogColumns) ++column;
    else rows.back()[column] += c;
  }
  return rows;
}

bool WritesAControl(const std::string& out) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto byte = static_cast<unsigned char>(out[i]);
    if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F) return true;
    if (byte == 0xC2 && i + 1 < out.size() && static_cast<unsigned char>(out[i + 1]) < 0xA0) return true;
  }
  return false;
}

void Check(const std::ostringstream& out) {
  if (WritesAControl(out.str())) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace cli = ferrolux::cli;
  const std::vector<CatalogRow> rows = Records(std::string(reinterpret_cast<const char*>(data), size));
  const ferrolux::OutputStyle styles[] = {{true, false, true, 80, 24}, {false, false, false, 0, 0}};
  for (const ferrolux::OutputStyle& style : styles) {
    std::ostringstream text;
    cli::WriteCablesText(text, rows, false, style);
    Check(text);
  }
  std::ostringstream csv, json;
  cli::WriteCablesCsv(csv, rows, true);
  cli::WriteCablesJson(json, rows, false);
  Check(csv);
  Check(json);
  cli::SettingTexts texts;
  texts.length = "100";
  texts.mhz = "14";
  const cli::Settings settings = cli::ReadSettings(texts);
  const std::vector<cli::ComparedCable> compared = cli::CompareCables(rows, settings, cli::CompareOrder::kName);
  std::ostringstream compareText, compareCsv, compareJson;
  cli::WriteCompareText(compareText, compared, settings, styles[0]);
  cli::WriteCompareCsv(compareCsv, compared);
  cli::WriteCompareJson(compareJson, compared, settings);
  Check(compareText);
  Check(compareCsv);
  Check(compareJson);
  return 0;
}
