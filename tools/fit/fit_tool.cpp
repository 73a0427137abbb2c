#include "tools/fit/fit_tool.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/utf8_args.hpp"
#include "tools/fit/catalog_build.hpp"
#include "tools/fit/input_checks.hpp"
#include "tools/fit/point_file.hpp"

namespace ferrolux::fit {

namespace {

constexpr double kMetresPer100Ft = 3.2808;  // dB per 100 m over this is dB per 100 ft
constexpr double kPercent = 100;
constexpr size_t kCatalogFiles = 3;

const char kUsage[] =
    "usage: ferrolux-fit [--per-100m] [--max-mhz MHZ] POINTS-FILE\n"
    "       ferrolux-fit [--max-mhz MHZ] --catalog CABLE-POINTS.tsv CABLE-FACTS.tsv CATALOG-FILE\n"
    "POINTS-FILE: one datasheet point per line, the frequency in MHz and the loss in dB per 100 ft\n"
    "(per 100 m with --per-100m); points above 1000 MHz are left out unless --max-mhz says otherwise.\n";

const char kLineTemplate[] =
    "<Type>\t<Part Number>\t<Impedance>\t<VF>\t<Cap pF/ft>\t<Center Conductor>\t<Dielectric Type>\t"
    "<Shield Type>\t<Jacket Material>\t<Coaxial Diameter>\t<RMS>\t%s\t%s\t%s\t<Description>\t<Recommended Uses>\n";

class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& message) : std::runtime_error(message + " (see --help)") {}
};

struct Options {
  bool help = false;
  bool per100m = false;
  bool catalog = false;
  double maxMhz = kDefaultMaxMhz;
  std::vector<std::string> files;
};

template <typename... Values>
std::string Printed(const char* format, Values... values) {
  char buffer[1024];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

double MaxMhz(const std::string& text) {
  const auto value = ReadNumber(text);
  if (!value || !(*value > 0)) throw UsageError("--max-mhz needs a frequency above 0, not " + text);
  return *value;
}

Options ParseOptions(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") o.help = true;
    else if (arg == "--per-100m") o.per100m = true;
    else if (arg == "--catalog") o.catalog = true;
    else if (arg == "--max-mhz") o.maxMhz = MaxMhz(i + 1 < args.size() ? args[++i] : "nothing");
    else if (arg.rfind('-', 0) == 0) throw UsageError("unknown option " + arg);
    else o.files.push_back(arg);
  }
  if (o.help) return o;
  if (o.catalog && o.per100m) throw UsageError("--per-100m is for one cable's points, not the catalog");
  if (o.catalog && o.files.size() != kCatalogFiles)
    throw UsageError("--catalog needs the points file, the facts file and the catalog file to write");
  if (!o.catalog && o.files.size() != 1) throw UsageError("expected one points file");
  return o;
}

std::string FitOneCable(const Options& o) {
  PointList list = ReadPointFile(platform::PathOfUtf8(o.files[0]));
  if (o.per100m)
    for (LossPoint& p : list.points) p.loss /= kMetresPer100Ft;
  const ShippedFit fit = FitPoints(list.points, o.maxMhz, platform::PathOfUtf8(o.files[0]), list.lastLine);
  const FitError& e = fit.error;
  const std::string k0 = CoefficientText(fit.k.k0), k1 = CoefficientText(fit.k.k1), k2 = CoefficientText(fit.k.k2);
  return Printed("Points up to %g MHz: %zu of %zu\n", o.maxMhz, fit.pointsUsed, list.points.size()) +
         Printed("k0 %s\nk1 %s\nk2 %s\n", k0.c_str(), k1.c_str(), k2.c_str()) +
         Printed("Worst relative error: %.2f %% at %g MHz (datasheet %.4g, fit %.4g dB per 100 ft)\n",
                 e.worstRelative * kPercent, e.atRelative.mhz, e.atRelative.loss, LossAt(fit.k, e.atRelative.mhz)) +
         Printed("Worst absolute error: %.3f dB per 100 ft at %g MHz\n", e.worstAbsolute, e.atAbsolute.mhz) +
         "Catalog line, TAB-separated, to fill in and end with CR LF:\n" +
         Printed(kLineTemplate, k0.c_str(), k1.c_str(), k2.c_str());
}

// Written beside the target first, so that a failed write leaves the old file as it was.
void WriteWhole(const std::filesystem::path& file, const std::string& bytes) {
  const std::filesystem::path partial = std::filesystem::path(file) += ".partial";
  std::ofstream(partial, std::ios::binary) << bytes;
  std::error_code fault;
  if (std::filesystem::file_size(partial, fault) != bytes.size() || fault) {
    std::filesystem::remove(partial, fault);
    throw InputError(file, 0, "cannot be written");
  }
  std::filesystem::rename(partial, file, fault);
  if (fault) throw InputError(file, 0, "cannot be written: " + fault.message());
}

std::string CatalogSummary(const BuiltCatalog& built, const std::string& file) {
  std::string summary;
  std::vector<double> worst;
  const CableFit* largest = nullptr;
  for (const CableFit& c : built.cables) {
    const FitError& e = c.fit.error;
    summary += Printed("%-34s %2zu points  worst %5.2f %% at %g MHz\n", c.partNumber.c_str(), c.fit.pointsUsed,
                       e.worstRelative * kPercent, e.atRelative.mhz);
    worst.push_back(e.worstRelative);
    if (!largest || e.worstRelative > largest->fit.error.worstRelative) largest = &c;
  }
  if (!largest) return summary + "No cables written to " + file + "\n";
  return summary +
         Printed("%zu cables written to %s; worst relative error per cable: median %.2f %%, largest %.2f %% (%s)\n",
                 built.cables.size(), file.c_str(), Median(worst) * kPercent,
                 largest->fit.error.worstRelative * kPercent, largest->partNumber.c_str());
}

std::string RebuildCatalog(const Options& o) {
  const BuiltCatalog built = BuildCatalog(platform::PathOfUtf8(o.files[0]), platform::PathOfUtf8(o.files[1]), o.maxMhz);
  WriteWhole(platform::PathOfUtf8(o.files[2]), built.text);
  return CatalogSummary(built, o.files[2]);
}

}  // namespace

int RunFitTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const Options o = ParseOptions(args);
    out << (o.help ? kUsage : o.catalog ? RebuildCatalog(o) : FitOneCable(o));
    return 0;
  } catch (const std::exception& fault) {
    err << "ferrolux-fit: " << fault.what() << '\n';
    return kToolFailed;
  }
}

}  // namespace ferrolux::fit
