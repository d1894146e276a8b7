#pragma once
// Shapefile and dBASE files built byte by byte for the reader tests: every
// count and length can be made to lie.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/byte_order.h"

namespace quenzel::test {

using Points = std::vector<std::pair<double, double>>;

inline void appendPointList(std::string& b, const Points& pts) {
  for (const auto& [x, y] : pts) {
    appendLEDouble(b, x);
    appendLEDouble(b, y);
  }
}

// Polyline (3) or polygon (5) content; a count given as -1 is the real one.
inline std::string partsContent(int type, const std::vector<int>& starts, const Points& pts, int parts = -1,
                                int points = -1) {
  std::string b;
  appendLE32(b, type);
  b.append(32, '\0');
  appendLE32(b, parts == -1 ? static_cast<int>(starts.size()) : parts);
  appendLE32(b, points == -1 ? static_cast<int>(pts.size()) : points);
  for (int s : starts) appendLE32(b, s);
  appendPointList(b, pts);
  return b;
}

inline std::string multiPointContent(const Points& pts, int count = -1) {
  std::string b;
  appendLE32(b, 8);
  b.append(32, '\0');
  appendLE32(b, count == -1 ? static_cast<int>(pts.size()) : count);
  appendPointList(b, pts);
  return b;
}

// Content of a record that holds only its shape type (null, or a type no
// reader takes).
inline std::string typeOnlyContent(int type) {
  std::string b;
  appendLE32(b, type);
  return b;
}

// Record number and content length in 16-bit words (-1: the content's own).
inline std::string shpRecord(int number, const std::string& content, int words = -1) {
  std::string b;
  appendBE32(b, number);
  appendBE32(b, words < 0 ? static_cast<int>(content.size() / 2) : words);
  return b + content;
}

inline std::string shpBytes(int shapeType, const std::vector<std::string>& records) {
  std::string body;
  for (const std::string& r : records) body += r;
  std::string b;
  appendBE32(b, 9994);
  b.append(20, '\0');
  appendBE32(b, static_cast<int>((100 + body.size()) / 2));
  appendLE32(b, 1000);
  appendLE32(b, shapeType);
  b.append(64, '\0');
  return b + body;
}

struct DbfField {
  std::string name;  // up to 11 bytes, zero-padded
  char type;
  int length;
  int decimals = 0;
};

// A dBASE III table; counts and lengths given as -1 are the real ones.
struct DbfTable {
  std::vector<DbfField> fields;
  std::vector<std::string> records;  // each: flag byte and field bytes
  int version = 3;
  int count = -1;
  int headerLength = -1;
  int recordLength = -1;
  std::string terminator = "\x0d";  // ends the descriptors
  std::string afterTerminator;     // bytes between the terminator and the records
  bool endMarker = true;

  std::string bytes() const {
    int total = 1;
    for (const DbfField& f : fields) total += f.length;
    std::string b(1, static_cast<char>(version));
    b += std::string("\x7c\x05\x1f", 3);
    appendLE32(b, count < 0 ? static_cast<int>(records.size()) : count);
    const int realHeader =
        32 * static_cast<int>(fields.size()) + 32 + static_cast<int>(terminator.size() + afterTerminator.size());
    appendLE16(b, static_cast<std::uint16_t>(headerLength < 0 ? realHeader : headerLength));
    appendLE16(b, static_cast<std::uint16_t>(recordLength < 0 ? total : recordLength));
    b.append(20, '\0');
    for (const DbfField& f : fields) {
      std::string d = f.name;
      d.resize(11, '\0');
      d += f.type;
      d.append(4, '\0');
      d += static_cast<char>(f.length);
      d += static_cast<char>(f.decimals);
      d.append(14, '\0');
      b += d;
    }
    b += terminator;
    b += afterTerminator;
    for (const std::string& r : records) b += r;
    if (endMarker) b += '\x1a';
    return b;
  }
};

}  // namespace quenzel::test
