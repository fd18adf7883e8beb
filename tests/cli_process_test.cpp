// The converter as a process whose input or output the system refuses: it
// says why in one line on standard error and exits non-zero, never 0 and
// never with an abort.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

namespace {

// How the standard input or output of the run is set up; ordinary is
// /dev/null for input and a pipe that the test reads for output.
enum class Stream { kOrdinary, kClosed, kDevFull, kRootDirectory, kPipeWithoutReader };

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
// ordinary input reads /dev/null; an ordinary output, or a pipe without a
// reader, writes to the test's pipe.
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
    case Stream::kOrdinary:
    case Stream::kPipeWithoutReader:
      if (fd == STDIN_FILENO) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDONLY, 0);
      } else {
        posix_spawn_file_actions_adddup2(&actions, pipeWriteEnd, fd);
      }
      break;
  }
}

ProcessRun RunConverter(std::vector<std::string> args, Stream in, Stream out) {
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

  args.insert(args.begin(), KELVARO_PINYIN_CLI);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  // SIGPIPE is ignored here, and an ignored signal stays ignored in the child.
  EXPECT_EQ(posix_spawn(&pid, KELVARO_PINYIN_CLI, &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);
  ProcessRun run;
  if (out != Stream::kPipeWithoutReader) {
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
  int error;  // the errno whose text the one line on standard error gives
};

class ConverterProcess : public testing::Test {
 protected:
  static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }
};

TEST_F(ConverterProcess, ReportsWhyInputOrOutputFailed) {
  using enum Stream;
  const FailureRow rows[] = {
      {"> /dev/full", {"中"}, kOrdinary, kDevFull, 3, ENOSPC},
      {"--help > /dev/full", {"--help"}, kOrdinary, kDevFull, 3, ENOSPC},
      {">&-", {"中"}, kOrdinary, kClosed, 3, EBADF},
      {"| reader gone", {"中"}, kOrdinary, kPipeWithoutReader, 3, EPIPE},
      {"<&-", {}, kClosed, kOrdinary, 1, EBADF},
      {"< /", {}, kRootDirectory, kOrdinary, 1, EISDIR},
      {"--with-characters < /", {"--with-characters"}, kRootDirectory, kOrdinary, 1, EISDIR},
  };
  for (const FailureRow& row : rows) {
    const ProcessRun run = RunConverter(row.args, row.in, row.out);
    EXPECT_EQ(run.exitCode, row.exitCode) << row.name;
    EXPECT_EQ(run.out, "") << row.name;
    EXPECT_NE(run.err.find(std::strerror(row.error)), std::string::npos)
        << row.name << ": " << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << row.name << ": one line";
  }
}

TEST_F(ConverterProcess, ATextArgumentNeedsNoStandardInput) {
  const ProcessRun run = RunConverter({"中"}, Stream::kClosed, Stream::kOrdinary);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "zhōng \nZHONG \n");
  EXPECT_EQ(run.err, "");
}

}  // namespace
