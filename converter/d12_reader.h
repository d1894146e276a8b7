#pragma once
// Reading 12d Model ASCII files (".12da", ".4da"): the encoding check, the
// header keys of the leading comment block, the file's null value, string
// headers and their vertex blocks.
//
// Every routine takes the unit of the 12da file, opened by the caller in
// mode "I ". The routines keep their line buffers in the module and are not
// re-entrant.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/constants.h"
#include "common/one_based.h"

namespace quenzel {

inline constexpr std::size_t kD12NameWidth = 100;         // string names, header values
inline constexpr std::size_t kD12TypeWidth = 20;          // string types
inline constexpr std::size_t kD12DataLineWidth = 10000;   // vertex lines
inline constexpr int kD12MaxNodes = 1000000;              // vertices of one block

// The string being read: filled by d12ObjectType, and by d12ReadData (or
// d12SkipData) as far as the look-ahead of a super string goes.
struct d12Object {
  bool isString = false;    // the last line parsed opened a string
  bool is2d = false;        // string line holds "2d", "alignment" or "pipeline"
  bool is3d = false;        // "3d", "4d", "drainage", "face", "interface" or "pipe"
  bool isSuper = false;     // "super"
  bool isPolyline = false;  // "polyline"
  bool data2d = false;      // the block is read as X Y, with the string's z
  bool data3d = false;      // the block is read as X Y Z
  bool hipData = false;     // the data line holds "hipdata"
  bool moreData = false;    // a super string's next block: the file stands on its data line
  bool closed = false;      // a closed polyline: its first vertex is repeated at the end
  bool withoutData = false; // the string ended before any data line: no block to read or skip
  float z = static_cast<float>(NO_VALUE);
  std::string name;         // 100 characters
  std::string type;         // 20 characters; "unknown" after a line that opens no string
};

// True when the file begins with the UTF-8 byte-order mark; a UTF-16 mark
// ends the run. Opens the file once more by its full name to look.
bool d12CheckEncoding(int unit);

// The next significant line (not blank, not a "//" comment), without leading
// and trailing blanks or tabs and cut before any "//". False with `line` empty at the
// end of the file or on a read error.
bool d12ReadLine(std::string& line, int unit, std::size_t width = kNameWidth);

// The value of a key of the leading comment block; empty when absent.
std::string d12HeaderValue(int unit, std::string_view key);
std::string d12ArchiveVersion(int unit);
bool d12NullKeyword(int unit);
bool d12OutputHexFloats(int unit);

// Positions the file after its model line, taking the file's null value from
// its "null" line; a file without one is rewound (after a warning) and read
// from the start. False (after a warning and a pause) on a read error only.
bool d12FindStartOfData(int unit, float& nullValue, bool nullKeyword);

// `line` holds the line just read. Parses a string header into obj and reads
// on to its data line (left in `line`); true for a string, also for the next
// block of a super string. A string whose closing brace, or a new string line
// at its level, comes before any data line is `withoutData`, with no block
// kind; the new string's line is left to be read again.
bool d12ObjectType(int unit, std::string& line, d12Object& obj);

// Reads one vertex block into X, Y, Z (1-based, room for maxNodes + 1), n
// vertices; for a super string it then looks ahead for the string's next
// block. False when no line was left or obj holds no string.
bool d12ReadData(int unit, d12Object& obj, OneBasedView<double> X, OneBasedView<double> Y,
                 OneBasedView<float> Z, int maxNodes, int& n, bool nullKeyword, bool hexFloats);

// Passes over a block the caller does not read, to its closing "}" (nested
// blocks included), then looks ahead as d12ReadData does. False when obj
// holds no string.
bool d12SkipData(int unit, d12Object& obj);

}  // namespace quenzel
