#include "gis/object_record.h"

#include <cmath>
#include <numbers>

#include "common/geometry.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/dbase.h"
#include "gis/layer_table.h"
#include "gis/mif_reader.h"
#include "gis/shapefile.h"

namespace quenzel {
namespace {

// ATAN2D: degrees, computed in double and kept in single.
float directionDegrees(double dy, double dx) {
  return static_cast<float>(std::atan2(dy, dx) * (180.0 / std::numbers::pi));
}

}  // namespace

void polylineLabel(OneBasedView<const double> X, OneBasedView<const double> Y, int n, double& xLabel,
                   double& yLabel, float& angle, float& length) {
  if (n < 1) return;
  float total = 0.0f;
  for (int i = 2; i <= n; ++i) total += DISTANCE_8(X(i - 1), Y(i - 1), X(i), Y(i));
  length = total;
  if (n < 2 || total == 0.0f) {
    xLabel = X(1);
    yLabel = Y(1);
    angle = 0.0f;
    return;
  }
  const float half = total * 0.5f;
  // Segment i runs from vertex i-1 to vertex i. The walk stops at the last
  // segment even when single-precision sums leave half a hair beyond it.
  int i = 2;
  float acc = 0.0f;
  float segment = DISTANCE_8(X(1), Y(1), X(2), Y(2));
  while (i < n && half > acc + segment) {
    acc += segment;
    ++i;
    segment = DISTANCE_8(X(i - 1), Y(i - 1), X(i), Y(i));
  }
  const float t = segment > 0.0f ? (half - acc) / segment : 0.0f;
  xLabel = X(i - 1) + (X(i) - X(i - 1)) * t;
  yLabel = Y(i - 1) + (Y(i) - Y(i - 1)) * t;
  angle = directionDegrees(Y(i) - Y(i - 1), X(i) - X(i - 1));
}

void segmentLabel(OneBasedView<const double> X, OneBasedView<const double> Y, double& xLabel, double& yLabel,
                  float& angle, float& length) {
  xLabel = (X(1) + X(2)) * 0.5;
  yLabel = (Y(1) + Y(2)) * 0.5;
  angle = directionDegrees(Y(2) - Y(1), X(2) - X(1));
  length = DISTANCE_8(X(1), Y(1), X(2), Y(2));
}

void regionMeanLabel(OneBasedView<const double> X, OneBasedView<const double> Y, int n, double& xLabel,
                     double& yLabel) {
  if (n < 1) return;
  if (n <= 2) {
    xLabel = X(1);
    yLabel = Y(1);
    return;
  }
  double sx = 0.0;
  double sy = 0.0;
  for (int i = 1; i <= n - 2; ++i) {
    sx += X(i);
    sy += Y(i);
  }
  xLabel = sx / (n - 2);
  yLabel = sy / (n - 2);
}

void gisInitialiseObject(gisObject& obj) {
  obj.isNone = obj.isPoint = obj.isLine = obj.isPline = obj.isPlineMultiple = obj.isRegion = false;
  obj.isEllipse = obj.isRect = obj.isRoundRect = obj.isSpare = obj.isArc = obj.isCenter = false;
  obj.isText = obj.isMultiPoint = false;
  obj.nsect = 1;
  obj.nr = 1;
  obj.ir(1) = 1;
  obj.gisObjectTypeName.clear();
}

bool gisObjectType(int gisID, gisObject& obj) {
  gisCheckLayerID("gisObjectType", gisID);
  GisLayerModule& m = gisModule();
  gisInitialiseObject(obj);
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      MifLayer& mif = m.mifLayer(gisID);
      const bool found = mifObjectType(mif.mifUnit, mif.currentLine, mif.restOfLine, obj);
      gisLayerEoF(gisID) = unitAtEnd(mif.mifUnit);
      return found;
    }
    case 2: {
      ShpFile& shp = m.shpFile(1, gisID);
      bool found = shpObjectType(shp.shpUnitLE, shp.recordShapeType, obj);
      // A deleted attribute record takes its shape with it, so the records
      // after it stay paired with their shapes.
      while (found && dbfSkipDeletedRecord(m.dbfFile(1, gisID))) {
        shpSkipRecord(shp.shpUnitLE);
        found = !unitAtEnd(shp.shpUnitLE);
        if (found) {
          gisInitialiseObject(obj);
          found = shpObjectType(shp.shpUnitLE, shp.recordShapeType, obj);
        }
      }
      gisLayerEoF(gisID) = unitAtEnd(shp.shpUnitLE);
      return found;
    }
    default:
      gisInternalCheck("gisObjectType");
  }
}

