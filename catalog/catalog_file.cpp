// The catalog file itself: opened without blocking, shared with other readers, kept from
// writers, and read again when a writer that takes no lock changed it meanwhile.
#include <algorithm>
#include <cerrno>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "catalog/catalog.hpp"
#include "catalog/catalog_reader.hpp"
#include "catalog/file_errors.hpp"
#include "catalog/overflow_reporter.hpp"
#include "platform/files.hpp"

namespace ferrolux {

namespace {

constexpr int kReadTries = 3;
constexpr char kEndOfData = 26;  // where the loader stops
constexpr std::chrono::milliseconds kLockPoll{20};

struct Outcome {
  std::string message;  // empty when all went well
  LoadDetail detail = LoadDetail::kNone;
};

// A split overflow is shown only for a read that turns out whole: a torn one is read again.
class HeldReports final : public OverflowReporter {
 public:
  void PrintLine(const std::string& line) override { steps_.emplace_back(line); }
  void WaitForKey() override { steps_.emplace_back(std::nullopt); }
  void PassOn(OverflowReporter& reporter) const {
    for (const std::optional<std::string>& step : steps_) {
      if (step) reporter.PrintLine(*step);
      else reporter.WaitForKey();
    }
  }

 private:
  std::vector<std::optional<std::string>> steps_;  // a line printed, or a wait for a key
};

bool HeldByWriter(int failure) { return failure == EWOULDBLOCK || failure == EACCES; }

using Deadline = std::chrono::steady_clock::time_point;

// Gives false once the deadline has passed; otherwise waits a moment for a writer to let go.
bool PausedBefore(Deadline deadline) {
  const auto now = std::chrono::steady_clock::now();
  if (now >= deadline) return false;
  std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kLockPoll, deadline - now));
  return true;
}

// An editor saving lets go within moments; a lock that stays is reported at the deadline.
Outcome WaitForReadLocks(int descriptor, Deadline deadline) {
  for (;;) {
    const int failure = platform::TakeSharedReadLock(descriptor);
    if (failure == 0) return {};
    if (!HeldByWriter(failure)) return {FileErrorMessage(failure)};
    if (!PausedBefore(deadline)) return {FileErrorMessage(EWOULDBLOCK), LoadDetail::kLockedForWriting};
  }
}

// A writer on Windows may open the file sharing it with no reader: then the open itself is
// refused (EWOULDBLOCK) and waited for as a lock is.
Outcome OpenWhenLetIn(const std::filesystem::path& file, Deadline deadline, int& descriptor) {
  for (;;) {
    const int failure = platform::OpenForReading(file, descriptor);
    if (failure == 0) return {};
    if (failure != EWOULDBLOCK) return {FileErrorMessage(failure)};
    if (!PausedBefore(deadline)) return {FileErrorMessage(EWOULDBLOCK), LoadDetail::kLockedForWriting};
  }
}

// Opens the file for reading only, refusing anything that could block or is not a plain file.
Outcome OpenForReading(const std::filesystem::path& file, std::chrono::milliseconds patience, int& descriptor) {
  const Deadline deadline = std::chrono::steady_clock::now() + patience;
  if (Outcome opened = OpenWhenLetIn(file, deadline, descriptor); !opened.message.empty()) return opened;
  platform::FileStatus status;
  if (const int failure = platform::StatusOf(descriptor, status); failure != 0) return {FileErrorMessage(failure)};
  if (!status.regular) return {NumberedErrorMessage(kErrorFileAccess)};
  return WaitForReadLocks(descriptor, deadline);
}

// A rewrite in place shows in the size or the times; a file put in its place in its identity.
bool Unchanged(const platform::FileStatus& before, const platform::FileStatus& after) { return before == after; }

struct ReadTry {
  CatalogTable table;
  HeldReports reports;
  Outcome outcome;
  bool whole = true;  // nothing changed the file while it was read
  platform::FileStatus after;
};

// A time still to come (a clock set wrong) counts as long past, so that it never keeps a file
// from being read.
bool ChangedWithin(const platform::FileStatus& status, std::chrono::milliseconds recent) {
  const auto now = std::chrono::system_clock::now();
  const auto changed = status.modified;
  return changed <= now && now - changed < recent;
}

