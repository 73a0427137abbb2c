// `ferrolux cables`: the catalog, or the cables asked for, with their matched losses.

#include <memory>
#include <utility>

#include "cli/cable_choice.hpp"
#include "cli/cable_list.hpp"
#include "cli/catalog_source.hpp"
#include "cli/subcommand.hpp"

namespace ferrolux::cli {

namespace {

struct CablesOptions {
  CableFilter filter;
  bool metric = false;
  OutputFormat format = OutputFormat::kText;
};

void RunCables(const CablesOptions& o, const Io& io) {
  const bool table = o.format == OutputFormat::kText;
  std::vector<CatalogRow> cables =
      SelectCables(table ? OnlyColumns(io.Cables(), kTableColumns) : io.Cables(), o.filter.type, o.filter.match);
  switch (o.format) {
    case OutputFormat::kCsv: return WriteCablesCsv(io.out, cables, o.metric);
    case OutputFormat::kJson: return WriteCablesJson(io.out, cables, o.metric);
    case OutputFormat::kText: return WriteCablesText(io.out, std::move(cables), o.metric, io.style);
  }
}

}  // namespace

void AddCablesCommand(CLI::App& command, CommandContext& context) {
  const auto o = std::make_shared<CablesOptions>();
  RunWhenChosen(command, context, [o](const Io& io) { RunCables(*o, io); });
  AddFilterOptions(command, o->filter);
  command.add_flag("--metric", o->metric, "Losses per 100 m")->check(kNoValue);
  AddFormatOption(command, o->format);
}

}  // namespace ferrolux::cli
