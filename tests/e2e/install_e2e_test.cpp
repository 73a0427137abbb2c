// The program as it is installed: into a prefix, and as a Debian package.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "command_run.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;

const char* const kInstalledFiles[] = {
    "bin/ferrolux",
    "bin/ferrolux-fit",
    "share/ferrolux/CableCatalog.txt",
    "share/ferrolux/NOTICE",
    "share/man/man1/ferrolux.1.gz",
    "share/man/man1/ferrolux-fit.1.gz",
    "share/doc/ferrolux/README.md",
    "share/doc/ferrolux/copyright",
    "share/doc/ferrolux/changelog.gz",
    "share/bash-completion/completions/ferrolux",
    "share/zsh/vendor-completions/_ferrolux",
    "share/fish/vendor_completions.d/ferrolux.fish",
};

TEST(Install, TheInstalledProgramRunsFromAnyFolderOnTheShippedCatalog) {
  ferrolux::testing::TempFolder temp;
  const fs::path prefix = temp.Path() / "prefix", elsewhere = temp.Path() / "elsewhere";
  const auto installed =
      RunCommand(CMAKE_COMMAND, {"--install", FERROLUX_BUILD_FOLDER, "--prefix", prefix}, temp.Path());
  ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
  for (const char* file : kInstalledFiles) EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;

  fs::create_directories(elsewhere);
#ifdef FERROLUX_EMULATOR
  PtySession s(FERROLUX_EMULATOR, elsewhere, 120, 43, {(prefix / "bin/ferrolux").string()});
#else
  PtySession s((prefix / "bin/ferrolux").string(), elsewhere);
#endif
  ASSERT_TRUE(s.WaitForText("length in ft:")) << s.Screen();
  s.Send("100\r100\r1.5\rn9");
  for (const char* shipped : {"Select Cable Type", "Westflex 103", "LMR-400"})
    ASSERT_TRUE(s.WaitForText(shipped)) << shipped << "\n" << s.Screen();
  s.Send("lmr-4\r\r");
  ASSERT_TRUE(s.WaitForText("Cable Type: LMR-400, Times LMR-400")) << s.Screen();
  // The shipped catalog's longest cable block stays inside the frame.
  EXPECT_NE(s.Row(8).find(" Dielectric Type: Foam   Shield Type: Foil+braid"), std::string::npos) << s.Row(8);
  EXPECT_EQ(s.Cell(8, 119), "║");
  EXPECT_EQ(s.Row(9).find_first_not_of(" ║"), std::string::npos) << s.Row(9);
  EXPECT_NE(s.Screen().find("Frequency: 28.5 MHz"), std::string::npos);
  s.Send("n");
  EXPECT_EQ(s.WaitForExit(), 0);
}

TEST(Install, TheDebianPackageNamesItsLibrariesAndHoldsTheInstalledFilesUnderUsr) {
  ferrolux::testing::TempFolder temp;
  const fs::path config = fs::path(FERROLUX_BUILD_FOLDER) / "CPackConfig.cmake";
  const auto packed = RunCommand(CPACK_COMMAND, {"-G", "DEB", "--config", config}, temp.Path());
  ASSERT_EQ(packed.status, 0) << packed.out << packed.err;
  fs::path package;
  for (const auto& entry : fs::directory_iterator(temp.Path()))
    if (entry.path().extension() == ".deb") package = entry.path();
  ASSERT_EQ(package.filename().string().rfind("ferrolux_" FERROLUX_VERSION "_", 0), 0u) << package;

  const auto info = RunCommand("dpkg-deb", {"--info", package}, temp.Path());
  const size_t depends = info.out.find("\n Depends: ");
  ASSERT_NE(depends, std::string::npos) << info.out;
  const std::string dependsLine = info.out.substr(depends + 1, info.out.find('\n', depends + 1) - depends);
  for (const char* library : {"libc6 (>= ", "libncursesw6 (>= ", "libtinfo6 (>= ", "libstdc++6 (>= "})
    EXPECT_NE(dependsLine.find(library), std::string::npos) << library << " in " << dependsLine;
  EXPECT_NE(info.out.find("\n Version: " FERROLUX_VERSION "\n"), std::string::npos) << info.out;

  const auto contents = RunCommand("sh", {"-c", "dpkg-deb --contents \"$0\" | awk '{print $6}'", package}, temp.Path());
  for (const char* file : kInstalledFiles)
    EXPECT_NE(contents.out.find("./usr/" + std::string(file) + "\n"), std::string::npos) << file;
  std::istringstream lines(contents.out);
  for (std::string line; std::getline(lines, line);) EXPECT_TRUE(line == "./" || line.rfind("./usr/", 0) == 0) << line;
}

}  // namespace
}  // namespace ferrolux::e2e
