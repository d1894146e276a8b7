#include "gis/gis_data.h"

namespace quenzel {

gisObject gisO_;
GisAttributeDefinition gisAttrDef;
int gisNP = 0;
OneBased<double> gisX(gisMaxWriteNodes, 0.0);
OneBased<double> gisY(gisMaxWriteNodes, 0.0);
std::string gisAttLine;
std::string gisAttLineLarge;
std::string gisMifCoordSys;
std::string gisPrjText;

}  // namespace quenzel
