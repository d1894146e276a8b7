#include "gis/layer_table.h"

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/numbers.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

GisLayerModule& gisModule() {
  static GisLayerModule m;
  return m;
}

OneBased<bool> gisLayerEoF(gisMaxLayers, false);

void setGisMessageLine(int k, std::string_view text) { gisModule().gisMessageLine(k) = cutTo(text, kNameWidth); }

void gisWriteMessage(int nBlank) {
  GisLayerModule& m = gisModule();
  const int log = m.gisLogUnit;
  for (int i = 0; i < nBlank; ++i) {
    console::emptyLine();
    if (log > 0) writeLine(log);
  }
  for (int k = 1; k <= gisMessageLines; ++k) {
    const std::string text = cutTo(m.gisMessageLine(k), kNameWidth);
    if (k > 1 && text.empty()) continue;
    console::line(text);
    if (log > 0) writeLine(log, text);
  }
  for (int k = 2; k <= gisMessageLines; ++k) m.gisMessageLine(k).clear();
}

void gisCheckLayerID(std::string_view routine, int gisID, bool mustBeOpen) {
  const bool inRange = gisID >= 1 && gisID <= gisMaxLayers;
  if (inRange && (!mustBeOpen || gisModule().gisLayerOpen(gisID))) return;
  // An ID below 1 is shown as 0, whatever its value; any other bad ID as given.
  const std::string shown = gisID < 1 ? std::string("0") : AINTEGER(gisID);
  console::line("Should not be here " + std::string(routine) + "[gisID=" + shown + "] - please contact " +
                std::string(kSupportAddress) + ".");
  EXITS();
}

void gisInternalCheck(std::string_view tag) {
  console::emptyLine();
  console::line("Should not be here [" + std::string(tag) + "] - please contact " + std::string(kSupportAddress) +
                ".");
  EXITS();
}

}  // namespace quenzel
