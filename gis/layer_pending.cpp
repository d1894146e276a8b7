#include "gis/layer_pending.h"

namespace quenzel {

void gisInitialise(int, std::string_view, std::string_view, std::string_view) {}

}  // namespace quenzel