void gisReadRecord(int gisID, const gisObject& obj, std::string& line) {
  gisCheckLayerID("gisReadRecord", gisID);
  GisLayerModule& m = gisModule();
  line.clear();
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      const MifLayer& mif = m.mifLayer(gisID);
      const int mid = mif.midUnit;
      if (readLine(mid, line) != IoStatus::Ok) {
        line.clear();
        gisStop("ERROR 0254 - Failed to read object attribute data record for a " +
                std::string(trimRight(obj.gisObjectTypeName)) + " object in GIS layer.");
      }
      midRecordAsRead(line, mif.delimiter);
      gisLayerEoF(gisID) = unitAtEnd(mid);
      return;
    }
    case 2: {
      DbfFile& dbf = m.dbfFile(1, gisID);
      bool endOfData = false;
      dbfReadRecord(dbf, endOfData, line);
      // A record without vertices (a null shape, no parts, no points) was
      // passed over whole when it was typed, and no coordinate read follows
      // to find the end of the shapes: when it was the last, the layer ends
      // here, though the table still holds its end byte.
      const int shp = m.shpFile(1, gisID).shpUnitLE;
      gisLayerEoF(gisID) = endOfData || unitAtEnd(dbf.dbfUnit) || (shp > 0 && unitAtEnd(shp));
      return;
    }
    default:
      gisInternalCheck("gisReadRecord");
  }
}

void gisReadObject(int gisID, gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y, int maxNodes, int& n,
                   double& xLabel, double& yLabel, float& angle, float& length, bool all) {
  gisCheckLayerID("gisReadObject", gisID);
  GisLayerModule& m = gisModule();
  angle = 0.0f;
  length = 0.0f;
  bool useMean = true;
  bool ok = false;
  switch (m.gisLayerFileType(gisID)) {
    case 1: {
      // A region comes back ring after ring, each followed by a copy of its
      // second vertex, with ir(k) the position of ring k's last file vertex.
      MifLayer& mif = m.mifLayer(gisID);
      ok = mifReadObject(mif.mifUnit, mif.restOfLine, obj, X, Y, maxNodes, n, useMean, xLabel, yLabel, all);
      gisLayerEoF(gisID) = unitAtEnd(mif.mifUnit);
      break;
    }
    case 2: {
      // For a polyline, ir holds the part starts of the record (one part per
      // call); regions come back in the ring layout above.
      ShpFile& shp = m.shpFile(1, gisID);
      ok = shpReadObject(shp.shpUnitLE, shp.recordShapeType, obj, X, Y, maxNodes, n, all);
      gisLayerEoF(gisID) = unitAtEnd(shp.shpUnitLE);
      break;
    }
    default:
      gisInternalCheck("gisReadObject");
  }
  if (!ok)
    gisStop("ERROR 0253 - Failed to read coordinates for a " + std::string(trimRight(obj.gisObjectTypeName)) +
            " object in GIS layer.");
  if (all) gisObjectLabel(obj, X, Y, n, useMean, xLabel, yLabel, angle, length);
}

void gisObjectLabel(const gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y, int& n, bool useMean,
                    double& xLabel, double& yLabel, float& angle, float& length) {
  if (obj.isPoint || obj.isMultiPoint) {
    xLabel = X(1);
    yLabel = Y(1);
    X(2) = X(1);
    Y(2) = Y(1);
  } else if (obj.isLine || obj.isRect || obj.isRoundRect) {
    segmentLabel(X, Y, xLabel, yLabel, angle, length);
  } else if (obj.isArc || obj.isEllipse) {
    n = 0;
  } else if (obj.isPline || obj.isPlineMultiple) {
    polylineLabel(X, Y, n, xLabel, yLabel, angle, length);
  } else if (obj.isRegion) {
    if (useMean) regionMeanLabel(X, Y, n, xLabel, yLabel);
  }
}

}  // namespace quenzel
