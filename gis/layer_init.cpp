#include "gis/layer_init.h"

#include "common/run_control.h"
#include "gis/gis_data.h"
#include "gis/input_layers.h"
#include "gis/layer_table.h"

namespace quenzel {
namespace {

// The end-of-run hook goes in once per process, however often the module is
// started again.
bool& hookRegistered() {
  static bool registered = false;
  return registered;
}

}  // namespace

void gisInitialise(int logUnit, std::string_view title, std::string_view workspaceName,
                   std::string_view inputLayersName) {
  GisLayerModule& m = gisModule();
  gisAttLine.clear();
  gisAttLineLarge.clear();
  m.gisLogUnit = logUnit;
  m.gisMessageLine.fill(std::string());

  m.gisLayerOpen.fill(false);
  m.gisLayerTrackIndex.fill(0);
  // Every slot as a layer opened on it finds it: type, name, flags and the
  // MIF, shapefile and dBASE records blank.
  for (int id = 1; id <= gisMaxLayers; ++id) gisInitialiseLayer(id);

  m.gisMifProjection.clear();
  m.gisShpProjection.clear();
  m.gisProjectionCheckError = false;
  m.gisSaveDateCheck = false;
  m.gisSaveDateError = false;
  m.gisDefaultTableExt = ".tab";

  // A second start must not leave the first one's files open on their units.
  gisCloseInputLayerFiles();
  gisOpenWorkspaceFiles(title, workspaceName, inputLayersName);

  m.gisInputLayerCount = 0;
  m.gisInputLayers.fill(std::string());

  if (!hookRegistered()) {
    hookRegistered() = true;
    addBeforeExitHook(gisFinishOutputLayers);
  }
}

}  // namespace quenzel
