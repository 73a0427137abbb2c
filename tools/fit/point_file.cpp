#include "tools/fit/point_file.hpp"

#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/fit/input_checks.hpp"

namespace ferrolux::fit {

namespace {

constexpr std::string_view kSeparators = " \t,\r";
constexpr char kComment = '#';

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = line.find_first_not_of(kSeparators);
  while (start != std::string_view::npos) {
    const size_t end = std::min(line.find_first_of(kSeparators, start), line.size());
    fields.push_back(line.substr(start, end - start));
    start = line.find_first_not_of(kSeparators, end);
  }
  return fields;
}

}  // namespace

PointList ReadPointFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw InputError(file, 0, "cannot be read");
  return ReadPoints(in, file);
}

PointList ReadPoints(std::istream& in, const std::filesystem::path& file) {
  PointList list;
  std::string line;
  while (std::getline(in, line)) {
    ++list.lastLine;
    const auto fields = Fields(line);
    if (fields.empty() || fields.front().front() == kComment) continue;
    if (fields.size() != 2)
      throw InputError(file, list.lastLine,
                       "expected a frequency in MHz and a loss, found " + std::to_string(fields.size()) + " fields");
    list.points.push_back(ReadPoint(fields[0], fields[1], file, list.lastLine));
  }
  if (list.points.empty())
    throw InputError(file, std::max(list.lastLine, 1),
                     list.lastLine == 0 ? "the file is empty" : "no points in the file");
  return list;
}

}  // namespace ferrolux::fit
