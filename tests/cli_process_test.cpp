// The converter as a process whose input or output the system refuses: it
// says why in one line on standard error and exits non-zero, never 0 and
// never with an abort or a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Under AddressSanitizer the converter cannot start with a small address
// space, and its allocator ends the run itself when memory runs out.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// How the standard input or output of the run is set up; ordinary is
// /dev/null for input and a pipe that the test reads for output.
enum class Stream {
  kOrdinary,
  kClosed,
  kDevFull,
  kRootDirectory,
  kZeros,               // input: /dev/zero, valid UTF-8 without an end
  kManyCharacters,      // input: a file whose pinyin is far more than a pipe holds
  kTooManyCharacters,   // input: a file whose conversion needs far more than kMemoryLimitKb
  kPipeWithoutReader,   // output: a pipe whose reader has gone before the run
  kReaderLeavingEarly,  // output: a pipe whose reader reads once and goes
};

// 中 is three bytes of input and "zhōng " plus "ZHONG ", thirteen bytes of output.
constexpr std::size_t kManyCharacters = 100'000;       // 1.3 MB out; a pipe holds 64 KiB
constexpr std::size_t kTooManyCharacters = 3'500'000;  // 10.5 MB in
// The address space a run may have when its input is too large for memory:
// enough to start and convert a short text, far less than the long one needs.
constexpr long kMemoryLimitKb = 30'000;

// Named by the test's process id, as other builds may run this test at the same time.
std::string InputFile(Stream stream) {
  return testing::TempDir() + "kelvaro-" + std::to_string(getpid()) +
         (stream == Stream::kManyCharacters ? "-many.txt" : "-too-many.txt");
}

void WriteInputFile(Stream stream, std::size_t characters) {
  std::ofstream file(InputFile(stream), std::ios::binary);
  std::string thousand;
  for (int i = 0; i < 1000; ++i) thousand += "中";
  for (std::size_t i = 0; i < characters / 1000; ++i) file << thousand;
  ASSERT_TRUE(file.flush()) << InputFile(stream);
}

struct ProcessRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(int fd) {
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  return bytes;
}

// Sets up the child's standard input or output (fd) as the stream says. An
// ordinary input reads /dev/null; an ordinary output, or a pipe whose reader
// goes, writes to the test's pipe.
void SetUpStream(posix_spawn_file_actions_t& actions, int fd, Stream stream, int pipeWriteEnd) {
  switch (stream) {
    case Stream::kClosed:
      posix_spawn_file_actions_addclose(&actions, fd);
      break;
    case Stream::kRootDirectory:
      posix_spawn_file_actions_addopen(&actions, fd, "/", O_RDONLY, 0);
      break;
    case Stream::kDevFull:
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/full", O_WRONLY, 0);
      break;
    case Stream::kZeros:
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/zero", O_RDONLY, 0);
      break;
    case Stream::kManyCharacters:
    case Stream::kTooManyCharacters:
      posix_spawn_file_actions_addopen(&actions, fd, InputFile(stream).c_str(), O_RDONLY, 0);
      break;
    case Stream::kOrdinary:
    case Stream::kPipeWithoutReader:
    case Stream::kReaderLeavingEarly:
      if (fd == STDIN_FILENO) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDONLY, 0);
      } else {
        posix_spawn_file_actions_adddup2(&actions, pipeWriteEnd, fd);
      }
      break;
  }
}

