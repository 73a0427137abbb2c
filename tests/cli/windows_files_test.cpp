// What a Windows user meets that a POSIX one does not: a writer's share mode or range lock on the
// catalog, paths past the old 260-character limit, a pipe that cannot report a closed reader by a
// signal.
#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "catalog/catalog.hpp"
#include "cli/catalog_source.hpp"
#include "cli/command_error.hpp"
#include "cli/commands.hpp"
#include "cli/file_output.hpp"
#include "platform/windows/windows_files.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::cli {
namespace {

namespace fs = std::filesystem;
using ferrolux::testing::FileText;
using platform::windows::WidePath;

const fs::path kCatalog = fs::path(FERROLUX_TEST_DATA_DIR) / "../../data/CableCatalog.txt";

HANDLE OpenToWrite(const fs::path& file, DWORD sharing) {
  return CreateFileW(WidePath(file).c_str(), GENERIC_READ | GENERIC_WRITE, sharing, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string CatalogFailure(const fs::path& file) {
  std::ostringstream err;
  try {
    LoadCables(file, err);
  } catch (const CommandError& failure) {
    return failure.what();
  }
  return {};
}

TEST(WindowsCatalog, HeldByAWriterIsReportedAfterTheWaitAndReadOnceLetGo) {
  const ferrolux::testing::TempFolder temp;
  const fs::path file = temp.Write("CableCatalog.txt", FileText(kCatalog));
  const struct {
    const char* writer;
    std::function<HANDLE()> hold;
  } cases[] = {
      {"a range lock",
       [&] {
         const HANDLE handle = OpenToWrite(file, FILE_SHARE_READ | FILE_SHARE_WRITE);
         OVERLAPPED whole{};
         EXPECT_TRUE(
             LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole));
         return handle;
       }},
      {"a share mode that keeps readers out", [&] { return OpenToWrite(file, 0); }},
  };
  for (const auto& c : cases) {
    const HANDLE writer = c.hold();
    ASSERT_NE(writer, INVALID_HANDLE_VALUE) << c.writer;
    const auto start = std::chrono::steady_clock::now();
    const std::string failure = CatalogFailure(file);
    EXPECT_GE(std::chrono::steady_clock::now() - start, kWriterLockPatience) << c.writer;
    EXPECT_TRUE(failure.ends_with("(locked for writing by another program)")) << c.writer << ": " << failure;
    CloseHandle(writer);
    EXPECT_EQ(CatalogFailure(file), "") << c.writer;
  }
}

// std::filesystem leaves out the \\?\ prefix that lifts the limit, so the folders are made and
// removed with the platform's own path.
TEST(WindowsLongPaths, ACatalogAndAChartPastTheOldLimitAreWrittenAndRead) {
  const ferrolux::testing::TempFolder temp;
  std::vector<fs::path> folders{temp.Path()};
  while (folders.back().native().size() < 300) folders.push_back(folders.back() / std::string(60, 'd'));
  for (const fs::path& folder : folders) CreateDirectoryW(WidePath(folder).c_str(), nullptr);
  const fs::path catalog = folders.back() / "CableCatalog.txt";
  const fs::path chart = folders.back() / "chart.svg";
  WriteFileAtomically(catalog, FileText(kCatalog));
  WriteFileAtomically(chart, "<svg/>\n");
  EXPECT_EQ(CatalogFailure(catalog), "");
  for (const fs::path& file : {catalog, chart}) EXPECT_TRUE(DeleteFileW(WidePath(file).c_str())) << file;
  for (auto folder = folders.rbegin(); folder + 1 != folders.rend(); ++folder)
    EXPECT_TRUE(RemoveDirectoryW(WidePath(*folder).c_str())) << *folder;
}

// Standard output a pipe whose reader is gone: no signal ends the program, the write fails.
TEST(WindowsOutput, AClosedPipeIsTheOneLineErrorAndStatusOfLinux) {
  HANDLE reader = nullptr;
  HANDLE writer = nullptr;
  ASSERT_TRUE(CreatePipe(&reader, &writer, nullptr, 4096));
  CloseHandle(reader);
  const int written = _open_osfhandle(reinterpret_cast<intptr_t>(writer), 0);
  std::fflush(stdout);
  const int saved = _dup(1);
  _dup2(written, 1);
  _close(written);
  CLI::App app("", "ferrolux");
  CommandContext context;
  std::ostringstream err;
  context.catalogFile = [] { return kCatalog; };
  context.err = &err;
  AddCommands(app, context);
  app.parse(std::vector<std::string>{"cables"});
  const std::optional<int> status = RunChosenCommand(context);
  std::fflush(stdout);
  std::clearerr(stdout);
  _dup2(saved, 1);
  _close(saved);
  std::cout.clear();
  EXPECT_EQ(status, kExitFailure);
  EXPECT_EQ(err.str(), "ferrolux: the output could not be written\n");
}

}  // namespace
}  // namespace ferrolux::cli
#endif
