#pragma once
// The GIS layer module's state: the table of 100 layer slots with the format
// records each slot owns, the module's message lines and log unit, its
// settings and the input-layer tracking list; the module's message writer and
// the internal checks every layer routine makes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/one_based.h"
#include "gis/gis_data.h"

namespace quenzel {

inline constexpr int gisMaxColumns = 256;     // MIF columns of one layer
inline constexpr int gisShapeSlots = 3;       // 1 point, 2 line, 3 region
inline constexpr int dbfMaxFields = 128;      // fields of one dBASE table
inline constexpr int gisMaxInputLayers = 1000;
inline constexpr int gisMessageLines = 4;

// A MIF/MID layer of one slot. Default values are the blank state that a
// slot gets when the module starts and when a layer is opened on it.
struct MifLayer {
  std::string currentLine;  // the .mif line last read by the object reader
  std::string restOfLine;   // what follows the object keyword on that line
  int mifUnit = 0;          // 0: not open
  int midUnit = 0;
  std::string styleLine1;  // written after each object when not blank
  std::string styleLine2;
  int columnCount = 0;
  OneBased<std::string> columnName{gisMaxColumns};  // 32 characters each
  OneBased<std::string> columnType{gisMaxColumns};  // 24 characters each, e.g. "Char(20)"
  // Between .mid values: the text of the header's Delimiter line, else the
  // tab; a comma until the header is read.
  std::string delimiter = ",";
};

// One shape file set (.shp, .shx, .prj) of a slot.
struct ShpFile {
  int shpUnitLE = 0;  // 0: not open
  int shpUnitBE = 0;
  int shxUnitLE = 0;
  int shxUnitBE = 0;
  int prjUnit = 0;
  int fileCode = 0;
  int fileLength = 0;  // 16-bit words
  int version = 0;
  int shapeType = 0;        // of the whole file: 1, 3 or 5
  int recordShapeType = 0;  // of the record being written or read
  int recordCount = 0;
  int nextOffset = 0;  // 16-bit words
  double xMin = 0.0;
  double yMin = 0.0;
  double xMax = -1.0;
  double yMax = -1.0;
};

// The dBASE table beside a shape file set.
struct DbfFile {
  int dbfUnit = 0;  // 0: not open
  int headerRecordCount = 0;
  int recordCounter = 0;  // records written, or valid records read
  int fieldCount = 0;
  int dbfTotLen = 0;  // record length without the deletion flag
  OneBased<int> fieldLength{dbfMaxFields, 0};
  OneBased<int> fieldDecimals{dbfMaxFields, 0};
  OneBased<std::string> fieldName{dbfMaxFields};  // 11 characters each
  OneBased<std::string> fieldType{dbfMaxFields};  // 1 character each
  // Reading: the header's own lengths (records may carry bytes beyond their
  // fields, the header bytes beyond its descriptors) and the records marked
  // deleted, which count toward the header's record count.
  int headerLength = 0;
  int recordLength = 0;
  int deletedCount = 0;
  // Writing: fields whose overflowing number has been reported.
  OneBased<bool> overflowReported{dbfMaxFields, false};
};

// A table indexed (shape slot 1..3, layer ID 1..100).
template <class T>
class SlotShapeTable {
 public:
  SlotShapeTable() : cells_(static_cast<std::size_t>(gisShapeSlots) * gisMaxLayers) {}
  T& operator()(int k, int id) { return cells_(index(k, id)); }
  const T& operator()(int k, int id) const { return cells_(index(k, id)); }

 private:
  static long long index(int k, int id) {
    // The slot number is checked on its own: a bad one must not land in the
    // neighbouring layer's records.
    if (k < 1 || k > gisShapeSlots) detail::oneBasedOutOfRange(k, gisShapeSlots);
    return static_cast<long long>(id - 1) * gisShapeSlots + k;
  }
  OneBased<T> cells_;
};

// The last attribute record written to a MIF slot's .mid.
struct MidRecordNote {
  bool large = false;
  std::string typeName;
};

// "ERROR 0254 - Failed to write ... record for a <type> object in GIS layer."
std::string gisMidWriteFailure(const MidRecordNote& record);

// Everything the layer module keeps between calls.
struct GisLayerModule {
  // Per layer ID 1..100.
  OneBased<int> gisLayerFileType{gisMaxLayers, 0};  // 0 closed, 1 MIF/MID, 2 shapefile set
  OneBased<int> gisLayerTrackIndex{gisMaxLayers, 0};
  OneBased<bool> gisLayerOpen{gisMaxLayers, false};
  OneBased<bool> gisLayerOutput{gisMaxLayers, false};
  OneBased<std::string> gisLayerName{gisMaxLayers};
  // The last attribute record written to the slot's .mid (for its ERROR 0254
  // text): buffered writes may only fail when the unit is flushed at close.
  OneBased<MidRecordNote> midLastRecord{gisMaxLayers};
  OneBased<MifLayer> mifLayer{gisMaxLayers};
  SlotShapeTable<ShpFile> shpFile;
  SlotShapeTable<DbfFile> dbfFile;

