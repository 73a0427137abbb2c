#include "catalog/catalog.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>

#include "catalog/catalog_reader.hpp"
#include "catalog/file_errors.hpp"
#include "support/recorded_reports.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux {
namespace {

namespace fs = std::filesystem;

std::string Fields(int count, const std::string& prefix = "f") {
  std::string line;
  for (int i = 1; i <= count; ++i) line += (i > 1 ? "\t" : "") + prefix + std::to_string(i);
  return line;
}

class CatalogTest : public ::testing::Test {
 protected:
  testing::RecordedReports reports;
  CatalogTable table = MakeCatalogTable();
  std::string error = "left over";
  testing::TempFolder folder;
  fs::path file = folder.Path() / "CableCatalog.txt";

  // Written long ago: a file changed moments ago and without a final line end is waited for.
  void Write(const std::string& bytes) {
    folder.Write("CableCatalog.txt", bytes);
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  void Load() { LoadCatalog(table, reports, error, file); }
};

TEST_F(CatalogTest, FileFormatCases) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string count;
    std::vector<std::vector<std::string>> records;  // the first fields of each record
    std::string error;
  };
  const std::string sixteen = Fields(16);
  const Case cases[] = {
      {"empty file", "", " 0", {}, ""},
      {"no final terminator", "a\tb", " 1", {{"a", "b"}}, ""},
      {"final terminator adds no record", "a\tb\r\n", " 1", {{"a", "b"}}, ""},
      {"blank line in the middle", "a\tb\r\n\r\nc\td\r\n", " 3", {{"a", "b"}, {"", ""}, {"c", "d"}}, ""},
      {"lone CR ends a line", "a\tb\rc\td", " 2", {{"a", "b"}, {"c", "d"}}, ""},
      {"line without a TAB is empty", "just text\r\n", " 1", {{"", ""}}, ""},
      {"two TABs enclose an empty field", "a\t\tc", " 1", {{"a", "", "c"}}, ""},
      {"quotes removed, blanks trimmed", "\" a b \"\t x \"5\"\"\" ", " 1", {{"a b", "x 5"}}, ""},
      {"LF alone stays in the line", "a\tb\nc\td\n", " 1", {{"a", "b\nc", "d\n"}}, ""},
      {"byte 26 ends the data", std::string("a\tb\r\n\x1a") + "c\td\r\n", " 1", {{"a", "b"}}, ""},
      {"byte 26 in a line", std::string("a\tb\x1a\tc"), " 1", {{"a", "b"}}, ""},
      {"trailing TAB after sixteen fields", sixteen + "\t", " 1", {{"f1", "f2"}}, ""},
      {"exactly 32 fields", Fields(32), " 1", {{"f1", "f2"}}, ""},
      {"33 fields: report and an empty record",
       Fields(33) + "\r\na\tb",
       " 2",
       {{"", ""}, {"a", "b"}},
       "SubScript out of range in ArgSplit Subroutine"},
  };
  for (const Case& c : cases) {
    testing::RecordedReports local;
    CatalogTable t = MakeCatalogTable();
    std::string message = "stale";
    Write(c.bytes);
    LoadCatalog(t, local, message, file);
    EXPECT_EQ(message, c.error) << c.name;
    EXPECT_EQ(t[0][1], c.count) << c.name;
    for (size_t r = 0; r < c.records.size(); ++r)
      for (size_t f = 0; f < c.records[r].size(); ++f)
        EXPECT_EQ(t[r + 1][f + 1], c.records[r][f]) << c.name << " record " << r + 1 << " field " << f + 1;
    EXPECT_EQ(t[c.records.size() + 1][1], "") << c.name;
    EXPECT_EQ(local.waits, c.error.empty() ? 0 : 1) << c.name;
  }
}

TEST_F(CatalogTest, SixteenFieldsAreStoredAndTheRestDropped) {
  Write(Fields(20) + "\r\n");
  Load();
  EXPECT_EQ(table[1][16], "f16");
  EXPECT_EQ(table[1][17], "");
  EXPECT_EQ(table[1][0], "");
  EXPECT_EQ(table[0][0], "");
  EXPECT_EQ(table[0][2], "");
}

TEST_F(CatalogTest, TheOverflowReportIsThreeLinesThenAWait) {
  Write(Fields(40));
  Load();
  const std::vector<std::string> expected{"             Error: SubScript out of range in ArgSplit Subroutine",
                                          "     Array Boundry: 32 ", "Number of Elements: 40 "};
  EXPECT_EQ(reports.lines, expected);
  EXPECT_EQ(reports.waits, 1);
}

