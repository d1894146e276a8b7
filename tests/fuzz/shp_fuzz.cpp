// The shapefile set reader over arbitrary bytes. The input is three parts,
// .shp, .shx and .dbf, each behind a 2-byte little-endian length (the last
// part takes whatever is left when its length runs past the end). A byte
// after the parts chooses which objects are read with every vertex.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "layer_fuzz.h"

using namespace quenzel;

namespace {

std::string_view takePart(std::string_view& data) {
  if (data.size() < 2) {
    data = {};
    return {};
  }
  const std::size_t len = static_cast<unsigned char>(data[0]) | (static_cast<unsigned char>(data[1]) << 8);
  data.remove_prefix(2);
  const std::string_view part = data.substr(0, std::min(len, data.size()));
  data.remove_prefix(part.size());
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUp();
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view shp = takePart(rest);
  const std::string_view shx = takePart(rest);
  const std::string_view dbf = takePart(rest);
  const unsigned pattern = rest.empty() ? 0u : static_cast<unsigned char>(rest[0]);
  const auto base = fuzz::workDir() / "set";
  fuzz::writeFile(base.string() + ".shp", shp);
  fuzz::writeFile(base.string() + ".shx", shx);
  fuzz::writeFile(base.string() + ".dbf", dbf);
  fuzz::runOne([&] { fuzz::readLayerTwice(base.string() + ".shp", pattern); });
  return 0;
}
