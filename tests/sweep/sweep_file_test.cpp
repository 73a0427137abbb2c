#include "sweep/sweep_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.hpp"

namespace ferrolux {
namespace {

namespace fs = std::filesystem;

std::string FaultOf(const std::function<void()>& read) {
  try {
    read();
  } catch (const SweepFileError& e) {
    return e.what();
  }
  return "";
}

// A folder gave "basic_filebuf::underflow error reading the file", a missing or looping file
// "cannot be read" without the reason, an empty one "FILE:0:", /dev/zero grew until the OOM
// killer. deembed and measure read through the one reader and say the same.
TEST(ReadSweepFromFile, MessagesWithoutANameOrAReason) {
  ferrolux::testing::TempFolder temp;
  const fs::path dir = temp.Path();
  std::ofstream(dir / "empty.s1p").flush();
  std::ofstream(dir / "short.s1p") << "! VNA\r# MHz S RI R 50\r1 0\r";
  fs::create_symlink(dir / "nowhere.s1p", dir / "dangling.s1p");
  fs::create_symlink(dir / "loop-b.s1p", dir / "loop-a.s1p");
  fs::create_symlink(dir / "loop-a.s1p", dir / "loop-b.s1p");
  ASSERT_EQ(mkfifo((dir / "fifo.s1p").c_str(), 0600), 0);
  struct Case {
    std::string file, message;
  };
  const std::string d = dir.string() + "/";
  std::vector<Case> cases = {
      {d, d + ": Is a directory"},
      {d + "missing.s1p", d + "missing.s1p: No such file or directory"},
      {d + "dangling.s1p", d + "dangling.s1p: No such file or directory"},
      {d + "loop-a.s1p", d + "loop-a.s1p: Too many levels of symbolic links"},
      {d + "empty.s1p", d + "empty.s1p: an empty file"},
      {d + "fifo.s1p", d + "fifo.s1p: not a regular file"},
      {"/dev/zero", "/dev/zero: not a regular file"},
      {d + "short.s1p", d + "short.s1p:3: a short line: a frequency and two values are needed"},
  };
  if (geteuid() != 0) {  // root reads any file
    std::ofstream(dir / "locked.s1p") << "7 0 0\n";
    fs::permissions(dir / "locked.s1p", fs::perms::none);
    cases.push_back({d + "locked.s1p", d + "locked.s1p: Permission denied"});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(FaultOf([&] { ReadSweepFromFile(c.file); }), c.message);
  }
}

// A 2 GB sparse file took 3.9 GB to say "a short line": its first line is refused as it is read.
TEST(ReadSweepFromFile, ASparseFileWasReadWhole) {
  ferrolux::testing::TempFolder temp;
  const fs::path file = temp.Path() / "sparse.s1p";
  std::ofstream(file).flush();
  fs::resize_file(file, 2'000'000'000);
  EXPECT_EQ(FaultOf([&] { ReadSweepFromFile(file.string()); }),
            file.string() + ":1: a line longer than 4,096 characters before any ! comment");
}

}  // namespace
}  // namespace ferrolux
