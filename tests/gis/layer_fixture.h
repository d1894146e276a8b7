#pragma once
// A fresh file-unit service and layer module for every test, with the
// console captured and fatal paths turned into exceptions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

  GisLayerModule& m = gisModule();
  test::StopGuard stop;
  test::ConsoleCapture con;
  test::TempDir dir;
};

inline bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

inline const std::string kContact = " - please contact support@quenzel.dev.";

}  // namespace quenzel
