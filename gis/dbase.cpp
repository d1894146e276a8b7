#include "gis/dbase.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/byte_order.h"
#include "common/console.h"
#include "common/constants.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/write_protocol.h"

namespace quenzel {
namespace {

constexpr char kEndOfData = 0x1A;
constexpr char kEndOfDescriptors = 0x0D;
constexpr int kDescriptorBytes = 32;
// The longest value a record writer takes from the attribute line.
constexpr std::size_t kMaxValue = 256;

// Buffers of the record writer and reader, kept so a record costs no
// allocation once they have grown.
struct DbaseModule {
  std::string record;
  std::string value;
  std::string cleaned;  // a value with its control bytes blanked
};

DbaseModule& dbaseModule() {
  static DbaseModule m;
  return m;
}

bool isCharacterType(std::string_view type) { return type == "C" || type == "c"; }

// The first byte of a descriptor block that ends the descriptors.
bool endsDescriptors(char first) { return first == kEndOfDescriptors || first == '\n' || first == '\0'; }

// ---- Writing ----------------------------------------------------------------

void mapFieldType(std::string_view typeWord, int width, DbfFile& dbf, int i) {
  const std::string word = TRIMF(UPPERCASE(cutTo(typeWord, kFieldTypeWidth)));
  struct Mapping {
    std::string_view prefix;
    const char* type;
    int length;  // 0: the definition's width
    int decimals;
  };
  static constexpr Mapping kMappings[] = {
      {"CHAR", "C", 0, 0}, {"LOGICAL", "C", 1, 0}, {"FLOAT", "N", 16, 5}, {"INTEGER", "N", 8, 0}, {"DECIMAL", "N", 0, 0},
  };
  for (const Mapping& mapping : kMappings) {
    if (!word.starts_with(mapping.prefix)) continue;
    dbf.fieldType(i) = mapping.type;
    dbf.fieldLength(i) = mapping.length > 0 ? mapping.length : width;
    dbf.fieldDecimals(i) = mapping.decimals;
    return;
  }
  gisInternalCheck("Unrecognised DBF field");
}

void appendPacked8(std::string& b, int v) { b.push_back(static_cast<char>(i1u(v))); }

[[noreturn]] void headerWriteFailed() { gisStop("ERROR 0413 - Writing .dbf file header."); }

// Marks a field's overflow as reported in every table of the layer that
// holds `dbf`: the layer's sets share one definition, and the warning is
// given once per field and layer.
void markOverflowReported(const DbfFile& dbf, int field) {
  GisLayerModule& m = gisModule();
  for (int id = 1; id <= gisMaxLayers; ++id) {
    bool inLayer = false;
    for (int k = 1; k <= gisShapeSlots; ++k) inLayer = inLayer || &m.dbfFile(k, id) == &dbf;
    if (!inLayer) continue;
    for (int k = 1; k <= gisShapeSlots; ++k) m.dbfFile(k, id).overflowReported(field) = true;
    return;
  }
}

// Whether a number text cut to `width` loses only decimals: the point lies
// within the width, nothing but digits follow it, and a digit is left (".5"
// cut to "." or "-.5" to "-" is no number).
bool cutLosesOnlyDecimals(std::string_view number, std::size_t width) {
  const std::size_t point = number.find('.');
  return point != std::string_view::npos && point <= width &&
         number.find_first_not_of("0123456789", point + 1) == std::string_view::npos &&
         number.substr(0, width).find_first_of("0123456789") != std::string_view::npos;
}

void writeDataRecord(DbfFile& dbf, const std::string& text, bool large) {
  const std::string_view failure = large ? "ERROR 0417 - Writing large .dbf record." : "ERROR 0417 - Writing .dbf record.";
  DbaseModule& s = dbaseModule();
  std::string& record = s.record;
  std::string& value = s.value;
  record.assign(1, ' ');
  FreeReader reader(text);
  bool lineEnded = false;
  for (int i = 1; i <= dbf.fieldCount; ++i) {
    // A value the line does not hold (past its end, or empty between two
    // commas) is a blank field, never the previous record's value.
    value.clear();
    if (!lineEnded) {
      const ReadResult r = reader.read(value);
      if (r == ReadResult::End) lineEnded = true;
      if (r == ReadResult::Error) {
        if (!writeBytes(dbf.dbfUnit, record)) gisStop(failure);
        gisStop(gisCheckText(large ? "dbfdatalinelarge" : "dbfdataline"),
                trimRight(std::string_view(text).substr(0, kNameWidth)));
      }
    }
    if (value.size() > kMaxValue) value.resize(kMaxValue);
    const std::size_t width = static_cast<std::size_t>(dbf.fieldLength(i));
    const std::string_view whole = trimRight(writtenAttributeText(value, s.cleaned));
    const std::string_view v = trimRight(whole.substr(0, width));
    if (isCharacterType(dbf.fieldType(i))) {
      record += v;
      record.append(width - v.size(), ' ');
    } else if (whole.size() > width && !cutLosesOnlyDecimals(whole, width)) {
      // Cut short, the digits before the point (or an exponent) would make
      // a different number, or no digit would be left.
      if (!dbf.overflowReported(i)) {
        setGisMessageLine(1, "WARNING - Value " + std::string(whole) + " does not fit field " +
                                 std::string(trimRight(dbf.fieldName(i))) + " (width " + AINTEGER(dbf.fieldLength(i)) +
                                 "); written as asterisks.");
        gisWriteMessage(0);
        dbf.overflowReported(i) = true;
        markOverflowReported(dbf, i);
      }
      record.append(width, '*');
    } else {
      // A number that loses only decimals to its field keeps its size.
      record.append(width - v.size(), ' ');
      record += v;
    }
  }
  if (!writeBytes(dbf.dbfUnit, record)) gisStop(failure);
}

// ---- Reading ----------------------------------------------------------------

void readHeaderBytes(int unit, char* data, std::size_t n) {
  gisReadBytes(unit, data, n, "ERROR 0404 - End of .dbf file encountered whilst reading header.",
               "ERROR 0403 - Reading .dbf file header.");
}

void readRecordBytes(int unit, char* data, std::size_t n) {
  gisReadBytes(unit, data, n, "ERROR 0408 - End of .dbf file encountered whilst reading record.",
               "ERROR 0407 - Reading .dbf record.");
}

void appendWithoutTrailingBlanks(std::string& line, std::string_view text) {
  line.resize(significantLength(line));
  line += text;
}

}  // namespace

int i1u(int& value) {
  if (value < 0 || value > 255) gisInternalCheck("i1u: i4 outside range");
  value = static_cast<std::int8_t>(static_cast<std::uint8_t>(value));
  return value;
}

int i2u(int& value) {
  if (value < 0 || value > 65535) gisInternalCheck("i2u: i4 outside range");
  value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return value;
}

void dbfWriteHeader(const GisAttributeDefinition& attrDef, DbfFile& dbf) {
  if (dbf.dbfUnit < 1) return;
  rewindUnit(dbf.dbfUnit);
  dbf.headerRecordCount = attrDef.recordCount;
  dbf.fieldCount = attrDef.count;
  if (dbf.fieldCount > dbfMaxFields)
    gisStop("ERROR 0411 - Exceeded maximum number of dbf Fields trying to write dbf file.");
  if (dbf.fieldCount < 1) gisStop("ERROR 0319 - No attributes specified when writing .dbf file.");

  long long total = 0;
  for (int i = 1; i <= dbf.fieldCount; ++i) {
    dbf.fieldName(i) = cutTo(CLEANATTRIBUTENAME(TRIMF(cutTo(attrDef.name(i), kFieldNameWidth))), 10);
    mapFieldType(attrDef.type(i), attrDef.width(i), dbf, i);
    total += dbf.fieldLength(i);
  }
  if (total > 65534) gisInternalCheck("dbfTotLen>32767");
  dbf.dbfTotLen = static_cast<int>(total);

  std::string& b = dbaseModule().record;
  b.clear();
  const platform::Date today = platform::currentDate();
  b.push_back(3);
  appendPacked8(b, today.year - 1900);
  appendPacked8(b, today.month);
  appendPacked8(b, today.day);
  appendLE32(b, dbf.headerRecordCount);
  int headerLength = kDescriptorBytes * dbf.fieldCount + 33;
  int recordLength = dbf.dbfTotLen + 1;
  appendLE16(b, static_cast<std::uint16_t>(i2u(headerLength)));
  appendLE16(b, static_cast<std::uint16_t>(i2u(recordLength)));
  b.append(20, '\0');
  for (int i = 1; i <= dbf.fieldCount; ++i) {
    const std::string& name = dbf.fieldName(i);
    b += name;
    b.append(11 - name.size(), '\0');
    b += dbf.fieldType(i);
    b.append(4, '\0');
    const int length = dbf.fieldLength(i);
    if (length < 1 || length > 255) {
      // What the run wrote before the failure stays in the file.
      if (!writeBytes(dbf.dbfUnit, b)) headerWriteFailed();
      gisStop("ERROR 0412 - dbf field length of " + AINTEGER(length) +
              " is outside allowable range of 1 to 255 when writing dbf file.");
    }
    appendPacked8(b, length);
    appendPacked8(b, dbf.fieldDecimals(i));
    b.append(14, '\0');
  }
  b.push_back(kEndOfDescriptors);
  if (!writeBytes(dbf.dbfUnit, b)) headerWriteFailed();
}

void dbfdataline(DbfFile& dbf) { writeDataRecord(dbf, gisAttLine, false); }

void dbfdatalinelarge(DbfFile& dbf) { writeDataRecord(dbf, gisAttLineLarge, true); }

void dbfCompleteTable(DbfFile& dbf) {
  constexpr std::string_view failure = "ERROR 0413 - Rewriting .dbf file header with final information.";
  // A run that ends before the header was written whole (or at all) leaves
  // the table as it is: an end byte and a count would only add a wrong header.
  if (unitPosition(dbf.dbfUnit) < kDescriptorBytes * std::int64_t(dbf.fieldCount) + 33) return;
  // Buffered bytes reach the disk here: a failure is a table not completed.
  if (!writeBytes(dbf.dbfUnit, std::string_view(&kEndOfData, 1)) || !flushUnit(dbf.dbfUnit)) gisStop(failure);
  const std::string name = unitFileName(dbf.dbfUnit);
  CLOSER(dbf.dbfUnit);
  FilePatch patch;
  patch.open(name);
  patch.writeInt32(2, dbf.recordCounter, ByteOrder::Little);
  if (!patch.close()) gisStop(failure);
}

void dbfReadHeader(DbfFile& dbf) {
  const int unit = dbf.dbfUnit;
  if (unit < 1) return;
  rewindUnit(unit);
  char head[32];
  readHeaderBytes(unit, head, sizeof head);
  // dBASE 7 tables (version 4) hold descriptors of another size.
  if (head[0] == 4) gisStop("ERROR 0403 - Reading .dbf file header.");
  dbf.headerRecordCount = static_cast<int>(getLE32(head + 4));
  dbf.headerLength = getLE16(head + 8);
  dbf.recordLength = getLE16(head + 10);
  dbf.deletedCount = 0;
  console::line("DBF file contains " + AINTEGER(dbf.headerRecordCount) + " records.");

  dbf.fieldCount = 0;
  dbf.dbfTotLen = 0;
  // The descriptors are the whole blocks the header length leaves room for;
  // a block that starts with a terminator ends them early. Writers end them
  // with a carriage return, a line feed (also before a carriage return or a
  // Visual FoxPro table's zero-filled tail) or zero bytes, or not at all
  // when the header length ends right after the last one.
  const int blocks = dbf.headerLength < kDescriptorBytes ? 0 : (dbf.headerLength - kDescriptorBytes) / kDescriptorBytes;
  for (int block = 0; block < blocks; ++block) {
    char first = 0;
    readHeaderBytes(unit, &first, 1);
    if (endsDescriptors(first)) break;
    if (++dbf.fieldCount > dbfMaxFields) gisStop("ERROR 0401 - Exceeded maximum number of dbf Fields.");
    std::array<char, kDescriptorBytes> d{};
    d[0] = first;
    readHeaderBytes(unit, d.data() + 1, kDescriptorBytes - 1);
    // The name ends at its first zero byte; what follows it is padding.
    std::string_view name(d.data(), 11);
    name = name.substr(0, name.find('\0'));
    const int i = dbf.fieldCount;
    dbf.fieldName(i) = cutTo(CLEANATTRIBUTENAME(name), 11);
    dbf.fieldType(i) = std::string(1, d[11]);
    const int length = static_cast<unsigned char>(d[16]);
    if (length == 0)
      gisStop("ERROR 0402 - dbf field length of " + AINTEGER(length) + " is outside allowable range of 1 to 255.");
    dbf.fieldLength(i) = length;
    dbf.fieldDecimals(i) = 0;
    dbf.dbfTotLen += length;
  }
  // A header with no room for one descriptor is damaged, unless it holds
  // just the terminator: a table without fields. A record length too short
  // for the descriptors read is damaged too.
  if (blocks == 0) {
    char first = 0;
    if (dbf.headerLength > kDescriptorBytes) readHeaderBytes(unit, &first, 1);
    if (dbf.headerLength <= kDescriptorBytes || !endsDescriptors(first))
      gisStop("ERROR 0403 - Reading .dbf file header.");
  }
  if (dbf.recordLength < dbf.dbfTotLen + 1) gisStop("ERROR 0403 - Reading .dbf file header.");
  if (dbf.fieldCount < 1) gisStop("ERROR 0319 - No attributes specified in .dbf file.");
  positionUnit(unit, dbf.headerLength);

  std::string list = AINTEGER(dbf.fieldCount) + " DBF Fields (Name [#/Type/Length]): ";
  for (int i = 1; i <= dbf.fieldCount; ++i)
    list += std::string(trimRight(dbf.fieldName(i))) + " [" + AINTEGER(i) + "/" + dbf.fieldType(i) + "/" +
            AINTEGER(dbf.fieldLength(i)) + "]  ";
  gisLineToConsoleAndLog(trimRight(list));
}

void dbfReadRecord(DbfFile& dbf, bool& endFlag, std::string& line) {
  const int unit = dbf.dbfUnit;
  line.clear();
  std::string& data = dbaseModule().record;
  for (;;) {
    char flag = 0;
    readRecordBytes(unit, &flag, 1);
    if (flag == '*') {
      ++dbf.deletedCount;
      positionUnit(unit, unitPosition(unit) + dbf.recordLength - 1);
      continue;
    }
    if (flag == ' ' || flag == '\0') break;
    if (flag == kEndOfData) {
      // Deleted records are records of the table too.
      const int found = dbf.recordCounter + dbf.deletedCount;
      if (found != dbf.headerRecordCount) {
        setGisMessageLine(1, "WARNING 0405 - Insufficient number of records found in .dbf file.");
        setGisMessageLine(2, "               Found " + AINTEGER(found) + ", expecting " +
                                 AINTEGER(dbf.headerRecordCount) + ".");
        gisWriteMessage(0);
      }
      endFlag = true;
      return;
    }
    const int code = static_cast<unsigned char>(flag);
    gisStop("ERROR 0406 - Unrecognised record identifier found in .dbf file.",
            "Character = " + std::string(1, flag) + " [" + AINTEGER(code) + "]", "Data line thus far = ");
  }

  ++dbf.recordCounter;
  data.resize(static_cast<std::size_t>(dbf.recordLength - 1));
  readRecordBytes(unit, data.data(), data.size());
  std::size_t at = 0;
  for (int i = 1; i <= dbf.fieldCount; ++i) {
    const std::size_t width = static_cast<std::size_t>(dbf.fieldLength(i));
    // Some writers pad a value with zero bytes: it ends at the first, and
    // one that holds nothing before it is a blank field.
    std::string_view v = std::string_view(data).substr(at, width);
    v = trimRight(v.substr(0, v.find('\0')));
    at += width;
    if (isCharacterType(dbf.fieldType(i))) {
      // A quote inside the value is doubled, so a free-format read gives
      // the value back whole.
      appendWithoutTrailingBlanks(line, "\"" + DOUBLEQUOTE(v) + "\"");
    } else if (v.starts_with('*')) {
      appendWithoutTrailingBlanks(line, "0");
    } else {
      appendWithoutTrailingBlanks(line, v);
    }
    if (i < dbf.fieldCount) appendWithoutTrailingBlanks(line, ",");
  }
  if (line.size() > kNameWidth) line.resize(kNameWidth);
}

bool dbfSkipDeletedRecord(DbfFile& dbf) {
  const int unit = dbf.dbfUnit;
  if (unit < 1) return false;
  const std::int64_t at = unitPosition(unit);
  char flag = 0;
  if (readBytes(unit, &flag, 1) != IoStatus::Ok || flag != '*') {
    positionUnit(unit, at);
    return false;
  }
  ++dbf.deletedCount;
  positionUnit(unit, at + dbf.recordLength);
  return true;
}

}  // namespace quenzel
