// The layer table: opening on the lowest free slot, file types, modes and
// shape letters, closing, the ID checks, the message writer and the
// finishing of output layers at an early end.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/console_exit.h"
#include "common/run_control.h"
#include "gis/object_record.h"
#include "gis/write_protocol.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

using namespace std::string_literals;

using Lines = std::vector<std::string>;

class LayerTable : public LayerModuleTest {};

TEST_F(LayerTable, OpenTakesLowestFreeSlotAndCloseFreesIt) {
  EXPECT_EQ(openInput("a.mif"), 1);
  EXPECT_EQ(withoutUnitLines(con.lines()), (Lines{"Opening GIS Layer: a.mif", "GIS Layer assigned ID of 1"}));
  int b = gisOpenLayer("b.mif", "", "O ", false);
  EXPECT_EQ(openInput("c.mif"), 3);
  EXPECT_EQ(b, 2);
  EXPECT_TRUE(m.gisLayerOpen(2));
  EXPECT_TRUE(m.gisLayerOutput(2));
  EXPECT_EQ(m.gisLayerName(2), "b.mif");

  con.clear();
  gisCloseLayer(b);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(withoutUnitLines(con.lines()), (Lines{"", "Closing GIS Layer 2 [b.mif]..."}));
  EXPECT_FALSE(m.gisLayerOpen(2));
  EXPECT_FALSE(m.gisLayerOutput(2));
  EXPECT_TRUE(gisLayerEoF(2));
  EXPECT_EQ(m.gisLayerFileType(2), 0);
  // An output layer's pair is created, and closing it adds nothing.
  for (const char* file : {"b.mif", "b.mid"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
    EXPECT_EQ(test::readFile(dir / file), "") << file;
  }

  // The freed slot is the lowest free one; it comes back reset.
  EXPECT_EQ(openInput("d.mif"), 2);
  EXPECT_FALSE(gisLayerEoF(2));
  EXPECT_FALSE(m.gisLayerOutput(2));
  EXPECT_EQ(m.gisLayerName(2), "d.mif");
}

TEST_F(LayerTable, HundredLayersOpenThenError0251) {
  for (int i = 1; i <= 100; ++i) ASSERT_EQ(openInput("layer" + std::to_string(i) + ".mif"), i);
  con.clear();
  EXPECT_THROW(gisOpenLayer("one_more.mif", "", "I ", false), test::StopCalled);
  const Lines lines = con.lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Opening GIS Layer: one_more.mif");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "ERROR 0251 - Cannot have more than 100 GIS layers open at once.");
}

TEST_F(LayerTable, FileTypeByExtension) {
  struct Case {
    const char* ext;
    bool attributesOnly;
    int type;
  } cases[] = {{".mif", false, 1}, {".mid", false, 1}, {"", false, 1},   {".shp", false, 2},
               {".shp", true, 2},  {".dbf", true, 2},  {".csv", true, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    EXPECT_EQ(gisFileType(c.ext, c.attributesOnly), c.type);
  }
  for (const char* ext : {".dbf", ".csv", ".tab", ".MIF"}) {
    SCOPED_TRACE(ext);
    con.clear();
    EXPECT_THROW(gisFileType(ext, false), test::StopCalled);
    EXPECT_EQ(con.lines()[1], std::string("ERROR 0252 - ") + ext + " is not a supported GIS file format.");
  }
}

TEST_F(LayerTable, OpenTypesByNameWhateverItsCase) {
  EXPECT_EQ(m.gisLayerFileType(openInput("ROADS.MIF")), 1);
  EXPECT_EQ(m.gisLayerFileType(openInput("roads")), 1);
  EXPECT_EQ(m.gisLayerFileType(openInput("Roads.Shp")), 2);
  con.clear();
  EXPECT_THROW(gisOpenLayer("roads.dbf", "", "I ", false), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "ERROR 0252 - .dbf is not a supported GIS file format."));
  EXPECT_FALSE(m.gisLayerOpen(4));
}

TEST_F(LayerTable, CsvAttributeTableReadsAsMidLines) {
  test::writeFile(dir / "table.csv", "1,\"a\"\n2,\"b\"\n");
  const int id = gisOpenLayer((dir / "table.csv").string(), "", "I ", true);
  EXPECT_EQ(m.gisLayerFileType(id), 1);
  EXPECT_EQ(m.mifLayer(id).mifUnit, 0);
  ASSERT_GT(m.mifLayer(id).midUnit, 0);
  gisObject obj;
  std::string line = "old";
  gisReadRecord(id, obj, line);
  EXPECT_EQ(line, "1,\"a\"");
  EXPECT_FALSE(gisLayerEoF(id));
  gisReadRecord(id, obj, line);
  EXPECT_EQ(line, "2,\"b\"");
  EXPECT_TRUE(gisLayerEoF(id));
}

TEST_F(LayerTable, ModeOtherThanInputOrOutputStops) {
  EXPECT_THROW(gisOpenLayer("a.mif", "", "A ", false), test::StopCalled);
  const Lines lines = con.lines();
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "Should not be here [OpenGIS]" + kContact);
}

