#include "catalog/catalog.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "catalog/catalog_reader.hpp"
#include "catalog/file_errors.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

constexpr int kStoredFields = 16;
constexpr int kSplitBound = 32;
constexpr char kEndOfData = 26;
const std::string kFieldDelimiter = "\t";

// Doubling keeps loading linear; the last step stops at the record limit.
size_t GrownSize(size_t rows, size_t needed) {
  return std::min(std::max(rows * 2, needed + 1), kMaxCatalogRecords + 1);
}

class RecordWriter {
 public:
  RecordWriter(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage)
      : table_(table), reporter_(reporter), errorMessage_(errorMessage), split_(kSplitBound + 1) {}

  void Add(std::string line) {
    if (count_ == kMaxCatalogRecords) {
      full_ = true;
      return;
    }
    line.erase(std::remove(line.begin(), line.end(), '"'), line.end());
    std::string delimiter = kFieldDelimiter;
    ArgSplit(reporter_, errorMessage_, line, split_, delimiter);
    ++count_;
    if (table_.size() <= count_) table_.resize(GrownSize(table_.size(), count_));
    for (int c = 1; c <= kStoredFields; ++c) table_[count_][c] = TrimBlanks(split_[c]);
    std::fill(split_.begin(), split_.end(), std::string());
  }
  size_t Count() const { return count_; }
  bool Full() const { return full_; }

 private:
  CatalogTable& table_;
  OverflowReporter& reporter_;
  std::string& errorMessage_;
  std::vector<std::string> split_;
  size_t count_ = 0;
  bool full_ = false;
};

// Cuts the bytes into lines (ending at CR or CR LF; a lone LF stays in the line), up to the
// first byte 26. Feed returns false when the end of the data was reached or a line is too long.
class LineCutter {
 public:
  explicit LineCutter(RecordWriter& records) : records_(records) {}

  // Whole runs of ordinary bytes are appended at once: a byte at a time costs more than all
  // the rest of loading.
  bool Feed(const char* bytes, size_t size) {
    const char* at = bytes;
    const char* const end = bytes + size;
    if (afterCarriageReturn_ && at < end && *at == '\n') ++at;
    afterCarriageReturn_ = false;
    while (at < end) {
      const char* stop = std::find_if(at, end, [](char byte) { return byte == '\r' || byte == kEndOfData; });
      if (line_.size() + static_cast<size_t>(stop - at) > kMaxCatalogLineBytes) {
        tooLong_ = true;
        return false;
      }
      line_.append(at, stop);
      if (stop == end) break;
      if (*stop == kEndOfData) return false;
      records_.Add(std::move(line_));
      line_.clear();
      at = stop + 1;
      if (at == end) afterCarriageReturn_ = true;
      else if (*at == '\n') ++at;
    }
    return true;
  }
  bool TooLong() const { return tooLong_; }
  // The last line needs no terminator; a terminator at the very end adds no record.
  void Finish() {
    if (!line_.empty()) records_.Add(std::move(line_));
    line_.clear();
  }

 private:
  RecordWriter& records_;
  std::string line_;
  bool afterCarriageReturn_ = false;
  bool tooLong_ = false;
};

}  // namespace

void EmptyCatalogTable(CatalogTable& table) { table.assign(kCatalogCapacity + 1, CatalogRow{}); }

CatalogTable MakeCatalogTable() {
  CatalogTable table;
  EmptyCatalogTable(table);
  return table;
}

int RecordCount(const CatalogTable& table) { return static_cast<int>(std::lround(ParseNumber(table[0][1]))); }

LoadDetail LoadCatalogFrom(const ReadBytes& read, CatalogTable& table, OverflowReporter& reporter,
                           std::string& errorMessage) {
  RecordWriter records(table, reporter, errorMessage);
  LineCutter lines(records);
  char buffer[1 << 16];
  size_t total = 0;
  for (;;) {
    const ssize_t got = read(buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      errorMessage = FileErrorMessage(errno);
      return LoadDetail::kNone;
    }
    total += static_cast<size_t>(got);
    if (total > kMaxCatalogBytes) {  // the file grew while it was read
      errorMessage = NumberedErrorMessage(kErrorOutOfMemory);
      return LoadDetail::kFileTooLarge;
    }
    const bool more = got > 0 && lines.Feed(buffer, static_cast<size_t>(got));
    if (lines.TooLong()) {
      errorMessage = NumberedErrorMessage(kErrorOutOfMemory);
      return LoadDetail::kLineTooLong;
    }
    if (records.Full() || !more) break;
  }
  lines.Finish();
  if (records.Full()) {
    errorMessage = NumberedErrorMessage(kErrorOutOfMemory);
    return LoadDetail::kTooManyRecords;
  }
  table[0][1] = NumberText(static_cast<long long>(records.Count()));
  return LoadDetail::kNone;
}

}  // namespace ferrolux
