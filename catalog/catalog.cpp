#include "catalog/catalog.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Closes the descriptor (and so drops its lock) on every way out.
class OpenFile {
 public:
  explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
  ~OpenFile() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Get() const { return descriptor_; }

 private:
  int descriptor_;
};

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
// first byte 26. Returns false when the end of the data was reached.
class LineCutter {
 public:
  explicit LineCutter(RecordWriter& records) : records_(records) {}

  bool Feed(const char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
      const char byte = bytes[i];
      if (afterCarriageReturn_ && byte == '\n') {
        afterCarriageReturn_ = false;
        continue;
      }
      afterCarriageReturn_ = false;
      if (byte == kEndOfData) return false;
      if (byte == '\r') {
        records_.Add(std::move(line_));
        line_.clear();
        afterCarriageReturn_ = true;
      } else {
        line_ += byte;
      }
    }
    return true;
  }
  // The last line needs no terminator; a terminator at the very end adds no record.
  void Finish() {
    if (!line_.empty()) records_.Add(std::move(line_));
    line_.clear();
  }

 private:
  RecordWriter& records_;
  std::string line_;
  bool afterCarriageReturn_ = false;
};

// Editors and tools lock with fcntl or lockf as often as with flock, and the two kinds do not
// see each other: a record lock of either type held elsewhere on any part of the file counts.
bool RecordLockedElsewhere(int descriptor) {
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  return fcntl(descriptor, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
}

// Opens the file for reading only, refusing anything that could block or is not a plain file,
// and holds an exclusive lock while it is read. Returns the message of a failure, or "".
std::string OpenForReading(const std::filesystem::path& file, int& descriptor) {
  descriptor = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) return FileErrorMessage(errno);
  struct stat status {};
  if (fstat(descriptor, &status) != 0) return FileErrorMessage(errno);
  if (!S_ISREG(status.st_mode)) return NumberedErrorMessage(kErrorFileAccess);
  if (static_cast<unsigned long long>(status.st_size) > kMaxCatalogBytes)
    return NumberedErrorMessage(kErrorOutOfMemory);
  if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) return FileErrorMessage(errno);
  if (RecordLockedElsewhere(descriptor)) return FileErrorMessage(EWOULDBLOCK);
  return {};
}

}  // namespace

CatalogTable MakeCatalogTable() { return CatalogTable(kCatalogCapacity + 1); }

int RecordCount(const CatalogTable& table) { return static_cast<int>(std::lround(ParseNumber(table[0][1]))); }

void LoadCatalogFrom(const ReadBytes& read, CatalogTable& table, OverflowReporter& reporter,
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
      return;
    }
    total += static_cast<size_t>(got);
    if (total > kMaxCatalogBytes) {  // the file grew while it was read
      errorMessage = NumberedErrorMessage(kErrorOutOfMemory);
      return;
    }
    const bool more = got > 0 && lines.Feed(buffer, static_cast<size_t>(got));
    if (records.Full()) break;
    if (!more) break;
  }
  lines.Finish();
  if (records.Full()) {
    errorMessage = NumberedErrorMessage(kErrorOutOfMemory);
    return;
  }
  table[0][1] = NumberText(static_cast<long long>(records.Count()));
}

void LoadCatalog(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage,
                 const std::filesystem::path& file) {
  errorMessage.clear();
  if (table.empty()) table = MakeCatalogTable();
  int descriptor = -1;
  const std::string failure = OpenForReading(file, descriptor);
  const OpenFile open(descriptor);
  if (!failure.empty()) {
    errorMessage = failure;
    return;
  }
  LoadCatalogFrom([&](char* buffer, size_t size) { return ::read(open.Get(), buffer, size); }, table, reporter,
                  errorMessage);
}

}  // namespace ferrolux
