// `ferrolux compare`: every cable of the catalog, or those asked for, under the same settings.

#include <memory>
#include <utility>

#include "cli/cable_choice.hpp"
#include "cli/catalog_source.hpp"
#include "cli/compare.hpp"
#include "cli/option_values.hpp"
#include "cli/subcommand.hpp"
#include "report/line_limits.hpp"

namespace ferrolux::cli {

namespace {

struct CompareOptions {
  SettingTexts settings;
  ExactTexts exact;
  CableFilter filter;
  std::string sort = "total", ohms;
  OutputFormat format = OutputFormat::kText;
};

std::vector<std::string> NotesOf(const std::vector<CatalogRow>& cables, double mhz) {
  std::vector<const CatalogRow*> shown;
  shown.reserve(cables.size());
  for (const CatalogRow& cable : cables) shown.push_back(&cable);
  return LineLimitLines(shown, mhz, mhz);
}

CompareOrder OrderOf(const std::string& sort) {
  if (sort == "matched") return CompareOrder::kMatched;
  if (sort == "name") return CompareOrder::kName;
  if (sort == "exact") return CompareOrder::kExact;
  return CompareOrder::kTotal;
}

void RunCompare(const CompareOptions& o, const Io& io) {
  const Settings settings = ReadSettings(o.settings);
  const ExactRequest exact = ReadExactRequest(o.exact);  // a usage fault before any file fault
  const double ohms = o.ohms.empty() ? 0 : ReadNumber("--ohms", o.ohms);
  std::vector<CatalogRow> cables =
      SelectCables(OnlyColumns(io.Cables(), kComparedColumns), o.filter.type, o.filter.match);
  if (ohms > 0) cables = KeepImpedance(std::move(cables), ohms);
  const std::vector<std::string> notes = NotesOf(cables, settings.freqMHz);
  const std::vector<ComparedCable> rows = CompareCables(std::move(cables), settings, OrderOf(o.sort), exact);
  switch (o.format) {
    case OutputFormat::kCsv: return WriteCompareCsv(io.out, rows);
    case OutputFormat::kJson: return WriteCompareJson(io.out, rows, settings, exact);
    case OutputFormat::kText:
      WriteCompareText(io.out, rows, settings, io.style, exact);
      return WriteLineLimits(io.out, notes, io.style);
  }
}

}  // namespace

void AddCompareCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<CompareOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunCompare(*o, io); });
  AddSettingOptions(command, o->settings);
  AddFilterOptions(command, o->filter);
  command.add_option("--sort", o->sort, "total (line equations), matched, name or exact (the range's upper end)")
      ->type_name("ORDER")
      ->check(CLI::IsMember(kSortKeys))
      ->capture_default_str();
  command.add_option("--ohms", o->ohms, "Only cables of this nominal impedance (50, 75)")
      ->type_name("R")
      ->check(kNotEmpty);
  AddExactOptions(command, o->exact, false);
  AddFormatOption(command, o->format);
}

}  // namespace ferrolux::cli
