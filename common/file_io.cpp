#include "common/file_io.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "common/platform.h"
#include "common/units.h"

namespace quenzel {
namespace {

// One window of the file in memory, large enough that reading or writing a
// big file costs a system call per megabyte, not per line or field. The fuzz
// build takes a small one: inputs then cross window edges, and a run does
// not pay for a megabyte per opened file.
#ifdef QUENZEL_FILE_WINDOW_BYTES
constexpr std::size_t kWindowBytes = QUENZEL_FILE_WINDOW_BYTES;
#else
constexpr std::size_t kWindowBytes = std::size_t{1} << 20;
#endif

// An open file. Every unit on the file holds it, so writes through one unit
// are seen by reads through another and two units can fill the same bytes in
// step (the shapefile writer's two byte orders).
//
// The window [winStart, winStart + winLen) holds the file's current bytes
// there; [dirtyLo, dirtyHi) of it are not on disk yet. `size` is the file's
// length including what is still in the window.
class FileObject {
 public:
  FileObject(int fd, bool readable, bool writable, std::string name, platform::FileId id, std::int64_t size)
      : fd_(fd), readable_(readable), writable_(writable), name_(std::move(name)), id_(id), size_(size) {}
  ~FileObject() { release(); }
  FileObject(const FileObject&) = delete;
  FileObject& operator=(const FileObject&) = delete;

  const platform::FileId& id() const { return id_; }
  std::int64_t size() const { return size_; }
  void grownTo(std::int64_t end) { size_ = std::max(size_, end); }

  // Pushes the window's pending bytes to the file. A failure sticks.
  bool flush() {
    if (dirtyHi_ > dirtyLo_) {
      if (!platform::writeAt(fd_, buf_.get() + dirtyLo_, dirtyHi_ - dirtyLo_, winStart_ + std::int64_t(dirtyLo_)))
        failed_ = true;
      dirtyLo_ = dirtyHi_ = 0;
    }
    return !failed_;
  }

  // Flushes and forgets the window (the file changed behind it).
  void dropWindow() {
    flush();
    winLen_ = 0;
  }

  // Flushes and closes the descriptor; false when either failed.
  bool release() {
    if (fd_ < 0) return true;
    bool ok = flush();
    if (!platform::closeFile(fd_)) ok = false;
    fd_ = -1;
    return ok;
  }

  // Makes sure the descriptor allows reading and writing as asked, by opening
  // the file again with wider access.
  bool widen(bool read, bool write) {
    if ((!read || readable_) && (!write || writable_)) return true;
    platform::FileAccess a;
    a.read = read || readable_;
    a.write = write || writable_;
    int fd = platform::openFile(name_, a);
    if (fd < 0) return false;
    auto id = platform::fileIdentity(fd);
    if (!id || !(*id == id_)) {
      platform::closeFile(fd);
      return false;
    }
    dropWindow();
    platform::closeFile(fd_);
    fd_ = fd;
    readable_ = a.read;
    writable_ = a.write;
    return true;
  }

  IoStatus read(std::int64_t& pos, char* dst, std::size_t n) {
    if (!readable_) return IoStatus::Error;
    if (n == 0) return IoStatus::Ok;
    if (pos < 0 || pos + std::int64_t(n) > size_) return IoStatus::End;
    if (n >= kWindowBytes) {
      if (!flush()) return IoStatus::Error;
      std::int64_t got = platform::readAt(fd_, dst, n, pos);
      if (got < 0) return IoStatus::Error;
      if (got < std::int64_t(n)) return IoStatus::End;
      pos += std::int64_t(n);
      return IoStatus::Ok;
    }
    std::int64_t p = pos;
    while (n > 0) {
      if (!holds(p) && !load(p)) return IoStatus::Error;
      if (!holds(p)) return IoStatus::End;  // the file is shorter than it was
      std::size_t off = std::size_t(p - winStart_);
      std::size_t k = std::min(n, winLen_ - off);
      std::memcpy(dst, buf_.get() + off, k);
      dst += k;
      n -= k;
      p += std::int64_t(k);
    }
    pos = p;
    return IoStatus::Ok;
  }

