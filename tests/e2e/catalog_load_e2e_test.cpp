// The catalog as many copies of the real program read it at once, beside other programs' locks,
// and at the size the program promises.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "command_run.hpp"
#include "pty_session.hpp"
#include "support/temp_folder.hpp"

namespace ferrolux::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

const fs::path kShippedCatalog = fs::path(FERROLUX_DATA_FOLDER) / "CableCatalog.txt";
const std::vector<std::string> kCalc{"calc", "--length", "100", "--band", "2m", "--cable", "9913"};
const std::string kLockedForWriting =
    "ferrolux: CableCatalog.txt: [70] Permission denied (locked for writing by another program)\n";

// Children that wait at a gate and then run the program with their output in files: closing
// the gate starts them all at the same moment.
class StartingGate {
 public:
  StartingGate() {
    if (pipe2(gate_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  }
  ~StartingGate() { Open(); }
  StartingGate(const StartingGate&) = delete;
  StartingGate& operator=(const StartingGate&) = delete;

  pid_t Spawn(const std::vector<std::string>& arguments, const fs::path& folder, const fs::path& out,
              const fs::path& err) {
    std::vector<char*> argv{const_cast<char*>(FERROLUX_BINARY)};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child != 0) return child;
    close(gate_[1]);
    char ignored = 0;
    if (read(gate_[0], &ignored, 1) != 0 || chdir(folder.c_str()) != 0) _exit(126);
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(outFile, STDOUT_FILENO);
    dup2(errFile, STDERR_FILENO);
    close(STDIN_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  void Open() {
    for (int& end : gate_)
      if (end >= 0) close(std::exchange(end, -1));
  }

 private:
  int gate_[2] = {-1, -1};
};

// Another program that locks the catalog, holds the lock for a while (or until it is killed)
// and ends, which lets the lock go.
class LockHolder {
 public:
  LockHolder(const fs::path& file, const std::function<int(int)>& lock, milliseconds hold) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
    pid_ = fork();
    if (pid_ == 0) {
      const int descriptor = open(file.c_str(), O_RDWR);
      const char locked = lock(descriptor) == 0 ? 'y' : 'n';
      if (write(ready[1], &locked, 1) == 1) usleep(static_cast<useconds_t>(hold.count() * 1000));
      _exit(0);
    }
    close(ready[1]);
    char locked = 'n';
    locked_ = read(ready[0], &locked, 1) == 1 && locked == 'y';
    close(ready[0]);
  }
  ~LockHolder() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;
  bool Locked() const { return locked_; }

 private:
  pid_t pid_ = -1;
  bool locked_ = false;
};

int RecordLock(int descriptor, short type) {
  struct flock lock {};
  lock.l_type = type;
  return fcntl(descriptor, F_SETLK, &lock);
}

class CatalogLoadE2eTest : public ::testing::Test {
 protected:
  ferrolux::testing::TempFolder temp;
  fs::path folder = temp.Path();
  fs::path catalog = folder / "CableCatalog.txt";
  void SetUp() override { fs::copy_file(kShippedCatalog, catalog); }
  CommandResult Run(const std::vector<std::string>& arguments) {
    return RunCommand(FERROLUX_BINARY, arguments, folder);
  }

  // A whole calculation on the first type and cable; the results screen it ends on.
  static std::string Calculation(PtySession& s) {
    if (!s.WaitForText("length in ft:", seconds(20))) return "no first screen:\n" + s.Screen();
    s.Send("50\r100\r1.5\rn9");
    if (!s.WaitForText("Select Cable Type", seconds(10))) return "no type list:\n" + s.Screen();
    s.Send("\r");
    if (!s.WaitForText("Please Make a Selection", seconds(10))) return "no part list:\n" + s.Screen();
    s.Send("\r");
    if (!s.WaitForText("Would you like to do another?", seconds(10))) return "no results:\n" + s.Screen();
    return s.Screen();
  }
};

TEST_F(CatalogLoadE2eTest, CopiesStartedTogetherRefusedEachOther) {
  constexpr int kCommands = 40, kInteractive = 6;
  const CommandResult alone = Run(kCalc);
  ASSERT_EQ(alone.status, 0) << alone.err;
  StartingGate gate;
  std::vector<pid_t> commands;
  for (int i = 0; i < kCommands; ++i) {
    const std::string name = std::to_string(i);
    commands.push_back(gate.Spawn(kCalc, folder, folder / (name + ".out"), folder / (name + ".err")));
  }
  std::vector<std::unique_ptr<PtySession>> sessions;
  for (int i = 0; i < kInteractive; ++i) sessions.push_back(std::make_unique<PtySession>(FERROLUX_BINARY, folder));
  gate.Open();

  for (int i = 0; i < kCommands; ++i) {
    int status = -1;
    waitpid(commands[i], &status, 0);
    const std::string name = std::to_string(i);
    EXPECT_EQ(WEXITSTATUS(status), 0) << name;
    EXPECT_EQ(ferrolux::testing::FileText(folder / (name + ".err")), "") << name;
    EXPECT_EQ(ferrolux::testing::FileText(folder / (name + ".out")), alone.out) << name;
  }
  std::vector<std::string> screens;
  for (auto& s : sessions) {
    screens.push_back(Calculation(*s));
    s->Send("n");
    EXPECT_EQ(s->WaitForExit(seconds(10)), 0);
  }
  for (const std::string& screen : screens) EXPECT_EQ(screen, screens.front());
  EXPECT_NE(screens.front().find("Match Loss:"), std::string::npos) << screens.front();
}

// A reader's lock never keeps the program out; a writer's is waited for up to 2 seconds. The lock
// that stays is reported by a subcommand and by the calculator started beside it, which wait
// together.
TEST_F(CatalogLoadE2eTest, ReadLocksRefusedEveryRunAndAWritersLockWasNeverWaitedFor) {
  struct Case {
    const char* name;
    std::function<int(int)> lock;
    milliseconds hold;
    int status;
    std::string err;
  };
  const milliseconds kMoment(500), kLong(60'000);
  const Case cases[] = {
      {"a reader's flock", [](int d) { return flock(d, LOCK_SH); }, kLong, 0, ""},
      {"a reader's fcntl lock", [](int d) { return RecordLock(d, F_RDLCK); }, kLong, 0, ""},
      {"a writer's flock for a moment", [](int d) { return flock(d, LOCK_EX); }, kMoment, 0, ""},
      {"a writer's lockf for a moment", [](int d) { return lockf(d, F_LOCK, 0); }, kMoment, 0, ""},
      {"a writer's fcntl lock that stays", [](int d) { return RecordLock(d, F_WRLCK); }, kLong, 1, kLockedForWriting},
  };
  const CommandResult alone = Run(kCalc);
  for (const Case& c : cases) {
    const LockHolder holder(catalog, c.lock, c.hold);
    ASSERT_TRUE(holder.Locked()) << c.name;
    PtySession s(FERROLUX_BINARY, folder);
    const CommandResult result = Run(kCalc);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.err, c.err) << c.name;
    EXPECT_EQ(result.out, c.status == 0 ? alone.out : "") << c.name;
    const std::string first = c.status == 0 ? "length in ft:" : "Error: [70] Permission denied";
    EXPECT_TRUE(s.WaitForText(first)) << c.name << "\n" << s.Screen();
    s.Signal(SIGTERM);
    s.WaitForExit();
  }
}

TEST_F(CatalogLoadE2eTest, AHundredThousandCablesLoadAndOneMoreIsRefusedNamingTheLimit) {
  {
    std::ofstream out(folder / "large.txt", std::ios::binary);
    const std::string texts = "\t" + std::string(230, 'd') + "\t" + std::string(230, 'u') + "\r\n";
    for (int i = 1; i <= 100'000; ++i)
      out << "RG-" << i % 40 << "\tPart " << i << "\t50\t.66\t25\tCu\tPE\tBraid\tPVC\t0.2 in\t300 V\t.5\t.2\t.001"
          << texts;
  }
  const CommandResult large =
      Run({"calc", "--catalog", "large.txt", "--length", "100", "--band", "2m", "--cable", "Part 100000"});
  EXPECT_EQ(large.status, 0) << large.err;
  EXPECT_NE(large.out.find("Part 100000"), std::string::npos) << large.out;

  std::ofstream(folder / "over.txt", std::ios::binary) << std::string(100'001, '\r');
  const CommandResult over = Run({"cables", "--catalog", "over.txt"});
  EXPECT_EQ(over.status, 1);
  EXPECT_EQ(over.err, "ferrolux: over.txt: [7] Out of memory (more than 100,000 records)\n");
}

}  // namespace
}  // namespace ferrolux::e2e
