#pragma once
// Helpers shared by every test program: console capture, a stop that throws
// instead of ending the process, temporary folders, and a runner for the
// built executable.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace quenzel::test {

// Thrown by the test stop handler in place of ending the process.
struct StopCalled {
  int status;
};

// While alive, stopRun throws StopCalled and the before-exit hooks may run
// again.
class StopGuard {
 public:
  StopGuard();
  ~StopGuard();
  StopGuard(const StopGuard&) = delete;
  StopGuard& operator=(const StopGuard&) = delete;
};

// While alive, the console writes into a string and reads the given input.
class ConsoleCapture {
 public:
  explicit ConsoleCapture(std::string input = {});
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;
  std::string text() const { return out_.str(); }
  std::vector<std::string> lines() const;
  void clear() { out_.str({}); }

 private:
  std::ostringstream out_;
  std::istringstream in_;
};

// A fresh empty folder, removed at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The working folder switched to `dir` for the life of the object.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::filesystem::path& dir);
  ~ScopedCwd();

 private:
  std::filesystem::path old_;
};

std::string readFile(const std::filesystem::path& p);
void writeFile(const std::filesystem::path& p, const std::string& content);
std::vector<std::string> splitLines(const std::string& text);

struct RunResult {
  int status = -1;     // exit status; -1 when killed or timed out
  std::string output;  // standard output and standard error together
};
// Runs a program (a path, or a name found on PATH) with arguments in `cwd`,
// feeding `input` on standard input; killed after `timeoutSeconds`.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& cwd, const std::string& input = {},
                     int timeoutSeconds = 60);

// True when a command can be found on PATH (for ogrinfo / ogr2ogr checks).
bool haveCommand(const std::string& name);

// A shapefile set as pyshp (Debian python3-pyshp) reads it: shape type,
// record count and fields (name, type, length, decimals) on the first line,
// then per record its shape type, part starts, points and values. Empty when
// pyshp cannot be imported.
std::string pyshpListing(const std::filesystem::path& shp);

}  // namespace quenzel::test
