#pragma once
// The MIF/MID reading workers that the layer module dispatches to, declared
// here under their final names until their own module replaces this file.
#include <string>
#include <string_view>

#include "common/one_based.h"
#include "gis/gis_data.h"
#include "gis/layer_table.h"
#include "gis/mif_layer.h"

namespace quenzel {

// ---- MIF/MID reading (the opener and writers are in gis/mif_layer.h) -------------
// Types the next object of the .mif unit; rest gets the text after its keyword.
bool mifObjectType(int unit, std::string& line, std::string& rest, gisObject& obj);
bool mifReadObject(int unit, std::string& rest, gisObject& obj, OneBasedView<double> X, OneBasedView<double> Y,
                   int maxNodes, int& n, bool& useMean, double& xLabel, double& yLabel, bool all);

}  // namespace quenzel
