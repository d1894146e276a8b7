#include "converter/d12_to_gis.h"

#include <cmath>
#include <string>

#include "common/console.h"
#include "common/constants.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {
namespace {
const char* flagText(bool b) { return b ? "true" : "false"; }
}  // namespace

D12Input openD12Input(std::string_view inputFile) {
  D12Input in;
  OPENFILE(in.unit, "I ", inputFile);
  console::lineAfterEmptyLine("Reading .12da header information...");
  const std::string version = d12ArchiveVersion(in.unit);
  console::line("12d Archive Version: " + std::string(trimBoth(version)));
  in.nullKeyword = d12NullKeyword(in.unit);
  console::line(std::string("null_keyword: ") + flagText(in.nullKeyword));
  in.hexFloats = d12OutputHexFloats(in.unit);
  console::line(std::string("hex_floats: ") + flagText(in.hexFloats));
  console::line("Finished reading header information.");
  rewindUnit(in.unit);
  return in;
}

bool findD12Objects(const D12Input& in, float& nullValue, d12Object& obj) {
  nullValue = static_cast<float>(NO_VALUE);
  obj.moreData = false;
  console::lineAfterEmptyLine("Searching for 12da objects...");
  return d12FindStartOfData(in.unit, nullValue, in.nullKeyword);
}

D12Vertices& d12Vertices() {
  static D12Vertices v;
  return v;
}

bool readD12Block(const D12Input& in, d12Object& obj, int& n) {
  D12Vertices& v = d12Vertices();
  return d12ReadData(in.unit, obj, v.x.view(), v.y.view(), v.z.view(), kD12MaxNodes, n, in.nullKeyword, in.hexFloats);
}

bool hasHeight(float z, float nullValue) {
  return std::fabs(z - nullValue) > 0.001f && std::fabs(z - static_cast<float>(NO_VALUE)) > 0.001f;
}

void reportTooFewVertices(std::string_view type) {
  console::lineAfterEmptyLine("Less than 2 vertices, omminting line output, data type: " +
                              std::string(trimRight(type)));
}

}  // namespace quenzel
