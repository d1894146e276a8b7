#pragma once
// Layer-module entry points the main program needs before the module lands.
#include <string_view>

namespace quenzel {

void gisInitialise(int logUnit, std::string_view title, std::string_view workspaceName,
                   std::string_view inputLayersName);

}  // namespace quenzel
