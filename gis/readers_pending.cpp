// Stand-ins for the MIF and shapefile object readers and the dBASE record
// reader until their modules land: reading a layer is not available yet and
// ends the run through the layer module's internal check.
#include "gis/workers_pending.h"

namespace quenzel {

bool mifObjectType(int, std::string&, std::string&, gisObject&) { gisInternalCheck("mifObjectType not available"); }

bool mifReadObject(int, std::string&, gisObject&, OneBasedView<double>, OneBasedView<double>, int, int&, bool&,
                   double&, double&, bool) {
  gisInternalCheck("mifReadObject not available");
}

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
