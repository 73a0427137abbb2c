#include "report/file_output.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "platform/temporary_file.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux {
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
  WriteWholeFile(file, "new chart");
  EXPECT_EQ(FileText(file), "new chart");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteWholeFile(temp.Path() / "fresh.svg", [](std::ostream& out) { out << "made"; });
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
  WriteWholeFile(temp.Path() / "antenna.s1p", [&](std::ostream& out) {
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
  WriteWholeFile(link, "new chart");
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
      WriteWholeFile(file, std::string(1000, 'x'));
    } catch (const FileWriteError& error) {
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

struct NodeIdentity {
  dev_t device;
  ino_t inode;
  mode_t type;
};

NodeIdentity Identity(const fs::path& file) {
  struct stat status {};
  EXPECT_EQ(stat(file.c_str(), &status), 0) << file;
  return {status.st_dev, status.st_ino, status.st_mode & S_IFMT};
}

// The fault: a FIFO or a device node was replaced by a regular file (as root, /dev/full and
// /dev/null themselves). Each is written into, as the shell's `>` would, and stays what it was.
TEST_F(FileOutputTest, AFifoOrDeviceIsWrittenIntoNotReplacedByAFile) {
  const fs::path fifo = temp.Path() / "chart.fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Open for reading first, so that the write does not wait for a reader; the text fits the pipe.
  const int readEnd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  // As root a node like /dev/null is made here, so the real one is never put at risk.
  fs::path device = temp.Path() / "null";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) device = "/dev/null";
  fs::create_symlink(device, temp.Path() / "device.link");

  for (const fs::path& node : {fifo, device, temp.Path() / "device.link"}) {
    const NodeIdentity before = Identity(node);
    WriteWholeFile(node, "new chart");
    const NodeIdentity after = Identity(node);
    EXPECT_TRUE(after.device == before.device && after.inode == before.inode && after.type == before.type) << node;
  }
  char buffer[64] = {};
  EXPECT_EQ(read(readEnd, buffer, sizeof buffer), 9);
  EXPECT_STREQ(buffer, "new chart");
  close(readEnd);
  EXPECT_TRUE(fs::is_symlink(temp.Path() / "device.link"));
  EXPECT_EQ(std::count_if(fs::directory_iterator(temp.Path()), fs::directory_iterator(),
                          [](const fs::directory_entry& entry) { return entry.path().filename().string()[0] == '.'; }),
            0);
}

// The fault: SIGINT, SIGTERM or SIGHUP mid-write left the `.NAME.PID.0` temporary behind. Where
// the file system gives no unnamed temporary, the named one goes with the program.
TEST_F(FileOutputTest, AnInterruptedWriteLeavesNoTemporaryBehind) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = fork();
    if (child == 0) {
      WriteWholeFile(temp.Path() / "other.s1p", "a finished file");  // a finished write disarms
      const platform::TemporaryFile named(temp.Path() / "sweep.s1p", platform::TemporaryFile::Kind::kNamed);
      named.Write("half a sweep");
      raise(signal);
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_EQ(FilesInFolder(), 1u) << signal;  // the finished file alone
    EXPECT_EQ(FileText(temp.Path() / "other.s1p"), "a finished file");
  }
}

}  // namespace
}  // namespace ferrolux