  // Message writer.
  OneBased<std::string> gisMessageLine{gisMessageLines};
  int gisLogUnit = 0;  // > 0: messages also go to this unit

  // Settings of input layers.
  std::string gisMifProjection;  // normalised CoordSys that input .mif must match; blank: no check
  std::string gisShpProjection;  // projection name that input .prj must match; blank: no check
  bool gisProjectionCheckError = false;
  bool gisSaveDateCheck = false;
  bool gisSaveDateError = false;
  std::string gisDefaultTableExt = ".tab";  // kept trimmed

  // Workspace file, input-layer list .mif, its .mid: -1 not opened, 0 closed.
  OneBased<int> gisWorkspaceUnits{3, -1};
  // Distinct input layer files (full path without extension).
  int gisInputLayerCount = 0;
  OneBased<std::string> gisInputLayers{gisMaxInputLayers};
};

GisLayerModule& gisModule();

// End of data reached on the last read of each layer; callers loop on it.
extern OneBased<bool> gisLayerEoF;

// ---- Layer lifecycle ------------------------------------------------------------
// Opens a layer on the lowest free slot and returns its ID (1..100): mode
// "I " input or "O " output; shapeLetters choose the sets of an output
// shapefile layer ("P", "L", "R", either case). 0 only when an input
// shapefile set could not be opened.
int gisOpenLayer(std::string_view fileName, std::string_view shapeLetters, std::string_view mode,
                 bool attributesOnly);
// The file type of an extension as FILEEXT gives it: 1 MIF/MID (also no
// extension), 2 shapefile set or bare .dbf table, -1 bare .csv table; any
// other extension ends the run with ERROR 0252.
int gisFileType(std::string_view ext, bool attributesOnly);
// Resets one slot's records; the slot need not be open.
void gisInitialiseLayer(int gisID);
// Finishes an output layer, closes every unit of the layer, frees the slot
// and sets gisID to 0. A bad ID is reported and the run goes on.
void gisCloseLayer(int& gisID);
void gisCloseAllLayers(bool& anyClosed);
// Closes every open output layer as gisCloseLayer does: run before the
// units are closed at an early end, so the files on disk are complete.
void gisFinishOutputLayers();

// ---- Messages and internal checks -------------------------------------------------
// Writes nBlank empty lines, then message line 1 (an empty line when blank)
// and each of lines 2 to 4 that is not blank, to the console and, when the
// module has a log unit, to the log. Lines 2 to 4 are blanked afterwards,
// so a short message never repeats the tail of an earlier long one.
void gisWriteMessage(int nBlank);
// A line (an empty line) to the console and, when the module has a log
// unit, to the log.
void gisLineToConsoleAndLog(std::string_view text);
void gisEmptyLineToConsoleAndLog();
// Sets message line k (1..4).
void setGisMessageLine(int k, std::string_view text);
// A fatal message: lines 1 to 3 (those given), one empty line before them,
// then the end of the run.
[[noreturn]] void gisStop(std::string_view line1, std::string_view line2 = {}, std::string_view line3 = {});

// The entry check of a routine that takes a layer ID: an ID below 1 or above
// 100, or (unless mustBeOpen is false) the ID of a slot not in use, is an
// internal error that ends the run.
void gisCheckLayerID(std::string_view routine, int gisID, bool mustBeOpen = true);
// n bytes from unit into data; the end of the file or a failed read ends
// the run with the message of the stage that read.
void gisReadBytes(int unit, char* data, std::size_t n, std::string_view endMessage, std::string_view errorMessage);

// "Should not be here [<tag>] - please contact <support address>."
std::string gisCheckText(std::string_view tag);
// That text on the console, after an empty line unless emptyLineFirst is
// false, and the end of the run: a file type or mode the routine cannot
// handle.
[[noreturn]] void gisInternalCheck(std::string_view tag, bool emptyLineFirst = true);
// "Should not be here [<tag>].  Please contact <support address>." through
// the message lines, and the end of the run: an object whose type flags the
// format's writer or reader cannot place.
[[noreturn]] void gisMessageCheck(std::string_view tag);

// base + ext for a file of a layer; for input the upper-case extension is
// taken when only that spelling exists (layers copied from Windows often
// carry it on this case-sensitive file system).
std::string gisLayerFileName(std::string_view base, std::string_view ext, bool input);

// The files of the layer a name opens, as gisOpenLayer opens them: a MIF
// layer's .mif and .mid (a name without extension is the base of one), a
// shapefile set's .shp, .shx, .dbf and .prj; an output shapefile layer has
// one set per shape letter, "_<letter>" before the extension.
std::vector<std::string> gisLayerFiles(std::string_view fileName, std::string_view shapeLetters, bool input);

}  // namespace quenzel
