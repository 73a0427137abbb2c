#pragma once
// What the subcommands write for scripts: rows of named fields, each written as CSV or JSON by
// one writer, so that a CSV header and its values cannot drift apart and every text goes through
// the same guards.

#include <complex>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

namespace ferrolux {

enum class OutputFormat { kText, kCsv, kJson };

// A catalog cell that holds a number: CSV keeps the catalog's own text, JSON reads it (null when
// empty).
struct CatalogNumber {
  std::string bytes;
};

// An impedance: two CSV columns NAME_re and NAME_im, a JSON {"re", "im"}; empty or null when absent.
using ImpedanceValue = std::optional<std::complex<double>>;

// Texts are UTF-8, their controls written as U+FFFD; numbers that are not finite are written
// as empty or null; a bool is yes or no in CSV.
using FieldValue = std::variant<std::string, double, bool, std::nullptr_t, ImpedanceValue, CatalogNumber>;

struct Field {
  std::string name;
  FieldValue value;
};
using Record = std::vector<Field>;

// A number where there is one, else null.
FieldValue NumberOr(bool present, double value);
// A JSON number as a field; null for anything else.
FieldValue NumberIn(const nlohmann::ordered_json& value);

void WriteCsvHeader(std::ostream& out, const Record& record);
void WriteCsvLine(std::ostream& out, const Record& record);

// CSV of `count` records made one at a time; `header` names the columns when there is no record.
template <typename MakeRecord>
void WriteCsv(std::ostream& out, const Record& header, std::size_t count, MakeRecord record) {
  WriteCsvHeader(out, header);
  for (std::size_t i = 0; i < count; ++i) WriteCsvLine(out, record(i));
}

nlohmann::ordered_json JsonOf(const Record& record);

}  // namespace ferrolux