// Empty, or a last line without its line end (CR, LF or the end-of-data byte 26).
bool CutShort(int descriptor, const platform::FileStatus& status) {
  if (status.size == 0) return true;
  char last = 0;
  if (!platform::ReadByteAt(descriptor, status.size - 1, last)) return false;
  return last != '\n' && last != '\r' && last != kEndOfData;
}

// One read of the whole file from its start.
void ReadOnce(int descriptor, const ReadFileBytes& read, ReadTry& attempt) {
  platform::FileStatus before;
  int failure = platform::StatusOf(descriptor, before);
  if (failure == 0) failure = platform::Rewind(descriptor);
  if (failure != 0) {
    attempt.outcome = {FileErrorMessage(failure)};
    return;
  }
  if (before.size > kMaxCatalogBytes) {
    attempt.outcome = {NumberedErrorMessage(kErrorOutOfMemory), LoadDetail::kFileTooLarge};
    return;
  }
  attempt.outcome.detail = LoadCatalogFrom([&](char* buffer, size_t size) { return read(descriptor, buffer, size); },
                                           attempt.table, attempt.reports, attempt.outcome.message);
  attempt.whole = platform::StatusOf(descriptor, attempt.after) == 0 && Unchanged(before, attempt.after);
}

enum class Verdict { kTake, kReadAgain, kRefuse };

// A file cut short moments ago is read again; one still changing once a quiet file would have
// stopped counting as recent is being rewritten.
Verdict JudgeEnd(int descriptor, const platform::FileStatus& status, const RewriteWait& rewrite,
                 std::chrono::steady_clock::time_point started) {
  const auto waited = std::chrono::steady_clock::now() - started;
  if (!ChangedWithin(status, rewrite.recent) || !CutShort(descriptor, status)) return Verdict::kTake;
  return waited >= rewrite.recent ? Verdict::kRefuse : Verdict::kReadAgain;
}

}  // namespace

LoadDetail LoadCatalogFile(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage,
                           const std::filesystem::path& file, std::chrono::milliseconds lockPatience,
                           const ReadFileBytes& read, const RewriteWait& rewrite) {
  errorMessage.clear();
  // A failure before any whole read still leaves a table to count.
  const auto failed = [&](const std::string& message, LoadDetail detail) {
    if (table.empty()) table = MakeCatalogTable();
    errorMessage = message;
    return detail;
  };
  int descriptor = -1;
  const Outcome opened = OpenForReading(file, lockPatience, descriptor);
  const platform::OpenFile open(descriptor);
  if (!opened.message.empty()) return failed(opened.message, opened.detail);
  const auto started = std::chrono::steady_clock::now();
  for (int changedTries = 0; changedTries < kReadTries;) {
    // The first read fills the caller's own storage, so that start-up makes one table, not two.
    ReadTry attempt;
    attempt.table.swap(table);
    EmptyCatalogTable(attempt.table);
    ReadOnce(open.Get(), read, attempt);
    if (!attempt.whole) {
      ++changedTries;
      continue;
    }
    const Verdict verdict = JudgeEnd(open.Get(), attempt.after, rewrite, started);
    if (verdict == Verdict::kRefuse) break;
    if (verdict == Verdict::kReadAgain) {
      if (rewrite.sleep) rewrite.sleep(rewrite.pause);
      else std::this_thread::sleep_for(rewrite.pause);
      continue;
    }
    table = std::move(attempt.table);
    attempt.reports.PassOn(reporter);
    errorMessage = attempt.outcome.message;
    return attempt.outcome.detail;
  }
  return failed(NumberedErrorMessage(kErrorFileAccess), LoadDetail::kChangedWhileRead);
}

LoadDetail LoadCatalog(CatalogTable& table, OverflowReporter& reporter, std::string& errorMessage,
                       const std::filesystem::path& file, std::chrono::milliseconds lockPatience) {
  return LoadCatalogFile(table, reporter, errorMessage, file, lockPatience, platform::ReadSome);
}

}  // namespace ferrolux
