#pragma once
// The records and buffers that the layer module shares with its callers: the
// object record, the attribute definition and vertex buffers of the object to
// be written, the attribute lines and the projection texts of new layers.
#include <string>

#include "common/one_based.h"

namespace quenzel {

inline constexpr int gisMaxLayers = 100;
inline constexpr int gisMaxParts = 10000;
inline constexpr int gisMaxFields = 256;
// Room for every vertex a 12da string may have: the reader's limit of
// 1,000,000 plus the repeated first vertex of a closed polyline.
inline constexpr int gisMaxWriteNodes = 1000001;

// One GIS object as a reader delivers it or a writer takes it.
//
// `ir` has three meanings, by direction and format:
// - reading a region: ir(k) is the position of ring k's last vertex as it
//   stands in the file (each ring is followed by a copy of its second vertex);
// - writing: ir(i) is the position of part i's first vertex;
// - reading a shapefile polyline: the part starts of the record.
struct gisObject {
  bool isNone = false;
  bool isPoint = false;
  bool isLine = false;
  bool isPline = false;
  bool isPlineMultiple = false;
  bool isRegion = false;
  bool isEllipse = false;
  bool isRect = false;
  bool isRoundRect = false;
  bool isSpare = false;  // no routine sets or tests it
  bool isArc = false;
  bool isCenter = false;
  bool isText = false;
  bool isMultiPoint = false;
  bool isComplete = false;
  int nsect = 1;
  int nr = 1;
  OneBased<int> ir{gisMaxParts, 0};
  std::string gisObjectTypeName;  // 24 characters in the stored layout
};

// The attribute definition of the layer about to be written.
struct GisAttributeDefinition {
  int count = 0;
  OneBased<int> width{gisMaxFields, 0};
  OneBased<std::string> name{gisMaxFields};  // 32 characters each
  OneBased<std::string> type{gisMaxFields};  // 24 characters each: Float, Integer, Char, Logical, Decimal
  int recordCount = 0;
};

// The module's object record, passed by the conversions to every read and
// write call.
extern gisObject gisO_;
extern GisAttributeDefinition gisAttrDef;
// The object to be written: gisNP vertices in gisX(1..gisNP), gisY(1..gisNP).
extern int gisNP;
extern OneBased<double> gisX;
extern OneBased<double> gisY;
// Attribute record of the object to be written: values in field order,
// comma-separated, character values in double quotes.
extern std::string gisAttLine;
extern std::string gisAttLineLarge;
// Projection texts of new layers, set by the main program before a
// conversion: the CoordSys line of MIF headers and the line of .prj files.
extern std::string gisMifCoordSys;
extern std::string gisPrjText;

}  // namespace quenzel
