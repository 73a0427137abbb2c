#include "tools/fit/table_file.hpp"

#include <algorithm>
#include <fstream>

#include "tools/fit/input_checks.hpp"

namespace ferrolux::fit {

namespace {

constexpr int kHeaderLine = 1;

std::vector<std::string> SplitAtTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  fields.push_back(line.substr(start));
  return fields;
}

}  // namespace

size_t Table::Column(const std::string& name) const {
  const auto found = std::find(header.begin(), header.end(), name);
  if (found == header.end()) throw InputError(file, kHeaderLine, "no column named " + name);
  return static_cast<size_t>(found - header.begin());
}

Table ReadTable(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw InputError(file, 0, "cannot be read");
  Table table{file, {}, {}};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == kHeaderLine) {
      table.header = SplitAtTabs(line);
    } else if (!line.empty()) {
      table.rows.push_back({number, SplitAtTabs(line)});
      if (table.rows.back().fields.size() != table.header.size())
        throw InputError(file, number,
                         std::to_string(table.rows.back().fields.size()) + " fields where the header has " +
                             std::to_string(table.header.size()));
    }
  }
  if (table.header.empty()) throw InputError(file, kHeaderLine, "the file is empty");
  return table;
}

}  // namespace ferrolux::fit
