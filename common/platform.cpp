#include "common/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "common/console.h"
#include "common/text_core.h"

namespace quenzel::platform {
namespace {
std::vector<std::string>& commandLine() {
  static std::vector<std::string> args;
  return args;
}
std::optional<Date>& fixedDate() {
  static std::optional<Date> d;
  return d;
}

// What the system knows of the named file; false when it has no such file.
bool statName(std::string_view name, struct stat& st) { return ::stat(osName(trimRight(name)).c_str(), &st) == 0; }

// A box text ends at its first NUL, as the system reads it.
std::string_view boxText(std::string_view s) { return s.substr(0, s.find('\0')); }
}  // namespace

void setFloatingPointMode() {
  // FTZ (bit 15) and DAZ (bit 6) of MXCSR.
  _mm_setcsr(_mm_getcsr() | 0x8040u);
}

void setCommandLine(int argc, char** argv) {
  commandLine().assign(argv, argv + argc);
}

int argumentCount() { return static_cast<int>(commandLine().size()); }

std::string argument(int n) {
  if (n < 0 || n >= argumentCount()) return {};
  return commandLine()[static_cast<std::size_t>(n)];
}

std::string osName(std::string_view name) {
  std::string r(name);
  for (char& c : r)
    if (c == '\\') c = '/';
  return r;
}

bool fileExists(std::string_view name) {
  struct stat st {};
  return statName(name, st);
}

bool isDirectory(std::string_view name) {
  struct stat st {};
  return statName(name, st) && S_ISDIR(st.st_mode);
}

std::string fullPath(std::string_view name) {
  std::filesystem::path p(osName(trimRight(name)));
  if (p.is_relative()) {
    std::error_code ec;
    p = std::filesystem::current_path(ec) / p;
  }
  std::string r = p.lexically_normal().string();
  return r;
}

std::optional<FileId> fileIdentity(std::string_view name) {
  struct stat st {};
  if (!statName(name, st)) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool sameFile(std::string_view a, std::string_view b) {
  if (fullPath(a) == fullPath(b)) return true;
  const std::optional<FileId> idA = fileIdentity(a);
  return idA && idA == fileIdentity(b);
}

int openFile(std::string_view name, FileAccess access) {
  int flags = O_CLOEXEC;
  if (access.read && access.write) flags |= O_RDWR;
  else if (access.write) flags |= O_WRONLY;
  else flags |= O_RDONLY;
  if (access.write && access.create) flags |= O_CREAT;
  if (access.write && access.truncate) flags |= O_TRUNC;
  // A folder is never a unit's file, and an input must be a regular file: a
  // FIFO, a device or a socket is refused before it is opened, since opening
  // a FIFO for reading waits for a writer that may never come. The open
  // itself does not wait either, in case the name changed in between; the
  // check after it decides. (An output may be a device such as /dev/null.)
  const auto refused = [&access](const struct stat& st) {
    return S_ISDIR(st.st_mode) || (!access.write && !S_ISREG(st.st_mode));
  };
  const std::string os = osName(trimRight(name));
  struct stat st {};
  if (::stat(os.c_str(), &st) == 0 && refused(st)) return -1;
  int fd;
  do {
    fd = ::open(os.c_str(), flags | O_NONBLOCK, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -1;
  if (::fstat(fd, &st) != 0 || refused(st) || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::int64_t readAt(int fd, char* data, std::size_t n, std::int64_t offset) {
  std::size_t got = 0;
  while (got < n) {
    ssize_t r = ::pread(fd, data + got, n - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
    if (r < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  return static_cast<std::int64_t>(got);
}

bool writeAt(int fd, const char* data, std::size_t n, std::int64_t offset) {
  std::size_t done = 0;
  while (done < n) {
    ssize_t w = ::pwrite(fd, data + done, n - done, static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) return false;
    done += static_cast<std::size_t>(w);
  }
  return true;
}

std::optional<std::int64_t> fileSize(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return static_cast<std::int64_t>(st.st_size);
}

std::optional<FileId> fileIdentity(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool closeFile(int fd) { return ::close(fd) == 0; }

std::optional<std::int64_t> modificationTime(std::string_view name) {
  struct stat st {};
  if (!statName(name, st)) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtime);
}

Date currentDate() {
  if (fixedDate()) return *fixedDate();
  std::time_t now = std::time(nullptr);
  std::tm tm {};
  localtime_r(&now, &tm);
  return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void setCurrentDateForTests(std::optional<Date> date) { fixedDate() = date; }

bool runCommand(std::string_view commandLine) {
  std::string cmd(commandLine);
  console::flush();
  int rc = std::system(cmd.c_str());
  // -1: no shell could be started; 127: the shell could not run the command.
  return rc != -1 && !(WIFEXITED(rc) && WEXITSTATUS(rc) == 127);
}

int messageBox(std::string_view text, std::string_view caption, BoxButtons buttons) {
  // Box texts use CR as their line break.
  std::string shown(boxText(text));
  for (char& c : shown)
    if (c == '\r') c = '\n';
  const std::string cap(boxText(caption));
  console::emptyLine();
  if (!cap.empty()) console::line("[" + cap + "]");
  console::line(shown);
  const char* choices = "";
  switch (buttons) {
    case BoxButtons::Ok: choices = "Press Enter for OK: "; break;
    case BoxButtons::YesNo: choices = "Y = Yes, N = No: "; break;
    case BoxButtons::RetryCancel: choices = "R = Retry, C = Cancel: "; break;
    case BoxButtons::YesNoCancel: choices = "Y = Yes, N = No, C = Cancel: "; break;
  }
  console::write(choices);
  std::string answer;
  bool got = console::readLine(answer);
  char a = answer.empty() ? ' ' : upperAscii(answer[0]);
  switch (buttons) {
    case BoxButtons::Ok: return 1;
    case BoxButtons::YesNo: return (got && a == 'Y') ? 6 : 7;
    case BoxButtons::RetryCancel: return (got && a == 'R') ? 4 : 2;
    case BoxButtons::YesNoCancel:
      if (!got || a == 'C') return 2;
      return a == 'Y' ? 6 : 7;
  }
  return 2;
}

}  // namespace quenzel::platform
