// dBASE tables: the bytes written from a definition and attribute lines,
// the header checks, and reading tables whose counts and lengths may lie.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "common/byte_order.h"
#include "common/platform.h"
#include "gis/dbase.h"
#include "gis/object_record.h"
#include "gis/write_protocol.h"
#include "layer_fixture.h"
#include "shape_files.h"

namespace quenzel {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;
using test::DbfField;
using test::DbfTable;

class Dbase : public LayerModuleTest {
 protected:
  void SetUp() override {
    LayerModuleTest::SetUp();
    platform::setCurrentDateForTests(platform::Date{2024, 5, 31});
  }
  void TearDown() override {
    platform::setCurrentDateForTests(std::nullopt);
    LayerModuleTest::TearDown();
  }

  void define(const std::vector<std::tuple<std::string, std::string, int>>& fields) {
    gisAttrDef.count = static_cast<int>(fields.size());
    for (int i = 1; i <= gisAttrDef.count; ++i)
      std::tie(gisAttrDef.name(i), gisAttrDef.type(i), gisAttrDef.width(i)) = fields[static_cast<std::size_t>(i - 1)];
    gisAttrDef.recordCount = 0;
  }

  // Writes the table of a point set: its header, then one point per line.
  void writeTable(const std::vector<std::string>& attributeLines) {
    int id = gisOpenLayer("t.shp", "P", "O ", false);
    gisWriteHeader(id);
    gisObject obj;
    obj.isPoint = true;
    gisNP = 1;
    for (const std::string& line : attributeLines) {
      gisX(1) = gisY(1) = 1.0;
      gisAttLine = line;
      gisWriteObject(id, obj);
      gisWriteRecord(id, obj);
    }
    gisCloseLayer(id);
  }