// Runs the converter with args; with a memory limit (in KiB), through a shell
// that limits its own address space first, which the converter inherits.
ProcessRun RunConverter(const std::vector<std::string>& args, Stream in, Stream out,
                        long memoryLimitKb = 0) {
  int outPipe[2];
  int errPipe[2];
  EXPECT_EQ(pipe(outPipe), 0);
  EXPECT_EQ(pipe(errPipe), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  SetUpStream(actions, STDIN_FILENO, in, -1);
  SetUpStream(actions, STDOUT_FILENO, out, outPipe[1]);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);
  if (out == Stream::kPipeWithoutReader) close(outPipe[0]);  // the reader is gone before the write
  // The converter starts with SIGPIPE's default action, as from a shell,
  // whatever the test's own is.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaultSignals;
  sigemptyset(&defaultSignals);
  sigaddset(&defaultSignals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaultSignals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::vector<std::string> command = {KELVARO_PINYIN_CLI};
  command.insert(command.end(), args.begin(), args.end());
  if (memoryLimitKb > 0) {
    command.insert(command.begin(), {"/bin/sh", "-c", R"(ulimit -v "$0" && exec "$@")",
                                     std::to_string(memoryLimitKb)});
  }
  std::vector<char*> argv;
  for (std::string& arg : command) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(outPipe[1]);
  close(errPipe[1]);
  ProcessRun run;
  if (out == Stream::kReaderLeavingEarly) {
    char buffer[4096];
    const ssize_t n = read(outPipe[0], buffer, sizeof buffer);
    if (n > 0) run.out.assign(buffer, n);
    close(outPipe[0]);
  } else if (out != Stream::kPipeWithoutReader) {
    run.out = ReadAll(outPipe[0]);
    close(outPipe[0]);
  }
  run.err = ReadAll(errPipe[0]);
  close(errPipe[0]);
  int status = 0;
  EXPECT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

struct FailureRow {
  const char* name;
  std::vector<std::string> args;
  Stream in;
  Stream out;
  int exitCode;
  int error;               // the errno whose text the one line on standard error gives
  long memoryLimitKb = 0;  // the address space of the run; 0 for no limit
};

void ExpectReported(const FailureRow& row) {
  SCOPED_TRACE(row.name);
  const ProcessRun run = RunConverter(row.args, row.in, row.out, row.memoryLimitKb);
  EXPECT_EQ(run.exitCode, row.exitCode);
  if (row.out == Stream::kReaderLeavingEarly) {
    EXPECT_NE(run.out, "") << "the reader leaves after the output began";
  } else {
    EXPECT_EQ(run.out, "");
  }
  EXPECT_NE(run.err.find(std::strerror(row.error)), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
}

class ConverterProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    WriteInputFile(Stream::kManyCharacters, kManyCharacters);
    WriteInputFile(Stream::kTooManyCharacters, kTooManyCharacters);
  }
  static void TearDownTestSuite() {
    std::remove(InputFile(Stream::kManyCharacters).c_str());
    std::remove(InputFile(Stream::kTooManyCharacters).c_str());
  }
};

TEST_F(ConverterProcess, ReportsWhyInputOrOutputFailed) {
  using enum Stream;
  const FailureRow rows[] = {
      {"> /dev/full", {"中"}, kOrdinary, kDevFull, 3, ENOSPC},
      {"--help > /dev/full", {"--help"}, kOrdinary, kDevFull, 3, ENOSPC},
      {">&-", {"中"}, kOrdinary, kClosed, 3, EBADF},
      {"| reader gone", {"中"}, kOrdinary, kPipeWithoutReader, 3, EPIPE},
      {"--help | reader gone", {"--help"}, kOrdinary, kPipeWithoutReader, 3, EPIPE},
      {"< many | reader gone", {}, kManyCharacters, kPipeWithoutReader, 3, EPIPE},
      {"< many | reader leaving early", {}, kManyCharacters, kReaderLeavingEarly, 3, EPIPE},
      {"--with-characters < many | reader leaving early",
       {"--with-characters"},
       kManyCharacters,
       kReaderLeavingEarly,
       3,
       EPIPE},
      {"<&-", {}, kClosed, kOrdinary, 1, EBADF},
      {"< /", {}, kRootDirectory, kOrdinary, 1, EISDIR},
      {"--with-characters < /", {"--with-characters"}, kRootDirectory, kOrdinary, 1, EISDIR},
  };
  for (const FailureRow& row : rows) ExpectReported(row);
}

TEST_F(ConverterProcess, ReportsAnInputTooLargeForMemory) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer needs more address space";
  using enum Stream;
  const FailureRow rows[] = {
      // Memory runs out while reading.
      {"< /dev/zero", {}, kZeros, kOrdinary, 4, ENOMEM, kMemoryLimitKb},
      // The input is read; memory runs out while converting.
      {"< too many", {}, kTooManyCharacters, kOrdinary, 4, ENOMEM, kMemoryLimitKb},
      {"--with-characters < too many",
       {"--with-characters"},
       kTooManyCharacters,
       kOrdinary,
       4,
       ENOMEM,
       kMemoryLimitKb},
  };
  for (const FailureRow& row : rows) ExpectReported(row);
  // The limit leaves room for a short text.
  const ProcessRun run = RunConverter({"中"}, kOrdinary, kOrdinary, kMemoryLimitKb);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "zhōng \nZHONG \n");
  EXPECT_EQ(run.err, "");
}

TEST_F(ConverterProcess, ATextArgumentNeedsNoStandardInput) {
  const ProcessRun run = RunConverter({"中"}, Stream::kClosed, Stream::kOrdinary);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "zhōng \nZHONG \n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