  IoStatus readLine(std::int64_t& pos, std::string& line) {
    line.clear();
    if (!readable_) return IoStatus::Error;
    if (pos < 0 || pos >= size_) return IoStatus::End;
    std::int64_t p = pos;
    for (;;) {
      if (!holds(p) && !load(p)) return IoStatus::Error;
      if (!holds(p)) break;
      const char* start = buf_.get() + (p - winStart_);
      std::size_t avail = std::size_t(std::min(winStart_ + std::int64_t(winLen_), size_) - p);
      if (const void* nl = std::memchr(start, '\n', avail)) {
        std::size_t k = std::size_t(static_cast<const char*>(nl) - start);
        line.append(start, k);
        p += std::int64_t(k) + 1;
        break;
      }
      line.append(start, avail);
      p += std::int64_t(avail);
      if (p >= size_) break;
    }
    if (p == pos) return IoStatus::End;
    pos = p;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return IoStatus::Ok;
  }

  // Moves pos to the start of the line that ends just before it.
  void backspace(std::int64_t& pos) {
    if (!readable_ || pos <= 0) return;
    std::int64_t end = std::min(pos, size_);
    if (end > 0 && byteAt(end - 1) == '\n') --end;
    while (end > 0) {
      if (!(end > winStart_ && end <= winStart_ + std::int64_t(winLen_))) {
        if (!load(std::max<std::int64_t>(0, end - std::int64_t(kWindowBytes / 2)))) return;
        if (!(end > winStart_ && end <= winStart_ + std::int64_t(winLen_))) return;
      }
      for (std::int64_t q = end - 1; q >= winStart_; --q) {
        if (buf_[std::size_t(q - winStart_)] == '\n') {
          pos = q + 1;
          return;
        }
      }
      end = winStart_;
    }
    pos = 0;
  }

  bool write(std::int64_t& pos, const char* src, std::size_t n) {
    if (failed_ || !writable_) return false;
    if (n == 0) return true;
    if (n >= kWindowBytes) {
      dropWindow();
      if (failed_) return false;
      if (!platform::writeAt(fd_, src, n, pos)) {
        failed_ = true;
        return false;
      }
    } else {
      if (!buf_) buf_ = std::make_unique_for_overwrite<char[]>(kWindowBytes);
      const std::int64_t winEnd = winStart_ + std::int64_t(winLen_);
      if (!(pos >= winStart_ && pos <= winEnd && pos + std::int64_t(n) <= winStart_ + std::int64_t(kWindowBytes))) {
        if (!flush()) return false;
        winStart_ = pos;
        winLen_ = 0;
      }
      std::size_t off = std::size_t(pos - winStart_);
      std::memcpy(buf_.get() + off, src, n);
      if (dirtyHi_ == dirtyLo_) {
        dirtyLo_ = off;
        dirtyHi_ = off + n;
      } else {
        dirtyLo_ = std::min(dirtyLo_, off);
        dirtyHi_ = std::max(dirtyHi_, off + n);
      }
      winLen_ = std::max(winLen_, off + n);
    }
    pos += std::int64_t(n);
    grownTo(pos);
    return true;
  }

  bool failed() const { return failed_; }

 private:
  bool holds(std::int64_t p) const { return buf_ && p >= winStart_ && p < winStart_ + std::int64_t(winLen_); }

  // A fresh window from p; false on a read error.
  bool load(std::int64_t p) {
    flush();
    if (!buf_) buf_ = std::make_unique_for_overwrite<char[]>(kWindowBytes);
    winStart_ = p;
    winLen_ = 0;
    std::int64_t got = platform::readAt(fd_, buf_.get(), kWindowBytes, p);
    if (got < 0) return false;
    winLen_ = std::size_t(got);
    return true;
  }

  char byteAt(std::int64_t p) {
    if (!holds(p) && !load(p)) return '\0';
    return holds(p) ? buf_[std::size_t(p - winStart_)] : '\0';
  }

