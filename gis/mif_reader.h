#pragma once
// Reading MapInfo MIF/MID layers: the header with its column definitions,
// positioning at the first object, typing each object by its keyword and
// reading its coordinates. The .mid records are read by gisReadRecord.
//
// Every failure is reported through the layer module's message writer and
// ends the run.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/constants.h"
#include "common/one_based.h"
#include "common/units.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"

namespace quenzel {

// Reads the column definitions of an input layer into the record (the first
// 256 of them; any further ones are passed over), lists them on the console
// and leaves the .mif unit just after its "Data" line. The delimiter of the
// .mid values comes from the last header line before "Data" (column
// definitions aside) that reads `Delimiter ";"`: any case, blanks before it,
// blanks or tabs after it and around one value of one character or more, in
// double quotes or bare; a line of any other form is passed over. Without
// one it is the tab. Nothing happens when the layer has no .mif unit.
void mifReadHeader(MifLayer& layer);

// Rewinds a .mif unit and leaves it just after its "Data" line, found the way
// mifReadHeader finds it (after the column definitions, so that a column
// named "Data..." is not taken for it). Nothing happens for a unit below 1.
void mifGotoData(int unit);

// Types the next object of the .mif unit into obj (cleared by the caller):
// lines without an object keyword are passed over. line gets the keyword
// line, rest what follows the keyword; the keyword line's count goes into
// nsect (PLINE MULTIPLE, MULTIPOINT) or nr (REGION). False when the file
// ended first. obj.isCenter tells whether the last line read was a Center
// line.
bool mifObjectType(int unit, std::string& line, std::string& rest, gisObject& obj);

// The keyword test of the line mifObjectType is typing: true when the line,
// from its first character that is neither a blank nor a tab, upper-cased and
// with each run of blanks and tabs folded to one blank, starts with keyword.
// A match moves the reading column past the keyword and gives obj the
// keyword as its type name.
bool mifKeywordIs(std::string_view keyword, gisObject& obj);

// Reads the current object (one section of a multi-section polyline, one
// point of a multipoint) into X(1..n), Y(1..n). Without all only the first
// vertex is kept and the rest passed over. A region comes back ring after
// ring, each followed by a copy of its second vertex, with ir(k) the position
// of ring k's last vertex; when a Center line is the file's last line after
// it, that line gives the label point and useMean becomes false. Arcs,
// ellipses, texts and null objects read nothing (n = 0). False when obj
// holds no object.
bool mifReadObject(int unit, std::string& rest, gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y,
                   int maxNodes, int& n, bool& useMean, double& xLabel, double& yLabel, bool all);

// False when requested <= limit; otherwise ERROR 0310 ends the run.
bool mifCheckNodes(std::int64_t requested, std::int64_t limit);

// The next line of a .mif file as a record of `width` characters holds it
// (cut to that width, whatever the status), without the CRs that LF-CR line
// ends or a stray CR leave at its start or end.
IoStatus mifReadRecord(int unit, std::string& line, std::size_t width = kNameWidth);

// What mifReadColumnsCount found.
enum class ColumnsLine { Found, Missing, NoCount };

// From the unit's position, reads lines (cut to width) until one holds
// "Columns" (any case) in its first 7 characters, then the column count from
// its 8th character on. Missing when the file ends or a read fails first;
// NoCount when no count can be read there. A Delimiter line passed on the way
// sets *delimiter to the text it declares, when delimiter is given (see
// mifReadHeader).
ColumnsLine mifReadColumnsCount(int unit, std::size_t width, int& count, std::string* delimiter = nullptr);

// A .mid record as the readers take it: without the CRs that LF-CR line ends
// or a stray CR leave at its start or end and, in a layer whose values are
// delimited by anything but a comma, split at each delimiter outside double
// quotes and joined again with commas, so that it reads as a comma-delimited
// record with the same values: a field holding a comma, blank, tab or quote
// within it that is not one double-quoted text is put in double quotes (its
// own ones doubled), so that all of it stays one value.
void midRecordAsRead(std::string& record, std::string_view delimiter);

// A column definition line: leading blanks off, name up to the first blank,
// type the rest (for example "Char(254)"; blank when there is none).
void mifSplitColumnDefinition(std::string_view line, std::string& name, std::string& type);

}  // namespace quenzel
