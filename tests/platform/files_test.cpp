#include "platform/files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/temporary_file.hpp"
#include "platform/utf8_args.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::platform {
namespace {

namespace fs = std::filesystem;
using ferrolux::testing::FileText;

std::string ReadWhole(const fs::path& file) {
  int descriptor = -1;
  EXPECT_EQ(OpenForReading(file, descriptor), 0) << file;
  const OpenFile open(descriptor);
  std::string text;
  char buffer[7];  // small, so that a read returning short is met
  for (std::ptrdiff_t got; (got = ReadSome(open.Get(), buffer, sizeof buffer)) > 0;) text.append(buffer, got);
  return text;
}

// Names a UTF-8 command line brings in; the bytes go out as they are, line ends included (no CR
// added on Windows).
TEST(ReplacedFile, KeepsItsBytesUnderAnyName) {
  const ferrolux::testing::TempFolder temp;
  const std::string bytes = "a,b\n\"c\"\r\nΩ ü\n";
  const struct {
    const char* what;
    std::string name;  // UTF-8, as a command line brings it
  } cases[] = {
      {"plain", "loss.csv"},
      {"umlaut", "Kabel-ü.csv"},
      {"omega", "Ω-chart.svg"},
  };
  for (const auto& c : cases) {
    const fs::path target = temp.Path() / c.what / PathOfUtf8(c.name);
    EXPECT_EQ(target.filename(), fs::path(std::u8string(c.name.begin(), c.name.end()))) << c.what;
    EXPECT_EQ(Utf8OfPath(target.filename()), c.name) << c.what;
    const fs::path folder = target.parent_path();
    fs::create_directories(folder);
    for (const std::string& text : {std::string("old"), bytes}) {
      TemporaryFile file(target);
      file.Write(text);
      file.Replace();
    }
    EXPECT_EQ(ReadWhole(target), bytes) << c.what;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << c.what;
    EXPECT_FALSE(IsMissing(target)) << c.what;
  }
}

// A reader's lock lets other readers in; the file's status stays put while none writes.
TEST(SharedReadLock, LetsASecondReaderIn) {
  const ferrolux::testing::TempFolder temp;
  const fs::path file = temp.Write("CableCatalog.txt", "RG58 line\n");
  int first = -1;
  int second = -1;
  ASSERT_EQ(OpenForReading(file, first), 0);
  ASSERT_EQ(OpenForReading(file, second), 0);
  const OpenFile a(first);
  const OpenFile b(second);
  EXPECT_EQ(TakeSharedReadLock(a.Get()), 0);
  EXPECT_EQ(TakeSharedReadLock(b.Get()), 0);
  FileStatus once;
  FileStatus again;
  ASSERT_EQ(StatusOf(a.Get(), once), 0);
  ASSERT_EQ(StatusOf(b.Get(), again), 0);
  EXPECT_TRUE(once.regular);
  EXPECT_EQ(once.size, 10u);
  EXPECT_EQ(once, again);
  char last = 0;
  EXPECT_TRUE(ReadByteAt(a.Get(), 9, last));
  EXPECT_EQ(last, '\n');
  EXPECT_EQ(ReadWhole(file), FileText(file));
}

}  // namespace
}  // namespace ferrolux::platform