  // The table's records as attribute lines, read up to its end marker.
  Lines readTable(const std::string& name) {
    DbfFile dbf;
    OPENFILE(dbf.dbfUnit, "BI", name);
    dbfReadHeader(dbf);
    dbf.recordCounter = 0;
    Lines lines;
    bool end = false;
    for (int guard = 0; !end && guard < 20; ++guard) {
      std::string line;
      dbfReadRecord(dbf, end, line);
      if (!end) lines.push_back(line);
    }
    CLOSER(dbf.dbfUnit);
    return lines;
  }
};

TEST_F(Dbase, HeaderDescriptorsAndRecordsAsWritten) {
  define({{"Z", "Float", 0},
          {" Road Name (m)", " char ", 10},
          {"ABCDEFGHIJKL", "CHARACTER", 3},
          {"(*)", "Logical", 0},
          {"n", "Integer", 0},
          {"d", "Decimal", 4}});
  writeTable({"1.5,'abc def',\"abcdefghijkl\",T,2,12345", "-7.25,\"a\"\"b\",,,,99999", "",
              "1234567954432.000,\"s\0e\r\n\x1a\tx\",,,123456789.5,1234"s});
  const std::string b = test::readFile(dir / "t_P.dbf");

  ASSERT_EQ(b.size(), 225u + 4 * 43 + 1);
  EXPECT_EQ(b.substr(0, 4), std::string("\x03\x7c\x05\x1f", 4));
  EXPECT_EQ(getLE32(b.data() + 4), 4u);  // patched at close
  EXPECT_EQ(getLE16(b.data() + 8), 225);
  EXPECT_EQ(getLE16(b.data() + 10), 43);
  EXPECT_EQ(b.substr(12, 20), std::string(20, '\0'));
  struct Descriptor {
    const char* name;
    char type;
    int length, decimals;
  } descriptors[] = {{"Z", 'N', 16, 5},    {"RoadNamem", 'C', 10, 0}, {"ABCDEFGHIJ", 'C', 3, 0},
                     {"X", 'C', 1, 0},     {"n", 'N', 8, 0},          {"d", 'N', 4, 0}};
  for (int i = 0; i < 6; ++i) {
    const std::string d = b.substr(32 + 32 * static_cast<std::size_t>(i), 32);
    std::string name = descriptors[i].name;
    name.resize(11, '\0');
    EXPECT_EQ(d.substr(0, 11), name);
    EXPECT_EQ(d[11], descriptors[i].type);
    EXPECT_EQ(d[16], descriptors[i].length);
    EXPECT_EQ(d[17], descriptors[i].decimals);
    EXPECT_EQ(d.substr(18), std::string(14, '\0'));
  }
  EXPECT_EQ(b[224], '\x0d');
  // A number whose digits before the point do not fit is asterisks; one that
  // loses only decimals is cut to its field, one that fills it is written
  // whole; a field without a value is blank. Control bytes other than the
  // tab are blanks.
  EXPECT_EQ(b.substr(225, 43), "              1.5abc def   abcT       2****");
  EXPECT_EQ(b.substr(268, 43), "            -7.25a\"b                   ****");
  EXPECT_EQ(b.substr(311, 43), std::string(43, ' '));
  EXPECT_EQ(b.substr(354, 43), " 1234567954432.00s e   \tx      ********1234");
  EXPECT_EQ(b.back(), '\x1a');
  const Lines console = con.lines();
  EXPECT_EQ(std::count(console.begin(), console.end(),
                       "WARNING - Value 12345 does not fit field d (width 4); written as asterisks."),
            1);
  EXPECT_TRUE(hasLine(console, "WARNING - Value 123456789.5 does not fit field n (width 8); written as asterisks."));
  EXPECT_FALSE(hasLine(console, "Press Enter to Continue"));

  con.clear();
  EXPECT_EQ(readTable("t_P.dbf"), (Lines{"             1.5,\"abc def\",\"abc\",\"T\",       2,0",
                                         "           -7.25,\"a\"\"b\",\"\",\"\",,0", ",\"\",\"\",\"\",,",
                                         "1234567954432.00,\"s e   \tx\",\"\",\"\",0,1234"}));
  EXPECT_TRUE(hasLine(con.lines(), "DBF file contains 4 records."));
  EXPECT_TRUE(hasLine(con.lines(), "6 DBF Fields (Name [#/Type/Length]): Z [1/N/16]  RoadNamem [2/C/10]  "
                                   "ABCDEFGHIJ [3/C/3]  X [4/C/1]  n [5/N/8]  d [6/N/4]"));

  if (std::string listing = test::pyshpListing(dir / "t_P.shp"); !listing.empty()) {
    EXPECT_EQ(listing,
              "1 4 [('Z', 'N', 16, 5), ('RoadNamem', 'C', 10, 0), ('ABCDEFGHIJ', 'C', 3, 0), ('X', 'C', 1, 0), "
              "('n', 'N', 8, 0), ('d', 'N', 4, 0)]\n"
              "1 [] [(1.0, 1.0)] [1.5, 'abc def', 'abc', 'T', 2, None]\n"
              "1 [] [(1.0, 1.0)] [-7.25, 'a\"b', '', '', None, None]\n"
              "1 [] [(1.0, 1.0)] [None, '', '', '', None, None]\n"
              "1 [] [(1.0, 1.0)] [1234567954432.0, 's e   \\tx', '', '', None, 1234]\n");
  }
  if (test::haveCommand("ogrinfo")) {
    test::RunResult r = test::runProgram("ogrinfo", {"-al", "-q", "t_P.shp"}, dir.path());
    EXPECT_NE(r.output.find("RoadNamem (String) = a\"b"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Z (Real) = -7.25000"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("Z (Real) = 1234567954432.00000"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("d (Integer) = 1234"), std::string::npos) << r.output;
  }

  // A cut that would leave no digit of the number is asterisks as well.
  restart();
  define({{"a", "Decimal", 1}, {"b", "Decimal", 2}, {"c", "Decimal", 2}, {"e", "Decimal", 3}});
  con.clear();
  writeTable({".5,-.5,1.5,-.55"});
  EXPECT_EQ(test::readFile(dir / "t_P.dbf").substr(32 + 4 * 32 + 1, 10), " ***1.-.5\x1a");
  EXPECT_TRUE(hasLine(con.lines(), "WARNING - Value .5 does not fit field a (width 1); written as asterisks."));
  EXPECT_TRUE(hasLine(con.lines(), "WARNING - Value -.5 does not fit field b (width 2); written as asterisks."));
  EXPECT_EQ(con.text().find("field c"), std::string::npos);
  EXPECT_EQ(con.text().find("field e"), std::string::npos);
}

TEST_F(Dbase, HeaderThatCannotBeWrittenEndsTheRun) {
  struct Case {
    const char* name;
    int fields;
    const char* type;
    int width;
    const char* message;
    std::size_t bytesWritten;
  } cases[] = {
      {"129 fields", 129, "Integer", 0, "ERROR 0411 - Exceeded maximum number of dbf Fields trying to write dbf file.", 0},
      {"no fields", 0, "Integer", 0, "ERROR 0319 - No attributes specified when writing .dbf file.", 0},
      {"unknown type", 1, "Text", 0, "Should not be here [Unrecognised DBF field] - please contact support@quenzel.dev.",
       0},
      {"width 0", 1, "Char", 0,
       "ERROR 0412 - dbf field length of 0 is outside allowable range of 1 to 255 when writing dbf file.", 48},
      {"width 256", 1, "Char", 256,
       "ERROR 0412 - dbf field length of 256 is outside allowable range of 1 to 255 when writing dbf file.", 48},
      {"sum above 65534", 2, "Char", 40000, "Should not be here [dbfTotLen>32767] - please contact support@quenzel.dev.",
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    restart();
    define({});
    gisAttrDef.count = c.fields;
    for (int i = 1; i <= std::min(c.fields, gisMaxFields); ++i) {
      gisAttrDef.name(i) = "F" + std::to_string(i);
      gisAttrDef.type(i) = c.type;
      gisAttrDef.width(i) = c.width;
    }
    int id = gisOpenLayer("t.shp", "P", "O ", false);
    con.clear();
    EXPECT_THROW(gisWriteHeader(id), test::StopCalled);
    EXPECT_TRUE(hasLine(con.lines(), c.message)) << con.text();
    // The end of the run closed the layer; what the header got so far stays.
    EXPECT_EQ(test::readFile(dir / "t_P.dbf").size(), c.bytesWritten);
  }
  // 128 fields are the most a table takes.
  restart();
  define({});
  gisAttrDef.count = 128;
  for (int i = 1; i <= 128; ++i) gisAttrDef.type(i) = "Integer";
  writeTable({});
  EXPECT_EQ(test::readFile(dir / "t_P.dbf").size(), 32u + 32 * 128 + 1 + 1);
}

TEST_F(Dbase, PackingOfUnsignedFields) {
  for (auto [value, packed] : {std::pair{0, 0}, {127, 127}, {200, -56}, {255, -1}}) {
    EXPECT_EQ(i1u(value), packed);
    EXPECT_EQ(value, packed);
  }
  int v = 40000;
  EXPECT_EQ(i2u(v), -25536);
  v = 65536;
  EXPECT_THROW(i2u(v), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "Should not be here [i2u: i4 outside range] - please contact support@quenzel.dev."));
}

DbfTable table(std::vector<std::string> records, std::vector<DbfField> fields = {{"NAME", 'C', 4}, {"N", 'N', 3}}) {
  DbfTable t;
  t.fields = std::move(fields);
  t.records = std::move(records);
  return t;
}

// The table ogr2ogr made for tests/data/shp/multipoint.shp (one C(80) field
// "kind": "three", "one"), with its bytes changed as other writers have them.
std::string ogr2ogrTable(void (*change)(std::string& b, std::size_t header, std::size_t record)) {
  std::string b = test::readFile(std::filesystem::path(QUENZEL_TEST_DATA) / "shp" / "multipoint.dbf");
  change(b, getLE16(b.data() + 8), getLE16(b.data() + 10));
  return b;
}

// Lines of ogrinfo's listing, each found after the one before it.
void expectInOrder(const std::string& listing, const Lines& lines) {
  std::size_t at = 0;
  for (const std::string& line : lines) {
    const std::size_t found = listing.find("\n  " + line + "\n", at);
    ASSERT_NE(found, std::string::npos) << line << "\n" << listing;
    at = found + line.size();
  }
}

// Two fields and two records, the descriptors ended as other writers end
// them; the header length counts what the writer put there.
std::string descriptorsEndedBy(std::string terminator, std::string padding) {
  DbfTable t = table({" a        1", " bc      22"}, {{"NAME", 'C', 4}, {"N", 'N', 6}});
  t.terminator = std::move(terminator);
  t.afterTerminator = std::move(padding);
  return t.bytes();
}

TEST_F(Dbase, ReadingHonoursWhatTheHeaderSays) {
  const Lines twoRecords = {"\"a\",     1", "\"bc\",    22"};
  const Lines twoRecordsByOgrinfo = {"NAME (String) = a", "N (Integer) = 1", "NAME (String) = bc", "N (Integer) = 22"};
  const char* twoFields = "2 DBF Fields (Name [#/Type/Length]): NAME [1/C/4]  N [2/N/6]";
  struct Case {
    const char* name;
    std::string bytes;
    Lines records;
    const char* consoleLine;
    Lines ogrinfo = {};  // the same values as ogrinfo lists them, when it reads the table
  } cases[] = {
      {"names",
       table({" xy" + std::string(200, '9')}, {{"ROAD-ID", 'C', 2}, {std::string("AB\0CD", 5), 'N', 200}}).bytes(),
       {"\"xy\"," + std::string(200, '9')}, "2 DBF Fields (Name [#/Type/Length]): ROADID [1/C/2]  AB [2/N/200]"},
      {"quote, asterisks, zero flag", table({" a\"b ***", std::string("\0", 1) + "  c   7"}).bytes(),
       {"\"a\"\"b\",0", "\"  c\",  7"}, "DBF file contains 2 records."},
      {"deleted records count", table({" a     1", "*b     2", " c     3"}).bytes(), {"\"a\",  1", "\"c\",  3"},
       nullptr},
      {"fewer records than the header", [] { auto t = table({" a     1", " c     3"}); t.count = 3; return t.bytes(); }(),
       {"\"a\",  1", "\"c\",  3"}, "               Found 2, expecting 3."},
      {"padding after the descriptors",
       [] { auto t = table({" a     1"}); t.afterTerminator = "\0\0"s; return t.bytes(); }(), {"\"a\",  1"}, nullptr},
      {"bytes beyond the fields",
       [] { auto t = table({" a     1zz", " b     2zz"}); t.recordLength = 10; return t.bytes(); }(),
       {"\"a\",  1", "\"b\",  2"}, nullptr},
      {"descriptors ended by a line feed",
       ogr2ogrTable([](std::string& b, std::size_t header, std::size_t) { b[header - 1] = '\n'; }),
       {"\"three\"", "\"one\""}, "1 DBF Fields (Name [#/Type/Length]): kind [1/C/80]",
       {"kind (String) = three", "kind (String) = one"}},
      {"texts padded with zero bytes",
       ogr2ogrTable([](std::string& b, std::size_t header, std::size_t record) {
         b.replace(header + 1 + 5, 75, 75, '\0');         // "three", then zeros to the field's end
         b.replace(header + record + 1 + 3, 6, 6, '\0');  // "one", six zeros, then blanks
       }),
       {"\"three\"", "\"one\""}, nullptr, {"kind (String) = three", "kind (String) = one"}},
      // Header lengths 98, 360, 98, 98 and 96.
      {"line feed, then a zero byte", descriptorsEndedBy("\n", "\0"s), twoRecords, twoFields, twoRecordsByOgrinfo},
      {"Visual FoxPro tail after a line feed", descriptorsEndedBy("\n", std::string(263, '\0')), twoRecords,
       twoFields, twoRecordsByOgrinfo},
      {"two zero bytes", descriptorsEndedBy("\0"s, "\0"s), twoRecords, twoFields, twoRecordsByOgrinfo},
      {"line feed, then a carriage return", descriptorsEndedBy("\n", "\r"), twoRecords, twoFields,
       twoRecordsByOgrinfo},
      {"no terminator", descriptorsEndedBy("", ""), twoRecords, twoFields, twoRecordsByOgrinfo},
      {"numbers padded with zero bytes",
       table({" 1.500" + std::string(7, '\0'), " " + std::string(12, '\0'), " " + std::string(12, ' '),
              " " + std::string(6, ' ') + "-2.25\0"s},
             {{"V", 'N', 12, 3}})
           .bytes(),
       {"1.500", "", "", "      -2.25"}, nullptr,
       {"V (Real) = 1.500", "V (Real) = (null)", "V (Real) = (null)", "V (Real) = -2.250"}},
  };
  const bool ogrinfo = test::haveCommand("ogrinfo");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeFile(dir / "t.dbf", c.bytes);
    con.clear();
    EXPECT_EQ(readTable("t.dbf"), c.records);
    if (c.consoleLine) {
      EXPECT_TRUE(hasLine(con.lines(), c.consoleLine)) << con.text();
    }
    EXPECT_EQ(con.text().find("WARNING 0405") != std::string::npos, std::string(c.name).starts_with("fewer"));
    if (ogrinfo && !c.ogrinfo.empty())
      expectInOrder(test::runProgram("ogrinfo", {"-ro", "-al", "-q", "t.dbf"}, dir.path()).output, c.ogrinfo);
  }
}

TEST_F(Dbase, DamagedTablesEndTheRun) {
  auto descriptors = [](int n) {
    std::vector<DbfField> f;
    for (int i = 0; i < n; ++i) f.push_back({"F", 'C', 1});
    return f;
  };
  struct Case {
    const char* name;
    std::string bytes;
    Lines message;
  } cases[] = {
      {"dBASE 7", [] { auto t = table({}); t.version = 4; return t.bytes(); }(),
       {"ERROR 0403 - Reading .dbf file header."}},
      {"129 fields", table({}, descriptors(129)).bytes(), {"ERROR 0401 - Exceeded maximum number of dbf Fields."}},
      {"length 0", table({}, {{"A", 'C', 0}}).bytes(),
       {"ERROR 0402 - dbf field length of 0 is outside allowable range of 1 to 255."}},
      {"no fields", table({}, {}).bytes(), {"ERROR 0319 - No attributes specified in .dbf file."}},
      {"cut in the header", table({}).bytes().substr(0, 40),
       {"ERROR 0404 - End of .dbf file encountered whilst reading header."}},
      {"header length too short", [] { auto t = table({}); t.headerLength = 63; return t.bytes(); }(),
       {"ERROR 0403 - Reading .dbf file header."}},
      {"record length too short", [] { auto t = table({}); t.recordLength = 5; return t.bytes(); }(),
       {"ERROR 0403 - Reading .dbf file header."}},
      {"unknown flag", table({"Aa     1"}).bytes(),
       {"ERROR 0406 - Unrecognised record identifier found in .dbf file.", "Character = A [65]",
        "Data line thus far ="}},
      {"cut in a record", [] { auto t = table({" a  "}); t.endMarker = false; return t.bytes(); }(),
       {"ERROR 0408 - End of .dbf file encountered whilst reading record."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::writeFile(dir / "t.dbf", c.bytes);
    con.clear();
    EXPECT_THROW(readTable("t.dbf"), test::StopCalled);
    const Lines lines = con.lines();
    auto at = std::find(lines.begin(), lines.end(), c.message[0]);
    ASSERT_NE(at, lines.end()) << con.text();
    EXPECT_EQ(Lines(at, at + static_cast<long>(std::min(c.message.size(), static_cast<std::size_t>(lines.end() - at)))),
              c.message);
  }
}

}  // namespace
}  // namespace quenzel