TEST_F(CatalogTest, MoreThanTheCapacityGrowsTheTable) {
  std::string bytes;
  for (int i = 1; i <= 2000; ++i) bytes += "RG-" + std::to_string(i) + "\tP\r\n";
  Write(bytes);
  Load();
  EXPECT_EQ(error, "");
  EXPECT_EQ(table[0][1], " 2000");
  ASSERT_GT(table.size(), 2000u);
  EXPECT_EQ(table[2000][1], "RG-2000");
}

TEST_F(CatalogTest, AFileOfLineEndsOnlyCannotExhaustMemory) {
  struct Case {
    size_t lines;
    std::string error, count;
    LoadDetail detail;
  };
  const Case cases[] = {
      {kMaxCatalogRecords, "", std::string(" ").append(std::to_string(kMaxCatalogRecords)), LoadDetail::kNone},
      {kMaxCatalogRecords + 1, "[7] Out of memory", "", LoadDetail::kTooManyRecords},
      {10 * kMaxCatalogRecords, "[7] Out of memory", "", LoadDetail::kTooManyRecords},
  };
  for (const Case& c : cases) {
    Write(std::string(c.lines, '\r'));
    table = MakeCatalogTable();
    EXPECT_EQ(LoadCatalog(table, reports, error, file), c.detail) << c.lines;
    EXPECT_EQ(error, c.error) << c.lines;
    EXPECT_EQ(table[0][1], c.count) << c.lines;
    EXPECT_LE(table.size(), kMaxCatalogRecords + 1) << c.lines;
  }
}

// The file limit once held about 36,000 records of the shipped catalog's length; the longest
// shipped line is 535 bytes.
TEST_F(CatalogTest, AHundredThousandRecordsOfTheShippedLengthWereRefused) {
  {
    std::ofstream out(file, std::ios::binary);
    std::string texts = "\t";
    texts.append(230, 'd').append("\t").append(230, 'u').append("\r\n");
    for (size_t i = 1; i <= kMaxCatalogRecords; ++i)
      out << "RG-" << i % 40 << "\tPart " << i << "\t" << Fields(12) << texts;
  }
  ASSERT_GT(fs::file_size(file), kMaxCatalogRecords * 500);
  EXPECT_EQ(LoadCatalog(table, reports, error, file), LoadDetail::kNone);
  EXPECT_EQ(error, "");
  EXPECT_EQ(RecordCount(table), static_cast<int>(kMaxCatalogRecords));
  EXPECT_EQ(table[kMaxCatalogRecords][2], "Part 100000");
}

TEST_F(CatalogTest, TheFileIsNeverWritten) {
  Write("a\tb\r\n");
  const auto before = fs::last_write_time(file);
  Load();
  EXPECT_EQ(fs::last_write_time(file), before);
  EXPECT_EQ(testing::FileText(file), "a\tb\r\n");
}

TEST_F(CatalogTest, FailuresLeaveTheirMessageAndNoCount) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    std::string error;
    LoadDetail detail = LoadDetail::kNone;
  };
  const Case cases[] = {
      {"missing", [](const fs::path&) {}, "[53] File not found"},
      {"a folder", [](const fs::path& f) { fs::create_directory(f); }, "[75] Path/file access error"},
      {"a FIFO", [](const fs::path& f) { mkfifo(f.c_str(), 0600); }, "[75] Path/file access error"},
      {"a link to a device", [](const fs::path& f) { fs::create_symlink("/dev/zero", f); },
       "[75] Path/file access error"},
      {"oversize",
       [](const fs::path& f) {
         std::ofstream(f) << "x";
         fs::resize_file(f, kMaxCatalogBytes + 1);
       },
       "[7] Out of memory", LoadDetail::kFileTooLarge},
      {"a line too long",
       [](const fs::path& f) { std::ofstream(f) << std::string(kMaxCatalogLineBytes + 1, 'x') << "\r\n"; },
       "[7] Out of memory", LoadDetail::kLineTooLong},
  };
  for (const Case& c : cases) {
    fs::remove_all(file);
    c.make(file);
    CatalogTable t = MakeCatalogTable();
    std::string message;
    EXPECT_EQ(LoadCatalog(t, reports, message, file), c.detail) << c.name;
    EXPECT_EQ(message, c.error) << c.name;
    EXPECT_EQ(t[0][1], "") << c.name;
    EXPECT_EQ(t[1][1], "") << c.name;
  }
}

TEST_F(CatalogTest, APathThroughAFileIsNotFound) {
  Write("a");
  LoadCatalog(table, reports, error, file / "CableCatalog.txt");
  EXPECT_EQ(error, "[76] Path not found");
}

