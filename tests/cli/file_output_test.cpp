#include "cli/file_output.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cli/command_error.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::cli {
namespace {

namespace fs = std::filesystem;
using ferrolux::testing::FileText;

class FileOutputTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;

  size_t FilesInFolder() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()));
  }
};

TEST_F(FileOutputTest, ReplacesTheFileWholeAndKeepsItsMode) {
  const fs::path file = temp.Write("chart.svg", "old chart");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(file, "new chart");
  EXPECT_EQ(FileText(file), "new chart");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(temp.Path() / "fresh.svg", [](std::ostream& out) { out << "made"; });
  EXPECT_EQ(FileText(temp.Path() / "fresh.svg"), "made");
  EXPECT_EQ(FilesInFolder(), 2u);
}

// The bytes the open files in `folder` hold, named or not (/proc/self/fd shows an unnamed one too).
off_t BytesOpenIn(const fs::path& folder) {
  off_t bytes = 0;
  for (const fs::directory_entry& fd : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    struct stat status {};
    if (fs::read_symlink(fd.path(), error).string().starts_with(folder.string()) &&
        fstat(std::stoi(fd.path().filename().string()), &status) == 0)
      bytes += status.st_size;
  }
  return bytes;
}

// A de-embedded sweep of a million points was held as one text of some 60 MB before a byte of
// it reached the file: what the writer puts out goes on as it is made.
TEST_F(FileOutputTest, AWrittenTextWasHeldWholeBeforeItReachedTheFile) {
  constexpr size_t kLines = 100'000;
  off_t onDiskMidway = 0;
  WriteFileAtomically(temp.Path() / "antenna.s1p", [&](std::ostream& out) {
    for (size_t i = 0; i < kLines; ++i) out << "14.000000 0.123456789 -0.987654321\n";
    onDiskMidway = BytesOpenIn(temp.Path());
  });
  EXPECT_GT(onDiskMidway, 3'000'000);
  EXPECT_EQ(fs::file_size(temp.Path() / "antenna.s1p"), kLines * 35);
}

TEST_F(FileOutputTest, ASymlinkKeepsPointingAtItsReplacedTarget) {
  fs::create_directory(temp.Path() / "charts");
  const fs::path target = temp.Write("charts/real.svg", "old chart");
  const fs::path link = temp.Path() / "link.svg";
  fs::create_symlink("charts/real.svg", link);
  WriteFileAtomically(link, "new chart");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), "charts/real.svg");
  EXPECT_EQ(FileText(target), "new chart");
}

// The fault: the chart was truncated and written in place, so a full disk (here a file-size
// limit) left a cut file and a message without the reason.
TEST_F(FileOutputTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
  const fs::path file = temp.Write("chart.svg", "old chart");
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  const pid_t child = fork();
  if (child == 0) {
    constexpr rlim_t kLimit = 16;
    const rlimit limit{kLimit, kLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      WriteFileAtomically(file, std::string(1000, 'x'));
    } catch (const CommandError& error) {
      const std::string message = error.what();
      _exit(write(pipeEnds[1], message.data(), message.size()) > 0 ? 0 : 1);
    }
    _exit(1);
  }
  close(pipeEnds[1]);
  char buffer[256] = {};
  const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer - 1);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<size_t>(got) : 0),
            file.string() + ": could not be written: File too large");
  EXPECT_EQ(FileText(file), "old chart");
  EXPECT_EQ(FilesInFolder(), 1u);
}

}  // namespace
}  // namespace ferrolux::cli
