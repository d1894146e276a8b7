#include "support/test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

#include "common/console.h"
#include "common/run_control.h"

namespace quenzel::test {
namespace {
void throwingStop(int status) { throw StopCalled{status}; }
}  // namespace

StopGuard::StopGuard() {
  setStopHandler(&throwingStop);
  resetBeforeExitHooks();
}
StopGuard::~StopGuard() {
  setStopHandler(nullptr);
  resetBeforeExitHooks();
}

ConsoleCapture::ConsoleCapture(std::string input) : in_(std::move(input)) { console::redirect(&out_, &in_); }
ConsoleCapture::~ConsoleCapture() { console::redirect(nullptr, nullptr); }
std::vector<std::string> ConsoleCapture::lines() const { return splitLines(out_.str()); }

TempDir::TempDir() {
  std::random_device rd;
  auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("quenzel-test-" + std::to_string(rd()));
    std::error_code ec;
    if (std::filesystem::create_directory(path_, ec)) break;
  }
}
TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

ScopedCwd::ScopedCwd(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
  std::filesystem::current_path(dir);
}
ScopedCwd::~ScopedCwd() {
  std::error_code ec;
  std::filesystem::current_path(old_, ec);
}

std::string readFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void writeFile(const std::filesystem::path& p, const std::string& content) {
  std::ofstream f(p, std::ios::binary);
  f << content;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  return lines;
}

RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& cwd, const std::string& input, int timeoutSeconds) {
  RunResult result;
  int inPipe[2], outPipe[2];
  if (pipe(inPipe) != 0 || pipe(outPipe) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(inPipe[0], 0);
    dup2(outPipe[1], 1);
    dup2(outPipe[1], 2);
    close(inPipe[0]);
    close(inPipe[1]);
    close(outPipe[0]);
    close(outPipe[1]);
    if (chdir(cwd.c_str()) != 0) _exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // A bare name (ogrinfo) is looked up on PATH.
    execvp(program.c_str(), argv.data());
    _exit(127);
  }
  close(inPipe[0]);
  close(outPipe[1]);
  signal(SIGPIPE, SIG_IGN);
  // Feed standard input, then close it so the program sees its end.
  std::size_t written = 0;
  fcntl(inPipe[1], F_SETFL, O_NONBLOCK);
  bool inOpen = true;
  if (input.empty()) {
    close(inPipe[1]);
    inOpen = false;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  char buf[65536];
  for (;;) {
    pollfd fds[2];
    int n = 0;
    fds[n++] = {outPipe[0], POLLIN, 0};
    if (inOpen) fds[n++] = {inPipe[1], POLLOUT, 0};
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      kill(pid, SIGKILL);
      break;
    }
    if (poll(fds, n, static_cast<int>(left.count())) < 0) continue;
    if (inOpen && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t w = write(inPipe[1], input.data() + written, input.size() - written);
      if (w > 0) written += static_cast<std::size_t>(w);
      if (w < 0 || written == input.size()) {
        close(inPipe[1]);
        inOpen = false;
      }
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      ssize_t r = read(outPipe[0], buf, sizeof(buf));
      if (r <= 0) break;
      result.output.append(buf, static_cast<std::size_t>(r));
    }
  }
  if (inOpen) close(inPipe[1]);
  close(outPipe[0]);
  int st = 0;
  waitpid(pid, &st, 0);
  result.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return result;
}

bool haveCommand(const std::string& name) {
  std::string cmd = "command -v " + name + " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::string pyshpListing(const std::filesystem::path& shp) {
  // Debian installs pyshp for the system python, which a python3 found
  // earlier on PATH may not see.
  const std::string python = std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  static const char* kScript =
      "import shapefile, sys\n"
      "r = shapefile.Reader(sys.argv[1])\n"
      "print(r.shapeType, len(r), [tuple(f) for f in r.fields[1:]])\n"
      "for s in r.iterShapeRecords():\n"
      "    print(s.shape.shapeType, list(getattr(s.shape, 'parts', [])), [tuple(p) for p in s.shape.points],\n"
      "          list(s.record))\n";
  if (runProgram(python, {"-c", "import shapefile"}, ".").status != 0) return {};
  RunResult r = runProgram(python, {"-c", kScript, shp.string()}, ".");
  return r.status == 0 ? r.output : "pyshp failed: " + r.output;
}

}  // namespace quenzel::test
