// Module start-up with and without workspace files, the tracking of input
// layers with its workspace and list lines, and the older workspace route.
#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform.h"
#include "gis/gis_data.h"
#include "gis/input_layers.h"
#include "layer_fixture.h"

namespace quenzel {
namespace {

using Lines = std::vector<std::string>;

const std::string kWorkspaceHead =
    "!Workspace\n!Version 600\n!Charset WindowsLatin1\n!Contains GIS input layers from VARNOK simulation quenzel\n";
const std::string kListHead =
    "Version 300\nCharset \"WindowsLatin1\"\nDelimiter \",\"\nColumns 3\n  ID Integer\n  Open_ID Integer\n"
    "  Layer Char(254)\nData\n\n";

class InputLayers : public LayerModuleTest {
 protected:
  std::string full(const std::string& name) { return platform::fullPath(name); }
  Lines folderFiles() const {
    Lines files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) files.push_back(e.path().filename());
    std::sort(files.begin(), files.end());
    return files;
  }
};

TEST_F(InputLayers, StartWithoutNamesWritesNothingAndResetsEverything) {
  // Opened before the checks are set: its empty .mif would fail them.
  openInput("a.mif");
  m.gisSaveDateCheck = m.gisSaveDateError = m.gisProjectionCheckError = true;
  m.gisMifProjection = "CoordSys Earth";
  m.gisDefaultTableExt = ".xyz";
  m.gisLogUnit = 5;
  gisAttLine = "a";
  gisMifCoordSys = "CoordSys NonEarth";
  m.mifLayer(1).columnCount = 3;
  m.shpFile(2, 1).xMax = 8.0;
  m.dbfFile(3, 1).fieldName(1) = "F";

  gisInitialise(-1, "quenzel", "", "   ");
  EXPECT_EQ(folderFiles(), (Lines{"a.mid", "a.mif"}));  // only the layer's own
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(m.gisWorkspaceUnits(k), -1);
  EXPECT_EQ(m.gisLogUnit, -1);
  EXPECT_FALSE(m.gisSaveDateCheck || m.gisSaveDateError || m.gisProjectionCheckError);
  EXPECT_EQ(m.gisMifProjection, "");
  EXPECT_EQ(m.gisDefaultTableExt, ".tab");
  EXPECT_EQ(gisAttLine, "");
  EXPECT_EQ(gisMifCoordSys, "CoordSys NonEarth");  // the main program's, not the module's
  EXPECT_FALSE(m.gisLayerOpen(1));
  EXPECT_EQ(m.gisLayerTrackIndex(1), 0);
  EXPECT_EQ(m.gisInputLayerCount, 0);
  EXPECT_EQ(m.mifLayer(1).columnCount, 0);
  EXPECT_EQ(m.shpFile(2, 1).xMax, -1.0);
  EXPECT_EQ(m.dbfFile(3, 1).fieldName(1), "");
  EXPECT_EQ(openInput("b.mif"), 1);
}

TEST_F(InputLayers, WorkspaceAndListLinesForEachNewInputLayer) {
  test::writeFile(dir / "roads.tab", "");
  gisInitialise(-1, "quenzel  ", "  run1", "run1  ");
  EXPECT_GT(m.gisWorkspaceUnits(1), 0);

  struct Open {
    const char* name;
    const char* mode;
    int trackIndex;
  } opens[] = {{"roads.mif", "I ", 1}, {"rivers.mid", "I ", 2}, {"out.mif", "O ", 0},
               {"sites.shp", "I ", 3}, {"plain", "I ", 4},      {"ROADS.mid", "I ", 1}};
  for (const Open& o : opens) {
    SCOPED_TRACE(o.name);
    if (o.mode[0] == 'I') makeLayerFiles(o.name);
    const int id = gisOpenLayer(o.name, "", o.mode, false);
    EXPECT_EQ(m.gisLayerTrackIndex(id), o.trackIndex);
  }
  gisCloseInputLayerFiles();
  for (int k = 1; k <= 3; ++k) EXPECT_EQ(m.gisWorkspaceUnits(k), 0);
  EXPECT_EQ(m.gisInputLayerCount, 4);

  EXPECT_EQ(test::readFile(dir / "run1.wor"),
            kWorkspaceHead + "Open Table \"" + full("roads.tab") + "\"\n" +
                "! .mif/.mid Layer with no .tab Layer \"" + full("rivers.mid") + "\"\n" +
                "! Non-MapInfo .tab Layer \"" + full("sites.shp") + "\"\n" + "! Non-MapInfo .tab Layer \"" +
                full("plain") + "\"\n");
  EXPECT_EQ(test::readFile(dir / "run1_input_layers.mif"), kListHead + "none\nnone\nnone\nnone\n");
  EXPECT_EQ(test::readFile(dir / "run1_input_layers.mid"),
            "    1,    1, \"" + full("roads.mif") + "\"\n" + "    2,    2, \"" + full("rivers.mid") + "\"\n" +
                "    3,    4, \"" + full("sites.shp") + "\"\n" + "    4,    5, \"" + full("plain") + "\"\n");
}

TEST_F(InputLayers, EachNameAloneWritesOnlyItsFiles) {
  gisInitialise(-1, "quenzel", "ws", "");
  EXPECT_EQ(m.gisWorkspaceUnits(2), -1);
  EXPECT_EQ(m.gisWorkspaceUnits(3), -1);
  gisCloseInputLayerFiles();
  gisInitialise(-1, "quenzel", "", "list");
  EXPECT_EQ(m.gisWorkspaceUnits(1), -1);
  gisCloseInputLayerFiles();
  EXPECT_EQ(folderFiles(), (Lines{"list_input_layers.mid", "list_input_layers.mif", "ws.wor"}));
  EXPECT_EQ(test::readFile(dir / "ws.wor"), kWorkspaceHead);
  EXPECT_EQ(test::readFile(dir / "list_input_layers.mif"), kListHead);
  EXPECT_EQ(test::readFile(dir / "list_input_layers.mid"), "");
}

TEST_F(InputLayers, SecondStartClosesTheFilesOfTheFirst) {
  gisInitialise(-1, "quenzel", "first", "first");
  const int wor = m.gisWorkspaceUnits(1);
  openInput("a.mif");
  gisInitialise(-1, "quenzel", "", "");
  EXPECT_FALSE(unitIsOpen(wor));
  EXPECT_EQ(test::readFile(dir / "first.wor"),
            kWorkspaceHead + "! .mif/.mid Layer with no .tab Layer \"" + full("a.mif") + "\"\n");
  EXPECT_EQ(test::readFile(dir / "first_input_layers.mid"), "    1,    1, \"" + full("a.mif") + "\"\n");
}

TEST_F(InputLayers, SameFileBySpellingCaseOrExtensionIsTrackedOnce) {
  std::filesystem::create_directory(dir / "sub");
  const char* names[] = {"Roads.mif", "ROADS.MID", "roads.shp", "sub/../roads", "./sub/../ROADS.mif"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    int id = openInput(name);
    EXPECT_EQ(m.gisLayerTrackIndex(id), 1);
    gisCloseLayer(id);
  }
  EXPECT_EQ(m.gisInputLayerCount, 1);
  // The stored entry is the first spelling, as a full path without extension.
  EXPECT_EQ(m.gisInputLayers(1), full("Roads"));
  int other = openInput((dir / "sub" / "roads.mif").string());
  EXPECT_EQ(m.gisLayerTrackIndex(other), 2);
}

TEST_F(InputLayers, TrackingLimitWarnsWithoutBlankLine) {
  gisInitialise(-1, "quenzel", "", "lim");
  for (int i = 1; i <= 999; ++i) {
    int id = openInput("f" + std::to_string(i) + ".mif");
    ASSERT_EQ(m.gisLayerTrackIndex(id), i);
    gisCloseLayer(id);
  }
  for (int i : {1000, 1001}) {
    con.clear();
    int id = openInput("f" + std::to_string(i) + ".mif");
    EXPECT_EQ(withoutUnitLines(con.lines()),
              (Lines{"Opening GIS Layer: f" + std::to_string(i) + ".mif", "GIS Layer assigned ID of 1",
                     "WARNING 0317 - Exceeded limit of input GIS layers that can be tracked (layer "
                     "referencing may not be complete)."}));
    EXPECT_EQ(m.gisLayerTrackIndex(id), 1000);
    EXPECT_EQ(m.gisInputLayerCount, 1000);
    gisCloseLayer(id);
  }
  EXPECT_EQ(m.gisInputLayers(1000), "");
  // A file tracked before the overflow still finds its entry.
  int id = openInput("F7.MIF");
  EXPECT_EQ(m.gisLayerTrackIndex(id), 7);
  gisCloseInputLayerFiles();
  const Lines records = test::splitLines(test::readFile(dir / "lim_input_layers.mid"));
  ASSERT_EQ(records.size(), 1001u);
  EXPECT_EQ(records[999], " 1000,    1, \"" + full("f1000.mif") + "\"");
  EXPECT_EQ(records[1000], " 1000,    1, \"" + full("f1001.mif") + "\"");
}

TEST_F(InputLayers, OlderWorkspaceRouteListsTablesUpToItsLimit) {
  int wor = 0;
  OPENFILE(wor, "O ", "old.wor");
  OneBased<std::string> tables(3);
  int count = 0;
  miWorkspaceOpenTable(-1, "a.tab", 0, tables.view(), count, 3);
  EXPECT_EQ(count, 0);
  con.clear();
  for (const char* name : {"a.tab", "b.mif", "a.mid", "A.tab", "c.tab"}) {
    SCOPED_TRACE(name);
    miWorkspaceOpenTable(-1, name, wor, tables.view(), count, 3);
  }
  // "a" twice is one table; "A" is another, the third, which meets the
  // limit; "c" then takes the last entry again.
  const std::string warning =
      "WARNING 0317 - Exceeded limit of input layers for MI workspace (.wor may not be complete)";
  EXPECT_EQ(con.lines(), (Lines{warning, warning}));
  EXPECT_EQ(count, 3);
  EXPECT_EQ(tables(1), "a");
  EXPECT_EQ(tables(2), "b");
  EXPECT_EQ(tables(3), "c");
  CLOSER(wor);
  EXPECT_EQ(test::readFile(dir / "old.wor"),
            "Open Table \"a\"\nOpen Table \"b\"\nOpen Table \"A\"\nOpen Table \"c\"\n");

  // A limit beyond the caller's list stays inside it.
  OPENFILE(wor, "O ", "old2.wor");
  OneBased<std::string> small(1);
  count = 0;
  con.clear();
  miWorkspaceOpenTable(-1, "x.tab", wor, small.view(), count, 50);
  miWorkspaceOpenTable(-1, "y.tab", wor, small.view(), count, 50);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(small(1), "y");
}

}  // namespace
}  // namespace quenzel