  int fd_;
  bool readable_;
  bool writable_;
  std::string name_;
  platform::FileId id_;
  std::int64_t size_;
  std::unique_ptr<char[]> buf_;
  std::int64_t winStart_ = 0;
  std::size_t winLen_ = 0;
  std::size_t dirtyLo_ = 0;
  std::size_t dirtyHi_ = 0;
  bool failed_ = false;
};

struct UnitHandle {
  std::shared_ptr<FileObject> file;
  std::int64_t pos = 0;
  ByteOrder order = ByteOrder::Little;
  bool canWrite = false;  // input modes only read
  bool append = false;    // every write goes to the end, as other units grow the file
  std::string fullName;
};

// The open units. Files still open when the process ends (a run that keeps
// its units on exit) are flushed and closed by the destructor.
struct Registry {
  std::unordered_map<int, UnitHandle> units;
  int cachedUnit = 0;
  UnitHandle* cached = nullptr;
};

Registry& registry() {
  static Registry r;
  return r;
}

// The 12da reader calls for every vertex: remember the last unit looked up.
UnitHandle* handle(int unit) {
  Registry& r = registry();
  if (r.cached && r.cachedUnit == unit) return r.cached;
  auto it = r.units.find(unit);
  if (it == r.units.end()) return nullptr;
  r.cachedUnit = unit;
  r.cached = &it->second;
  return r.cached;
}

std::shared_ptr<FileObject> openObjectFor(const platform::FileId& id) {
  for (auto& [u, h] : registry().units)
    if (h.file->id() == id) return h.file;
  return nullptr;
}

// A unit that may be written, or nullptr.
UnitHandle* writer(int unit) {
  UnitHandle* h = handle(unit);
  if (!h || !h->canWrite) return nullptr;
  if (h->append) h->pos = h->file->size();
  return h;
}

}  // namespace

namespace fileio {

bool openUnit(int unit, std::string_view name, const UnitOpen& how) {
  closeUnit(unit);
  std::shared_ptr<FileObject> file;
  if (auto id = platform::fileIdentity(name)) file = openObjectFor(*id);
  if (file) {
    if (!file->widen(how.read, how.write)) return false;
  } else {
    // Output files are opened for reading too, so that an input unit can
    // share them later; a file that may only be written is still written.
    platform::FileAccess a;
    a.read = true;
    a.write = how.write;
    a.create = how.write;
    a.truncate = how.write && how.truncate;
    int fd = platform::openFile(name, a);
    if (fd < 0 && how.write && !how.read) {
      a.read = false;
      fd = platform::openFile(name, a);
    }
    if (fd < 0) return false;
    auto id = platform::fileIdentity(fd);
    auto size = platform::fileSize(fd);
    if (!id || !size) {
      platform::closeFile(fd);
      return false;
    }
    file = std::make_shared<FileObject>(fd, a.read, a.write, std::string(name), *id, *size);
  }
  UnitHandle h;
  h.file = std::move(file);
  h.order = how.order;
  h.canWrite = how.write;
  h.append = how.append;
  h.pos = how.append ? h.file->size() : 0;
  h.fullName = platform::fullPath(name);
  Registry& r = registry();
  r.units[unit] = std::move(h);
  r.cached = nullptr;
  return true;
}

bool closeUnit(int unit) {
  Registry& r = registry();
  auto it = r.units.find(unit);
  if (it == r.units.end()) return true;
  std::shared_ptr<FileObject> file = std::move(it->second.file);
  r.units.erase(it);
  r.cached = nullptr;
  if (file.use_count() == 1) return file->release();
  return file->flush();
}

std::vector<int> unitsOnFile(std::string_view name) {
  std::vector<int> found;
  auto id = platform::fileIdentity(name);
  if (!id) return found;
  for (auto& [u, h] : registry().units)
    if (h.file->id() == *id) found.push_back(u);
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<int> openUnits() {
  std::vector<int> all;
  for (auto& [u, h] : registry().units) all.push_back(u);
  std::sort(all.begin(), all.end());
  return all;
}

}  // namespace fileio

// ---- Reading and writing open units ---------------------------------------

IoStatus readLine(int unit, std::string& line) {
  UnitHandle* h = handle(unit);
  if (!h) {
    line.clear();
    return IoStatus::Error;
  }
  return h->file->readLine(h->pos, line);
}

bool unitAtEnd(int unit) {
  UnitHandle* h = handle(unit);
  return !h || h->pos >= h->file->size();
}

void rewindUnit(int unit) {
  if (UnitHandle* h = handle(unit)) h->pos = 0;
}

std::int64_t unitPosition(int unit) {
  UnitHandle* h = handle(unit);
  return h ? h->pos : 0;
}

void positionUnit(int unit, std::int64_t pos) {
  if (UnitHandle* h = handle(unit)) h->pos = pos < 0 ? 0 : pos;
}

void backspaceUnit(int unit) {
  if (UnitHandle* h = handle(unit)) h->file->backspace(h->pos);
}

bool writeText(int unit, std::string_view text) {
  UnitHandle* h = writer(unit);
  return h && h->file->write(h->pos, text.data(), text.size());
}

bool writeLine(int unit, std::string_view text) {
  UnitHandle* h = writer(unit);
  return h && h->file->write(h->pos, text.data(), text.size()) && h->file->write(h->pos, "\n", 1);
}

bool flushUnit(int unit) {
  UnitHandle* h = handle(unit);
  return h && h->file->flush();
}

bool unitIsOpen(int unit) { return handle(unit) != nullptr; }

std::string unitFileName(int unit) {
  UnitHandle* h = handle(unit);
  return h ? h->fullName : std::string();
}

IoStatus readInt32(int unit, std::int32_t& value) {
  UnitHandle* h = handle(unit);
  if (!h) return IoStatus::Error;
  char b[4];
  IoStatus st = h->file->read(h->pos, b, 4);
  if (st == IoStatus::Ok) value = getInt32(b, h->order);
  return st;
}

IoStatus readDouble(int unit, double& value) {
  UnitHandle* h = handle(unit);
  if (!h) return IoStatus::Error;
  char b[8];
  IoStatus st = h->file->read(h->pos, b, 8);
  if (st == IoStatus::Ok) value = getDouble(b, h->order);
  return st;
}

IoStatus readBytes(int unit, char* data, std::size_t n) {
  UnitHandle* h = handle(unit);
  if (!h) return IoStatus::Error;
  return h->file->read(h->pos, data, n);
}

bool writeInt32(int unit, std::int32_t value) {
  UnitHandle* h = writer(unit);
  if (!h) return false;
  char b[4];
  putInt32(b, value, h->order);
  return h->file->write(h->pos, b, 4);
}

bool writeDouble(int unit, double value) {
  UnitHandle* h = writer(unit);
  if (!h) return false;
  char b[8];
  putDouble(b, value, h->order);
  return h->file->write(h->pos, b, 8);
}

bool writeBytes(int unit, std::string_view bytes) {
  UnitHandle* h = writer(unit);
  return h && h->file->write(h->pos, bytes.data(), bytes.size());
}

bool writeZeros(int unit, std::size_t n) {
  static const char zeros[64] = {};
  UnitHandle* h = writer(unit);
  if (!h) return false;
  while (n > 0) {
    std::size_t k = std::min(n, sizeof zeros);
    if (!h->file->write(h->pos, zeros, k)) return false;
    n -= k;
  }
  return true;
}

ByteOrder unitByteOrder(int unit) {
  UnitHandle* h = handle(unit);
  return h ? h->order : ByteOrder::Little;
}

// ---- Writing in place -------------------------------------------------------

namespace {
// Units still open on the patched file must not hold bytes that would later
// overwrite the patch, nor keep stale ones.
void syncOpenObjects(const platform::FileId& id, std::int64_t end) {
  if (auto file = openObjectFor(id)) {
    file->dropWindow();
    file->grownTo(end);
  }
}
}  // namespace

FilePatch::~FilePatch() { close(); }

bool FilePatch::open(std::string_view name) {
  close();
  failed_ = false;
  platform::FileAccess a;
  a.write = true;
  fd_ = platform::openFile(name, a);
  if (fd_ < 0) {
    failed_ = true;
    return false;
  }
  auto id = platform::fileIdentity(fd_);
  if (!id) {
    failed_ = true;
    return false;
  }
  device_ = id->device;
  inode_ = id->inode;
  syncOpenObjects(*id, 0);
  return true;
}

bool FilePatch::writeAtRecord(int record, const char* data, std::size_t n) {
  if (fd_ < 0 || failed_ || record < 1) {
    failed_ = true;
    return false;
  }
  const std::int64_t offset = 4 * (std::int64_t(record) - 1);
  syncOpenObjects(platform::FileId{device_, inode_}, 0);
  if (!platform::writeAt(fd_, data, n, offset)) {
    failed_ = true;
    return false;
  }
  syncOpenObjects(platform::FileId{device_, inode_}, offset + std::int64_t(n));
  return true;
}

bool FilePatch::writeInt32(int record, std::int32_t value, ByteOrder order) {
  char b[4];
  putInt32(b, value, order);
  return writeAtRecord(record, b, 4);
}

bool FilePatch::writeDouble(int record, double value, ByteOrder order) {
  char b[8];
  putDouble(b, value, order);
  return writeAtRecord(record, b, 8);
}

bool FilePatch::close() {
  if (fd_ >= 0) {
    if (!platform::closeFile(fd_)) failed_ = true;
    fd_ = -1;
  }
  return !failed_;
}

}  // namespace quenzel
