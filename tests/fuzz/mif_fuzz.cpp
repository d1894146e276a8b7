// The MIF/MID reader over arbitrary bytes: the input up to its first NUL is
// the .mif, the rest the .mid. The last byte chooses which objects are read
// with every vertex and which with the first one only.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.h"
#include "layer_fuzz.h"

using namespace quenzel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUp();
  std::string_view mif, mid;
  fuzz::splitAtNul(std::string_view(reinterpret_cast<const char*>(data), size), mif, mid);
  const unsigned pattern = size > 0 ? data[size - 1] : 0u;
  const auto base = fuzz::workDir() / "layer";
  fuzz::writeFile(base.string() + ".mif", mif);
  fuzz::writeFile(base.string() + ".mid", mid);
  fuzz::runOne([&] { fuzz::readLayerTwice(base.string() + ".mif", pattern); });
  return 0;
}
