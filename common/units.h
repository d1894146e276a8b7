#pragma once
// The file-unit service: every file of the system is opened and closed by
// name through numbered units, with the console dialogues for a missing input
// and an output that is open or cannot be created.
//
// A unit is a handle on a file object that every unit open on the same file
// shares (one buffer; each unit keeps its own position and byte order).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/byte_order.h"
#include "common/one_based.h"

namespace quenzel {

// ---- The service's routines ----------------------------------------------
void INITUNITS(int base);
// Opens `name` on the first free pool unit; unit 0 when an "A " open is given up.
void OPENFILE(int& unit, std::string_view mode, std::string_view name);
// Opens `name` on `unit` with the dialogues; name is written back (cleaned,
// or as the user typed it).
void OPENASK(int& unit, std::string& name, std::string_view mode, std::string_view description,
             int logUnit);
void CLOSER(int& unit);
void CLOSEALL();
int UNITTYPE(int unit);
void OPENDERIVED(int& unit, std::string_view mode, std::string_view prefix, std::string_view suffix);
// Told of each file an input mode opens, by the name it was opened by (as
// given, or as typed at the prompt for a missing one), before it is read.
// One observer at a time; an empty one tells no one.
void setInputOpenedObserver(std::function<void(std::string_view name)> observer);

// ---- Module state ---------------------------------------------------------
struct FileSlot {
  int unit = 0;
  bool open = false;
  std::string mode = "  ";
  int nameLen = 0;
  std::string name;
};

inline constexpr int kNamedSlots = 8;
inline constexpr int kPoolSize = 1000;

struct UnitTables {
  OneBased<FileSlot> fileSlots{kNamedSlots};
  OneBased<int> poolUnit{kPoolSize, 0};
  OneBased<bool> inUse{kPoolSize, false};
  OneBased<int> fileType{kPoolSize, 0};

  bool windowMode = false;
  bool pauseOnExit = true;
  bool keepUnitsOnExit = false;
  int logUnit = 0;
  std::string boxTitle;     // 100 characters in the stored layout
  std::string boxSubtitle;  // 100 characters
  char inputDrive = ' ';
  char outputDrive = ' ';
  bool autoMkdir = false;
  int outBufferBlocks = 0;
  bool copyInputs = false;
  std::string copyRoot;
  bool copyExactFile = false;
  std::string lastCopyPath;
  bool quietCloses = false;  // CLOSER writes no line (see QuietCloses)
  std::function<void(std::string_view)> inputOpened;  // see setInputOpenedObserver
};

// The one instance of the tables (read by PAUSES and EXITS as well).
UnitTables& unitTables();

// ---- Reading and writing open units ---------------------------------------
enum class IoStatus { Ok, End, Error };

// One text record without its line end (a trailing CR is dropped too).
// End: no bytes were left.
IoStatus readLine(int unit, std::string& line);
// No bytes left to read on this unit.
bool unitAtEnd(int unit);
void rewindUnit(int unit);
// Byte position of the unit: where its next read or write starts (0 when
// the unit is not open). A binary reader that steps over records by their
// stored lengths moves with positionUnit; a position past the end reads as
// the end of the file.
std::int64_t unitPosition(int unit);
void positionUnit(int unit, std::int64_t pos);
// Steps back over the record last read (text units).
void backspaceUnit(int unit);
// Writes text and leaves the record open.
bool writeText(int unit, std::string_view text);
// Writes text and ends the record.
bool writeLine(int unit, std::string_view text = {});
// Pushes buffered output to the file; false when the system refused it.
bool flushUnit(int unit);
bool unitIsOpen(int unit);
// Full (absolute) name of the file open on the unit; empty when none.
std::string unitFileName(int unit);

// Binary numbers in the unit's byte order ("BE", "BN", "SE": big-endian;
// every other mode little-endian). End: fewer bytes left than asked for (the
// position stays).
IoStatus readInt32(int unit, std::int32_t& value);
IoStatus readDouble(int unit, double& value);
IoStatus readBytes(int unit, char* data, std::size_t n);
bool writeInt32(int unit, std::int32_t value);
bool writeDouble(int unit, double value);
bool writeBytes(int unit, std::string_view bytes);
// n zero bytes: the other unit's share of a field written in step on two
// units of one file.
bool writeZeros(int unit, std::size_t n);
ByteOrder unitByteOrder(int unit);

// An existing binary file opened again by name for writing in place at
// 4-byte records (record k starts at byte 4 * (k - 1)), without the service's
// announcements: the header patches of the shapefile and dBASE writers once
// their units are closed. Units still open on the file are flushed first and
// see the patched bytes. Writes after a failure keep failing.
class FilePatch {
 public:
  FilePatch() = default;
  ~FilePatch();
  FilePatch(const FilePatch&) = delete;
  FilePatch& operator=(const FilePatch&) = delete;

  bool open(std::string_view name);
  bool writeInt32(int record, std::int32_t value, ByteOrder order);
  bool writeDouble(int record, double value, ByteOrder order);
  // False when the file could not be opened, a write failed, or the close did.
  bool close();

 private:
  bool writeAtRecord(int record, const char* data, std::size_t n);
  int fd_ = -1;
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  bool failed_ = false;
};

// Closes every open unit of both tables without a console line and without
// changing the tables: the ending of EXITS and of the stop-at-once paths.
void closeAllUnitsQuietly();

// While alive, CLOSER closes without its "...Closed File Unit:" line: the end
// of a run finishes open layers through their own closing code and, like
// EXITS, writes nothing for those closes.
class QuietCloses {
 public:
  QuietCloses();
  ~QuietCloses();
  QuietCloses(const QuietCloses&) = delete;
  QuietCloses& operator=(const QuietCloses&) = delete;

 private:
  bool previous_;
};

}  // namespace quenzel
