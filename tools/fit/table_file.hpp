#pragma once
// A TAB-separated file with a header line naming its columns.

#include <filesystem>
#include <string>
#include <vector>

namespace ferrolux::fit {

struct TableRow {
  int line = 0;
  std::vector<std::string> fields;
};

struct Table {
  std::filesystem::path file;
  std::vector<std::string> header;
  std::vector<TableRow> rows;

  // Where the named column is; throws InputError on the header line when there is none.
  size_t Column(const std::string& name) const;
};

// Blank lines are skipped; every other line must have as many fields as the header. A CR
// before the line end is dropped.
Table ReadTable(const std::filesystem::path& file);

}  // namespace ferrolux::fit
