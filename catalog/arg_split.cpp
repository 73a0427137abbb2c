#include <string>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/overflow_reporter.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr char kDefaultDelimiter = ',';
const std::string kOverflowMessage = "SubScript out of range in ArgSplit Subroutine";

int CountFields(const std::string& text, const std::string& delimiter) {
  int fields = 1;
  for (size_t at = text.find(delimiter); at != std::string::npos; at = text.find(delimiter, at + delimiter.size()))
    ++fields;
  return fields;
}

}  // namespace

void ArgSplit(OverflowReporter& reporter, std::string& errorMessage, const std::string& text,
              std::vector<std::string>& parts, std::string& delimiter) {
  if (delimiter.empty()) delimiter.push_back(kDefaultDelimiter);
  if (parts.empty()) return;
  if (text.empty() || text.find(delimiter) == std::string::npos) {
    parts[0].assign(1, '0');  // not = "0": GCC 12 warns falsely about overlap there
    return;
  }
  const int fields = CountFields(text, delimiter);
  const int upperBound = static_cast<int>(parts.size()) - 1;
  if (upperBound < fields) {
    errorMessage = kOverflowMessage;
    for (const std::string& line : OverflowReportLines(errorMessage, upperBound, fields)) reporter.PrintLine(line);
    reporter.WaitForKey();
    return;
  }
  std::string_view rest(text);
  for (int k = 1; k < fields; ++k) {
    const size_t end = rest.find(delimiter);
    parts[k] = TrimBlanks(rest.substr(0, end));
    rest.remove_prefix(end + delimiter.size());
  }
  parts[fields] = TrimBlanks(rest);
  for (size_t k = fields + 1; k < parts.size(); ++k) parts[k].clear();
  parts[0] = NumberText(fields);
}

}  // namespace ferrolux
