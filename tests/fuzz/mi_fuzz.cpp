// The older MIF routines over arbitrary bytes, as a caller of them reads a
// file: the header readers, the CoordSys search and the header copies, then
// every line typed and every object (every section) read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/one_based.h"
#include "common/units.h"
#include "fuzz_support.h"
#include "gis/mi_routines.h"

using namespace quenzel;
using fuzz::kMaxNodes;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUp();
  const auto file = fuzz::writeInput("in.mif", data, size);
  static OneBased<double> X(kMaxNodes, 0.0), Y(kMaxNodes, 0.0);
  static miObject obj;
  fuzz::runOne([&] {
    int unit = 0;
    int out = 0;
    OPENFILE(unit, "I ", file.string());
    OPENFILE(out, "O ", (fuzz::workDir() / "out.mif").string());
    int columns = 0;
    miAttributeDefinition definition;
    if (miReadNumberAttributes(unit, columns))
      for (int i = 1; i <= columns && i <= 8 && miReadAttributeDefinition(unit, definition); ++i) {
      }
    rewindUnit(unit);
    (void)miNormaliseCoordSys(miFindCoordSysLine(unit));
    miCopyHeader(unit, out);
    double xmin = 0, ymin = 0, xmax = 1, ymax = 1;
    miWriteMifHeader(out, "", file.string(), -1, xmin, ymin, xmax, ymax);

    miGotoData(unit);
    std::string line, rest;
    while (!unitAtEnd(unit)) {
      if (readLine(unit, line) != IoStatus::Ok) break;
      if (!miObjectType(line, rest, obj)) continue;
      for (int c = 1; c <= (obj.isPlineMultiple ? obj.nsect : 1); ++c) {
        int n = 0;
        double xLabel = 0, yLabel = 0;
        float angle = 0, length = 0;
        if (miReadObject("", rest, unit, obj, X.view(), Y.view(), kMaxNodes, n, xLabel, yLabel, angle, length) &&
            (obj.isPoint || obj.isLine || obj.isPline || obj.isRegion))
          miWriteObject(out, obj, X.view(), Y.view(), n, "", "");
      }
    }
    CLOSER(out);
    CLOSER(unit);
  });
  return 0;
}
