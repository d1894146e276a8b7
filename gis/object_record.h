#pragma once
// Reading a layer object by object: typing the next object, its attribute
// record, and its coordinates with a label point, an angle and a length.
//
// Calling order: gisOpenLayer (name, "", "I ", false); gisReadHeader; then,
// while gisLayerEoF(id) is false: gisObjectType; when it found an object,
// gisReadRecord, then gisReadObject once (nsect times for a multi-section
// polyline, a multipoint or a shapefile polyline), with all false for an
// object the caller drops.
#include <string>

#include "common/one_based.h"
#include "gis/gis_data.h"

namespace quenzel {

// Clears the type flags and the type name, sets nsect = nr = ir(1) = 1;
// isComplete and ir(2) onward stay.
void gisInitialiseObject(gisObject& obj);

// Clears obj and types the next object of the layer into it; true when an
// object was found.
bool gisObjectType(int gisID, gisObject& obj);

// The attribute record of the current object as one comma-separated line.
// The layer's end is also reached here when the shapes end with an object
// that has no coordinates to read.
void gisReadRecord(int gisID, const gisObject& obj, std::string& line);

// The coordinates of the current object (or of its next section) into
// X(1..n), Y(1..n). With all: the label point, angle (degrees) and length of
// the object as well. Without all the coordinates are passed over, angle
// and length are 0 and the label is left as it was.
void gisReadObject(int gisID, gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y, int maxNodes, int& n,
                   double& xLabel, double& yLabel, float& angle, float& length, bool all);

// The label point, angle and length of an object whose n vertices were just
// read, by its first matching flag:
// - point, multipoint: the point (also copied to X(2), Y(2));
// - line, rect, roundrect: the midpoint, the direction and length of 1-2;
// - arc, ellipse: n becomes 0;
// - polyline or section: the point halfway along, in single precision, and
//   the direction of the segment that holds it; vertex 1 and angle 0 when
//   there is no length to walk;
// - region (`ir` holds ring ends): the mean of X(1..n-2), Y(1..n-2) - the
//   ring's closing vertex and the copy after it left out - unless useMean is
//   false (a Center line gave the label); vertex 1 when n <= 2;
// - text, none: nothing.
// A polyline or region with n = 0 leaves the label as it is.
void gisObjectLabel(const gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y, int& n, bool useMean,
                    double& xLabel, double& yLabel, float& angle, float& length);

// The pieces of gisObjectLabel, for readers with object records of their own.
// Polyline: the point halfway along, in single precision, the direction of
// the segment holding it and the length; vertex 1 and angle 0 when there is
// no length to walk; n = 0 leaves everything as it is.
void polylineLabel(OneBasedView<const double> X, OneBasedView<const double> Y, int n, double& xLabel,
                   double& yLabel, float& angle, float& length);
// Segment 1-2: midpoint, direction (degrees) and length.
void segmentLabel(OneBasedView<const double> X, OneBasedView<const double> Y, double& xLabel, double& yLabel,
                  float& angle, float& length);
// Region in ring layout: the mean of X(1..n-2), Y(1..n-2); vertex 1 when
// n <= 2; n = 0 leaves the label.
void regionMeanLabel(OneBasedView<const double> X, OneBasedView<const double> Y, int n, double& xLabel,
                     double& yLabel);

}  // namespace quenzel
