#pragma once
// A fresh file-unit service and layer module for every test, with the
// console captured and fatal paths turned into exceptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/run_control.h"
#include "common/units.h"
#include "gis/layer_init.h"
#include "gis/layer_table.h"
#include "support/test_support.h"

namespace quenzel {

class LayerModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITUNITS(1000);
    gisInitialise(-1, "test", "", "");
    con.clear();
  }
  void TearDown() override { closeAllUnitsQuietly(); }
  // A fresh module after a stop, as a new run would have.
  void restart() {
    closeAllUnitsQuietly();
    resetBeforeExitHooks();
    INITUNITS(1000);
    gisInitialise(-1, "test", "", "");
  }

  // Makes the empty files that the input layer `name` opens: a shapefile
  // name and its .dbf, else the .mif/.mid pair (a .mif or .mid extension,
  // any case, is replaced; any other name gets both added).
  void makeLayerFiles(const std::string& name) {
    std::string base = name;
    std::string ext = name.size() > 4 ? name.substr(name.size() - 4) : "";
    for (char& c : ext)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (ext == ".mif" || ext == ".mid" || ext == ".shp") base.resize(name.size() - 4);
    const bool shapefile = ext == ".shp";
    test::writeFile(dir / (shapefile ? name : base + ".mif"), "");
    test::writeFile(dir / (base + (shapefile ? ".dbf" : ".mid")), "");
  }

  // Opens a MIF input layer, making its (empty) files first.
  int openInput(const std::string& name) {
    makeLayerFiles(name);
    return gisOpenLayer(name, "", "I ", false);
  }

  GisLayerModule& m = gisModule();
  test::StopGuard stop;
  test::ConsoleCapture con;
  test::TempDir dir;
  // Layers named without a folder land in the test's own folder.
  test::ScopedCwd cwd{dir.path()};
};

inline bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The console lines without those of the file-unit service (each open's
// empty line, "Trying to open file ...", "Opened File Unit:", and closes),
// for tests about the layer module's own lines.
inline std::vector<std::string> withoutUnitLines(const std::vector<std::string>& lines) {
  std::vector<std::string> kept;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& l = lines[k];
    if (l.starts_with("Trying to open file") || l.starts_with("Opened File Unit:") ||
        l.starts_with("...Closed File Unit:"))
      continue;
    if (l.empty() && k + 1 < lines.size() && lines[k + 1].starts_with("Trying to open file")) continue;
    kept.push_back(l);
  }
  return kept;
}

inline const std::string kContact = " - please contact support@quenzel.dev.";

}  // namespace quenzel
