#pragma once
// The list of distinct input layer files the module has opened, and its
// optional outputs: a MapInfo workspace (.wor) that opens each input table,
// and an "_input_layers" MIF/MID pair with one record per tracked file.
#include <string>
#include <string_view>

#include "common/one_based.h"

namespace quenzel {

// Registers the file of input layer gisID (called by gisOpenLayer) and sets
// the slot's track index: one entry per distinct full path without
// extension, compared ignoring case; new entries go to the workspace and the
// list pair when they are open.
void gisTrackInputLayer(std::string_view fileName, int gisID);

// Opens the workspace (name + ".wor") and the list pair (name +
// "_input_layers.mif"/".mid") for the names that are not blank and writes
// their headers; a blank name leaves its units at -1.
void gisOpenWorkspaceFiles(std::string_view title, std::string_view workspaceName,
                           std::string_view inputLayersName);

// Closes the workspace and the list pair; the tracking list is kept.
void gisCloseInputLayerFiles();

// The older route: adds the table of `name` (its path without extension,
// compared exactly) to a caller's list and writes 'Open Table "<path>"' to
// the workspace unit. Nothing happens when worUnit is 0 or less. From the
// tableLimit-th distinct table on, each new table brings WARNING 0317 and
// replaces the last entry.
void miWorkspaceOpenTable(int logUnit, std::string_view name, int worUnit, OneBasedView<std::string> tableList,
                          int& tableCount, int tableLimit);

}  // namespace quenzel
