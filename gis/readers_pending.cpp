// Stand-ins for the MIF object readers until their module lands: reading a
// MIF layer is not available yet and ends the run through the layer
// module's internal check.
#include "gis/workers_pending.h"

namespace quenzel {

bool mifObjectType(int, std::string&, std::string&, gisObject&) { gisInternalCheck("mifObjectType not available"); }

bool mifReadObject(int, std::string&, gisObject&, OneBasedView<double>, OneBasedView<double>, int, int&, bool&,
                   double&, double&, bool) {
  gisInternalCheck("mifReadObject not available");
}

}  // namespace quenzel