// Locks of another open file description stand for those of another process: record locks of
// one process never conflict, but its OFD locks conflict with its own lockf. The wait for a
// writer's lock to go is left to the end-to-end tests, with real processes.
TEST_F(CatalogTest, ReadersLockedEachOtherOut) {
  const auto recordLock = [](short type) {
    return [type](int descriptor) {
      struct flock lock {};
      lock.l_type = type;
      return fcntl(descriptor, F_OFD_SETLK, &lock);
    };
  };
  struct Case {
    const char* name;
    std::function<int(int)> lock;
    std::string error;
    LoadDetail detail;
  };
  const Case cases[] = {
      {"a reader's flock", [](int d) { return flock(d, LOCK_SH | LOCK_NB); }, "", LoadDetail::kNone},
      {"a reader's fcntl lock", recordLock(F_RDLCK), "", LoadDetail::kNone},
      {"a writer's flock", [](int d) { return flock(d, LOCK_EX | LOCK_NB); }, "[70] Permission denied",
       LoadDetail::kLockedForWriting},
      {"a writer's fcntl lock", recordLock(F_WRLCK), "[70] Permission denied", LoadDetail::kLockedForWriting},
      {"a writer's lockf", [](int d) { return lockf(d, F_TLOCK, 0); }, "[70] Permission denied",
       LoadDetail::kLockedForWriting},
  };
  Write("a\tb\r\n");
  for (const Case& c : cases) {
    const int other = open(file.c_str(), O_RDWR);
    ASSERT_EQ(c.lock(other), 0) << c.name;
    EXPECT_EQ(LoadCatalog(table, reports, error, file, std::chrono::milliseconds(0)), c.detail) << c.name;
    close(other);
    EXPECT_EQ(error, c.error) << c.name;
    LoadCatalog(table, reports, error, file, std::chrono::milliseconds(0));
    EXPECT_EQ(error, "") << c.name;
  }
}

// A writer that takes no lock rewrites the file while it is read: each try that it tears is
// read again, and the split report of a torn try is never shown.
TEST_F(CatalogTest, ACatalogTornByAWriterWithoutALockWasAccepted) {
  struct Case {
    int tornTries;
    std::string error, count;
    LoadDetail detail;
  };
  const Case cases[] = {
      {1, "SubScript out of range in ArgSplit Subroutine", " 3", LoadDetail::kNone},
      {2, "SubScript out of range in ArgSplit Subroutine", " 4", LoadDetail::kNone},
      {3, "[75] Path/file access error", "", LoadDetail::kChangedWhileRead},
  };
  for (const Case& c : cases) {
    Write(Fields(33) + "\r\na\tb\r\n");
    testing::RecordedReports local;
    CatalogTable t = MakeCatalogTable();
    int tries = 0;
    const ReadFileBytes tearing = [&](int descriptor, char* buffer, size_t size) {
      const bool firstRead = lseek(descriptor, 0, SEEK_CUR) == 0;
      if (firstRead && tries++ < c.tornTries) std::ofstream(file, std::ios::app) << "c\td\r\n";
      return ::read(descriptor, buffer, size);
    };
    EXPECT_EQ(LoadCatalogFile(t, local, error, file, std::chrono::milliseconds(0), tearing), c.detail) << c.tornTries;
    EXPECT_EQ(error, c.error) << c.tornTries;
    EXPECT_EQ(t[0][1], c.count) << c.tornTries;
    EXPECT_EQ(local.waits, c.detail == LoadDetail::kNone ? 1 : 0) << c.tornTries;
  }
}