TEST_F(LayerTable, ShapeLettersChooseTheOutputSets) {
  struct Case {
    const char* letters;
    int types[3];
  } cases[] = {{"PL", {1, 3, 0}}, {"pl", {1, 3, 0}}, {"R  ", {0, 0, 5}}, {"rLp", {1, 3, 5}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.letters);
    int id = gisOpenLayer("out.shp", c.letters, "O ", false);
    for (int k = 1; k <= 3; ++k) EXPECT_EQ(m.shpFile(k, id).shapeType, c.types[k - 1]);
    gisCloseLayer(id);
  }
  con.clear();
  EXPECT_THROW(gisOpenLayer("out.shp", "PX", "O ", false), test::StopCalled);
  EXPECT_EQ(m.shpFile(1, 1).shapeType, 1);
  // The check follows the opening of the point set without an empty line.
  EXPECT_EQ(withoutUnitLines(con.lines()),
            (Lines{"Opening GIS Layer: out.shp", "GIS Layer assigned ID of 1",
                   "Should not be here [OpenshpFileType]" + kContact, "", "Press Enter to Close"}));
}

TEST_F(LayerTable, CloseWithBadIdReportsAndGoesOn) {
  int open = openInput("a.mif");
  int closed = openInput("b.mif");
  gisCloseLayer(closed);
  for (int id : {0, -3, 101, 2}) {
    SCOPED_TRACE(id);
    con.clear();
    int given = id;
    gisCloseLayer(given);
    EXPECT_EQ(given, id);
    EXPECT_EQ(con.lines(),
              (Lines{"SOFTWARE CHECK - Trying to close a GIS Layer that's not open.  Please contact "
                     "support@quenzel.dev."}));
  }
  EXPECT_TRUE(m.gisLayerOpen(open));
}

TEST_F(LayerTable, CloseAllLayersClosesEachOpenOne) {
  bool any = true;
  gisCloseAllLayers(any);
  EXPECT_FALSE(any);
  EXPECT_EQ(con.lines(), (Lines{"", "Closing any unclosed GIS layers...", ""}));

  for (int i = 1; i <= 5; ++i) openInput("l" + std::to_string(i) + ".mif");
  for (int id : {1, 3, 4}) gisCloseLayer(id);
  con.clear();
  gisCloseAllLayers(any);
  EXPECT_TRUE(any);
  EXPECT_EQ(withoutUnitLines(con.lines()), (Lines{"", "Closing any unclosed GIS layers...", "",
                                                  "Closing GIS Layer 2 [l2.mif]...", "",
                                                  "Closing GIS Layer 5 [l5.mif]...", ""}));
  for (int id = 1; id <= 5; ++id) EXPECT_FALSE(m.gisLayerOpen(id));
}

