// Stand-ins for the MIF/MID opener and writers until the MIF layer module
// lands: they open and write nothing, so layers can be opened and closed.
#include "gis/workers_pending.h"

namespace quenzel {

void OpenmifFile(std::string_view, int& mifUnit, int& midUnit, std::string_view, bool) {
  mifUnit = 0;
  midUnit = 0;
}

void mifWriteHeader(const GisAttributeDefinition&, int) {}

void mifWriteObject(gisObject&, int, std::string_view, std::string_view) {}

}  // namespace quenzel
