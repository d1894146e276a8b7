// Stand-ins for the shapefile object readers and the dBASE record reader
// until their modules land: reading a layer is not available yet and
// ends the run through the layer module's internal check.
#include "gis/workers_pending.h"

namespace quenzel {

void shpReadHeader(int, int&, int&, int&, int&, double&, double&, double&, double&) {
  gisInternalCheck("shpReadHeader not available");
}

bool shpObjectType(int, int&, gisObject&) { gisInternalCheck("shpObjectType not available"); }

bool shpReadObject(int, int, gisObject&, OneBasedView<double>, OneBasedView<double>, int, int&, bool) {
  gisInternalCheck("shpReadObject not available");
}

void dbfReadHeader(DbfFile&) { gisInternalCheck("dbfReadHeader not available"); }

void dbfReadRecord(DbfFile&, bool&, std::string&) { gisInternalCheck("dbfReadRecord not available"); }

}  // namespace quenzel