// Every routine that takes a layer ID refuses one outside 1..100 or of a
// closed slot, naming the ID it was given (IDs below 1 show as 0), and a
// slot of a file type it cannot handle.
TEST_F(LayerTable, LayerIdAndFileTypeChecks) {
  gisObject obj;
  std::string line;
  OneBased<double> x(10, 0.0), y(10, 0.0);
  int n = 0;
  double xl = 0, yl = 0;
  float angle = 0, length = 0;
  const std::vector<std::pair<std::string, std::function<void(int)>>> routines = {
      {"gisObjectType", [&](int id) { gisObjectType(id, obj); }},
      {"gisReadRecord", [&](int id) { gisReadRecord(id, obj, line); }},
      {"gisReadObject",
       [&](int id) { gisReadObject(id, obj, x.view(), y.view(), 10, n, xl, yl, angle, length, true); }},
      {"gisWriteHeader", [&](int id) { gisWriteHeader(id); }},
      {"gisWriteObject", [&](int id) { gisWriteObject(id, obj); }},
      {"gisWriteRecord", [&](int id) { gisWriteRecord(id, obj); }},
      {"gisWriteRecordLarge", [&](int id) { gisWriteRecordLarge(id, obj); }},
  };
  int closed = openInput("closed.mif");
  gisCloseLayer(closed);  // slot 1
  const int odd = openInput("odd.mif");
  ASSERT_EQ(odd, 1);
  const int free = 2;
  m.gisLayerFileType(odd) = 7;
  obj.isPoint = true;

  for (const auto& [name, call] : routines) {
    for (auto [id, shown] : {std::pair{0, "0"}, {-7, "0"}, {101, "101"}, {free, "2"}}) {
      SCOPED_TRACE(name + " " + std::to_string(id));
      con.clear();
      EXPECT_THROW(call(id), test::StopCalled);
      EXPECT_EQ(con.lines()[0], "Should not be here " + name + "[gisID=" + shown + "]" + kContact);
    }
    SCOPED_TRACE(name + " file type");
    con.clear();
    EXPECT_THROW(call(odd), test::StopCalled);
    EXPECT_EQ(con.lines()[0], "");
    EXPECT_EQ(con.lines()[1], "Should not be here [" + name + "]" + kContact);
  }

  // The reset of a slot comes before it is marked open.
  EXPECT_NO_THROW(gisInitialiseLayer(free));
  for (auto [id, shown] : {std::pair{0, "0"}, {101, "101"}}) {
    con.clear();
    EXPECT_THROW(gisInitialiseLayer(id), test::StopCalled);
    EXPECT_EQ(con.lines()[0], std::string("Should not be here gisInitialiseLayer[gisID=") + shown + "]" + kContact);
  }

  con.clear();
  int id = odd;
  EXPECT_THROW(gisCloseLayer(id), test::StopCalled);
  EXPECT_TRUE(hasLine(con.lines(), "Should not be here [gisCloseLayer]" + kContact));
}

TEST_F(LayerTable, WriteMessageLinesAndBlankLines) {
  setGisMessageLine(1, "");
  setGisMessageLine(3, "third   ");
  gisWriteMessage(1);
  EXPECT_EQ(con.lines(), (Lines{"", "", "third"}));

  // Lines 2 to 4 do not outlive their message.
  con.clear();
  setGisMessageLine(1, "ERROR 9999 - next");
  gisWriteMessage(0);
  gisWriteMessage(-2);
  EXPECT_EQ(con.lines(), (Lines{"ERROR 9999 - next", "ERROR 9999 - next"}));

  int log = 0;
  OPENFILE(log, "O ", (dir / "gis.log").string());
  m.gisLogUnit = log;
  con.clear();
  setGisMessageLine(1, "WARNING 0001 - one");
  setGisMessageLine(2, "  two");
  gisWriteMessage(2);
  EXPECT_EQ(con.lines(), (Lines{"", "", "WARNING 0001 - one", "  two"}));
  m.gisLogUnit = 0;
  CLOSER(log);
  EXPECT_EQ(test::readFile(dir / "gis.log"), "\n\nWARNING 0001 - one\n  two\n");
}

// The end of a run finishes open output layers without a line for the
// closes; a failure while finishing still reports. Control bytes of a
// record reach the .mid as blanks, whoever wrote them.
TEST_F(LayerTable, EarlyEndFinishesOpenOutputLayersSilently) {
  test::writeFile(dir / "in.mif", "Version 300\n");
  test::writeFile(dir / "in.mid", "");
  const int input = gisOpenLayer("in.mif", "", "I ", false);
  const int output = gisOpenLayer("out.mif", "", "O ", false);
  gisAttLine = "7,\"s\0e\r\nv\te\x1f" "n\",\"\x01\""s;
  gisObject obj;
  obj.gisObjectTypeName = "Pline";
  gisWriteRecord(output, obj);
  con.clear();

  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_EQ(con.text(), "\nPress Enter to Close\n");
  EXPECT_FALSE(m.gisLayerOpen(output));
  EXPECT_TRUE(m.gisLayerOpen(input));
  EXPECT_EQ(test::readFile(dir / "out.mid"), "7,\"s e  v\te n\",\" \"\n");

  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  INITUNITS(1000);
  resetBeforeExitHooks();
  const int failing = gisOpenLayer("full.mif", "", "O ", false);
  CLOSER(m.mifLayer(failing).midUnit);
  OPENFILE(m.mifLayer(failing).midUnit, "O ", "/dev/full");
  gisWriteRecord(failing, obj);
  con.clear();
  EXPECT_THROW(EXITS(), test::StopCalled);
  EXPECT_EQ(con.text(),
            "\nERROR 0254 - Failed to write attribute data record for a Pline object in GIS layer.\n"
            "\nPress Enter to Close\n");
}

}  // namespace
}  // namespace quenzel
