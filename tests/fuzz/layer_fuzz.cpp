#include "layer_fuzz.h"

#include "common/one_based.h"
#include "fuzz_support.h"
#include "gis/gis_data.h"
#include "gis/header_services.h"
#include "gis/layer_table.h"
#include "gis/object_record.h"

namespace quenzel::fuzz {
namespace {

void readPass(int id, unsigned pattern) {
  static OneBased<double> X(kMaxNodes + 2, 0.0), Y(kMaxNodes + 2, 0.0);
  static gisObject obj;
  std::string record;
  unsigned k = 0;
  // A layer of objects that each read nothing still ends: the readers move
  // on by at least a line or a record per object.
  for (int guard = 0; guard < 100000 && !gisLayerEoF(id); ++guard) {
    if (!gisObjectType(id, obj)) continue;
    gisReadRecord(id, obj, record);
    const bool all = ((pattern >> (k++ % 8)) & 1u) == 0;
    const int sections = obj.nsect;
    for (int s = 1; s <= sections; ++s) {
      int n = 0;
      double xl = 0, yl = 0;
      float angle = 0, length = 0;
      gisReadObject(id, obj, X.view(), Y.view(), kMaxNodes, n, xl, yl, angle, length, all);
    }
  }
}

}  // namespace

void readLayerTwice(const std::string& name, unsigned pattern) {
  int id = gisOpenLayer(name, "", "I ", false);
  if (id < 1) return;
  gisReadHeader(id);
  readPass(id, pattern);
  gisGotoBeginningOfData(id);
  readPass(id, ~pattern);
  gisCloseLayer(id);
}

}  // namespace quenzel::fuzz
