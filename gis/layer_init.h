#pragma once
// Start-up of the GIS layer module.
#include <string_view>

namespace quenzel {

// Puts the whole layer module into its starting state: every slot free and
// blank, message and attribute lines blank, projection and save-date checks
// off, the tracking list empty. logUnit > 0: module messages also go there.
// A workspace name writes <name>.wor, an input-layers name the
// <name>_input_layers.mif/.mid pair; blank names write nothing. Files that an
// earlier call opened are closed first.
void gisInitialise(int logUnit, std::string_view title, std::string_view workspaceName,
                   std::string_view inputLayersName);

}  // namespace quenzel
