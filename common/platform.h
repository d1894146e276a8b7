#pragma once
// The one place that talks to the operating system. Names arrive as the user
// wrote them, with "\" or "/" as separators; "\" becomes "/" only here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quenzel::platform {

// Flush-to-zero and denormals-are-zero for the whole run.
void setFloatingPointMode();

// The command line as the process received it (argument 0 is the program).
void setCommandLine(int argc, char** argv);
int argumentCount();
std::string argument(int n);

// The name as the operating system wants it ("\" mapped to "/").
std::string osName(std::string_view name);

bool fileExists(std::string_view name);   // a file or a folder
bool isDirectory(std::string_view name);

// Absolute, normalised path, made lexically: no existence test, no link
// resolution (so a name that is not on disk still has a full path).
std::string fullPath(std::string_view name);

// Identity of an existing file (device and inode), to tell whether two names
// are one file.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};
std::optional<FileId> fileIdentity(std::string_view name);
// Two names of one file: the same full path, or both on disk with one
// identity, as a hard link is, or a symbolic link to the other.
bool sameFile(std::string_view a, std::string_view b);

// Files of the file-unit service, read and written at byte offsets through a
// descriptor. A folder is refused, and for reading only anything but a
// regular file (a FIFO, a device), without waiting. -1 when the file cannot be
// opened.
struct FileAccess {
  bool read = false;
  bool write = false;
  bool create = false;    // make the file when it does not exist
  bool truncate = false;  // empty an existing file
};
int openFile(std::string_view name, FileAccess access);
// Bytes read at `offset` (fewer only at the end of the file); -1 on error.
std::int64_t readAt(int fd, char* data, std::size_t n, std::int64_t offset);
// Writes all n bytes at `offset`; false when the system refused any of them.
bool writeAt(int fd, const char* data, std::size_t n, std::int64_t offset);
std::optional<std::int64_t> fileSize(int fd);
std::optional<FileId> fileIdentity(int fd);
// False when the system reports an error on closing.
bool closeFile(int fd);

// Modification time in whole seconds since the epoch.
std::optional<std::int64_t> modificationTime(std::string_view name);

struct Date {
  int year = 0, month = 0, day = 0;
};
Date currentDate();
// Tests only: a fixed date (std::nullopt restores the clock).
void setCurrentDateForTests(std::optional<Date> date);

// Runs a command line through the shell and waits; false only when the
// command could not be started (its own exit code is not looked at).
bool runCommand(std::string_view commandLine);

// Stand-in for a desktop message box: the text and caption on the console
// and one line of input. Buttons: "OK", "YesNo", "RetryCancel",
// "YesNoCancel". Returns the Windows result codes (1 OK, 2 Cancel, 4 Retry,
// 6 Yes, 7 No); end of input gives Cancel (or No, or OK for a lone OK).
enum class BoxButtons { Ok, YesNo, RetryCancel, YesNoCancel };
int messageBox(std::string_view text, std::string_view caption, BoxButtons buttons);

}  // namespace quenzel::platform
