#pragma once
// What the two conversions of 12da strings to GIS layers share: opening the
// 12da file with its header report, the search for its strings, the vertex
// arrays of one block and the height test.
#include <string_view>

#include "common/one_based.h"
#include "converter/d12_reader.h"

namespace quenzel {

struct D12Input {
  int unit = 0;
  bool nullKeyword = false;
  bool hexFloats = false;
};

// Opens the 12da file, reports its header keys on the console and rewinds it.
D12Input openD12Input(std::string_view inputFile);

// Sets the null value to "no value", clears the super-string continuation,
// announces the search and positions the file at its first string. False
// when the start of data could not be found (reported and paused on).
bool findD12Objects(const D12Input& in, float& nullValue, d12Object& obj);

// The vertex arrays of one 12da block: the reader's limit plus the repeated
// first vertex of a closed polyline. Allocated once, on first use.
struct D12Vertices {
  OneBased<double> x{kD12MaxNodes + 1, 0.0};
  OneBased<double> y{kD12MaxNodes + 1, 0.0};
  OneBased<float> z{kD12MaxNodes + 1, 0.0f};
};
D12Vertices& d12Vertices();

// Reads the block of the string in obj into d12Vertices() with the reader's
// node limit and the file's header flags: d12ReadData, n vertices.
bool readD12Block(const D12Input& in, d12Object& obj, int& n);

// Neither the file's null value nor the reader's own "no value" is a height
// (both compared to a millimetre, in single precision).
bool hasHeight(float z, float nullValue);

// The message for a string too short to be a line.
void reportTooFewVertices(std::string_view type);

}  // namespace quenzel
