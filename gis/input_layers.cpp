#include "gis/input_layers.h"

#include <algorithm>

#include "common/console.h"
#include "common/constants.h"
#include "common/fortran_format.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"

namespace quenzel {
namespace {

constexpr int kWorkspace = 1;
constexpr int kListMif = 2;
constexpr int kListMid = 3;

// The full path of the layer's file without its extension: what tells two
// input layers apart, whatever spelling or extension the caller used.
std::string trackedPath(std::string_view fileName) {
  const std::string given = TRIMF(fileName);
  std::string full = platform::fullPath(given);
  if (full.empty()) full = given;
  return std::string(trimRight(FILENAMEPATH(full)));
}

std::string workspaceLine(const std::string& path, const std::string& ext) {
  if (ext.compare(0, 3, ".mi") == 0) {
    if (platform::fileExists(path + ".tab")) return "Open Table \"" + path + ".tab\"";
    return "! .mif/.mid Layer with no .tab Layer \"" + path + ext + "\"";
  }
  return "! Non-MapInfo .tab Layer \"" + path + ext + "\"";
}

}  // namespace

void gisTrackInputLayer(std::string_view fileName, int gisID) {
  GisLayerModule& m = gisModule();
  const std::string path = trackedPath(fileName);
  const std::string ext(trimRight(cutTo(FILEEXT(fileName), 16)));

  for (int k = 1; k <= m.gisInputLayerCount; ++k) {
    if (ASAME(m.gisInputLayers(k), path)) {
      m.gisLayerTrackIndex(gisID) = k;
      return;
    }
  }

  ++m.gisInputLayerCount;
  if (m.gisInputLayerCount < gisMaxInputLayers) {
    m.gisInputLayers(m.gisInputLayerCount) = path;
    const int wor = m.gisWorkspaceUnits(kWorkspace);
    if (wor > 0) writeLine(wor, workspaceLine(path, ext));
  } else {
    setGisMessageLine(1,
                      "WARNING 0317 - Exceeded limit of input GIS layers that can be tracked (layer referencing "
                      "may not be complete).");
    gisWriteMessage(0);
    m.gisInputLayerCount = gisMaxInputLayers;
  }
  m.gisLayerTrackIndex(gisID) = m.gisInputLayerCount;

  if (m.gisWorkspaceUnits(kListMif) > 0) {
    writeLine(m.gisWorkspaceUnits(kListMif), "none");
    std::string record = formatI(m.gisInputLayerCount, 5) + "," + formatI(gisID, 5) + ", \"" + path + ext + "\"";
    writeLine(m.gisWorkspaceUnits(kListMid), record);
  }
}

void gisOpenWorkspaceFiles(std::string_view title, std::string_view workspaceName,
                           std::string_view inputLayersName) {
  GisLayerModule& m = gisModule();
  if (isAllBlank(workspaceName)) {
    m.gisWorkspaceUnits(kWorkspace) = -1;
  } else {
    int& wor = m.gisWorkspaceUnits(kWorkspace);
    OPENFILE(wor, "O ", std::string(trimRight(workspaceName)) + ".wor");
    writeLine(wor, "!Workspace");
    writeLine(wor, "!Version 600");
    writeLine(wor, "!Charset WindowsLatin1");
    writeLine(wor, "!Contains GIS input layers from VARNOK simulation " + std::string(trimRight(title)));
  }

  if (isAllBlank(inputLayersName)) {
    m.gisWorkspaceUnits(kListMif) = -1;
    m.gisWorkspaceUnits(kListMid) = -1;
    return;
  }
  const std::string base(trimRight(inputLayersName));
  int& mif = m.gisWorkspaceUnits(kListMif);
  OPENFILE(mif, "O ", base + "_input_layers.mif");
  OPENFILE(m.gisWorkspaceUnits(kListMid), "O ", base + "_input_layers.mid");
  for (std::string_view line : kMifHeaderTop) writeLine(mif, line);
  for (std::string_view line : {"Columns 3", "  ID Integer", "  Open_ID Integer", "  Layer Char(254)", "Data", ""})
    writeLine(mif, line);
}

void gisCloseInputLayerFiles() {
  GisLayerModule& m = gisModule();
  if (m.gisWorkspaceUnits(kWorkspace) > 0) CLOSER(m.gisWorkspaceUnits(kWorkspace));
  if (m.gisWorkspaceUnits(kListMif) > 0) {
    CLOSER(m.gisWorkspaceUnits(kListMif));
    if (m.gisWorkspaceUnits(kListMid) > 0) CLOSER(m.gisWorkspaceUnits(kListMid));
  }
}

void miWorkspaceOpenTable(int logUnit, std::string_view name, int worUnit, OneBasedView<std::string> tableList,
                          int& tableCount, int tableLimit) {
  if (worUnit <= 0) return;
  const std::string path = cutTo(FILENAMEPATH(name), kNameWidth);
  // The list the caller gave is the real limit: a larger limit or count
  // must not reach past it.
  const int size = static_cast<int>(tableList.size());
  const int limit = std::min(tableLimit, size);
  for (int k = 1; k <= std::min(tableCount, size); ++k)
    if (trimRight(tableList(k)) == path) return;

  ++tableCount;
  if (tableCount >= limit) {
    const std::string warning =
        "WARNING 0317 - Exceeded limit of input layers for MI workspace (.wor may not be complete)";
    console::line(warning);
    if (logUnit > 0) writeLine(logUnit, warning);
    tableCount = std::max(limit, 0);
  }
  if (tableCount >= 1) tableList(tableCount) = path;
  writeLine(worUnit, "Open Table \"" + path + "\"");
}

}  // namespace quenzel
