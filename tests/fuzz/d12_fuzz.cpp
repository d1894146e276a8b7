// The 12da reader over arbitrary bytes, in the calling order of the
// conversions: header keys, start of data, every string with its blocks
// (read, or skipped when of no kind the conversions take).
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/constants.h"
#include "common/one_based.h"
#include "common/units.h"
#include "converter/d12_reader.h"
#include "fuzz_support.h"

using namespace quenzel;
using fuzz::kMaxNodes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUp();
  const auto file = fuzz::writeInput("in.12da", data, size);
  static OneBased<double> X(kMaxNodes + 1, 0.0), Y(kMaxNodes + 1, 0.0);
  static OneBased<float> Z(kMaxNodes + 1, 0.0f);
  fuzz::runOne([&] {
    int unit = 0;
    OPENFILE(unit, "I ", file.string());
    (void)d12ArchiveVersion(unit);
    const bool nullKeyword = d12NullKeyword(unit);
    const bool hexFloats = d12OutputHexFloats(unit);
    rewindUnit(unit);
    float nullValue = static_cast<float>(NO_VALUE);
    d12Object obj;
    if (!d12FindStartOfData(unit, nullValue, nullKeyword)) return;
    std::string line;
    while (!unitAtEnd(unit)) {
      if (!d12ReadLine(line, unit)) continue;
      if (!d12ObjectType(unit, line, obj)) continue;
      if (!obj.data2d && !obj.data3d && !obj.hipData) {
        d12SkipData(unit, obj);
        continue;
      }
      int n = 0;
      d12ReadData(unit, obj, X.view(), Y.view(), Z.view(), kMaxNodes, n, nullKeyword, hexFloats);
    }
    CLOSER(unit);
  });
  return 0;
}