// A writer that takes no lock truncates the file and writes it again: a read between the two
// saw half the records and took them as the catalog. Read again while the file is cut short and
// changed moments ago; refused while that lasts; a file long quiet is read as it is.
TEST_F(CatalogTest, ACatalogCutShortByARewriteInPlaceWasAccepted) {
  using std::chrono::milliseconds;
  const std::string whole = "a\tb\r\nc\td\r\n", cut = "a\tb\r\nc\t";
  struct Case {
    const char* name;
    std::string duringPause;  // what the writer leaves in each pause; nothing when empty
    bool fresh;               // written moments ago, or long ago
    std::string error;
    LoadDetail detail;
    const char* lastField;  // of a catalog taken
    bool readAgain;
  };
  const Case cases[] = {
      {"completed by the writer", whole, true, "", LoadDetail::kNone, "d", true},
      {"still being rewritten", cut, true, "[75] Path/file access error", LoadDetail::kChangedWhileRead, nullptr, true},
      {"long quiet without a final line end", "", false, "", LoadDetail::kNone, "", false},
  };
  for (const Case& c : cases) {
    if (c.fresh) folder.Write("CableCatalog.txt", cut);
    else Write(cut);
    int pauses = 0;
    const RewriteWait rewrite{milliseconds(50), milliseconds(10), [&](milliseconds pause) {
                                std::this_thread::sleep_for(pause);
                                if (!c.duringPause.empty()) folder.Write("CableCatalog.txt", c.duringPause);
                                ++pauses;
                              }};
    CatalogTable t = MakeCatalogTable();
    const ReadFileBytes plain = [](int descriptor, char* buffer, size_t size) {
      return ::read(descriptor, buffer, size);
    };
    EXPECT_EQ(LoadCatalogFile(t, reports, error, file, milliseconds(0), plain, rewrite), c.detail) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
    EXPECT_EQ(c.lastField ? t.at(2).at(2) : "", c.lastField ? c.lastField : "") << c.name;
    EXPECT_EQ(pauses > 0, c.readAgain) << c.name;
  }
}

TEST_F(CatalogTest, AReadFailingPartWayKeepsTheLinesReadBeforeIt) {
  int calls = 0;
  const ReadBytes failing = [&](char* buffer, size_t) -> ssize_t {
    if (calls++ == 0) {
      const std::string bytes = "a\tb\r\nc\td\r\npartial\tline";
      std::copy(bytes.begin(), bytes.end(), buffer);
      return static_cast<ssize_t>(bytes.size());
    }
    errno = EIO;
    return -1;
  };
  LoadCatalogFrom(failing, table, reports, error);
  EXPECT_EQ(error, "[72] Disk media error");
  EXPECT_EQ(table[1][1], "a");
  EXPECT_EQ(table[2][2], "d");
  EXPECT_EQ(table[3][1], "");
  EXPECT_EQ(table[0][1], "");
}

TEST(FileErrorMessage, SortsTheSystemsErrorsIntoTheProgramsCodes) {
  struct Case {
    int errnoValue;
    const char* message;
  };
  const Case cases[] = {
      {ENOENT, "[53] File not found"},        {ENOTDIR, "[76] Path not found"},
      {EACCES, "[70] Permission denied"},     {EPERM, "[70] Permission denied"},
      {EROFS, "[70] Permission denied"},      {EWOULDBLOCK, "[70] Permission denied"},
      {EMFILE, "[67] Too many files"},        {ENFILE, "[67] Too many files"},
      {ENXIO, "[68] Device unavailable"},     {ENODEV, "[68] Device unavailable"},
      {EIO, "[72] Disk media error"},         {ENOMEM, "[7] Out of memory"},
      {ELOOP, "[75] Path/file access error"}, {EINVAL, "[75] Path/file access error"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileErrorMessage(c.errnoValue), c.message) << c.errnoValue;
}

TEST(ArgSplit, SplitsIntoTheArrayAndNeverPastIt) {
  struct Case {
    const char* name;
    std::string text, delimiter;
    size_t bound;
    std::vector<std::string> expected;  // the whole array afterwards
    std::string delimiterAfter;
    std::string error;
  };
  const Case cases[] = {
      {"empty text", "", "\t", 3, {"0", "x", "x", "x"}, "\t", ""},
      {"no delimiter", "abc", "\t", 3, {"0", "x", "x", "x"}, "\t", ""},
      {"empty delimiter splits on commas", "a, b", "", 3, {" 2", "a", "b", ""}, ",", ""},
      {"multi-character delimiter", "a<>b<><>c", "<>", 4, {" 4", "a", "b", "", "c"}, "<>", ""},
      {"elements past n emptied", "a\tb", "\t", 4, {" 2", "a", "b", "", ""}, "\t", ""},
      {"exactly the bound", "a\tb\tc", "\t", 3, {" 3", "a", "b", "c"}, "\t", ""},
      {"one past the bound",
       "a\tb\tc\td",
       "\t",
       3,
       {"x", "x", "x", "x"},
       "\t",
       "SubScript out of range in ArgSplit Subroutine"},
  };
  for (const Case& c : cases) {
    testing::RecordedReports reports;
    std::vector<std::string> parts(c.bound + 1, "x");
    std::string delimiter = c.delimiter;
    std::string error;
    ArgSplit(reports, error, c.text, parts, delimiter);
    EXPECT_EQ(parts, c.expected) << c.name;
    EXPECT_EQ(delimiter, c.delimiterAfter) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
}

}  // namespace
}  // namespace ferrolux
