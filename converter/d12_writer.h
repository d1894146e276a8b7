#pragma once
// What the conversions that write a 12da file share: the file's head with
// its model name and the breakline string blocks.
#include <string>
#include <string_view>

#include "common/one_based.h"

namespace quenzel {

// The model name of a written 12da file: the given name, or "from" and the
// words of the input's path followed by "gis"; letters and digits only.
std::string d12ModelText(std::string_view inputFile, bool modelNameGiven, std::string_view modelName);

// "null -999", the model line, an empty line.
void d12WriteHead(int unit, std::string_view modelText);

// One breakline string of n vertices: a "string 2d" block when z is empty,
// else "string 3d" with the heights z(i). `name` is written between double
// quotes with its own double quotes doubled and each control byte (below
// 20h) as a blank, trailing blanks dropped, so 12d reads it back whole.
// Coordinates are F16.5 and heights F12.4, each after one blank when it fills
// its columns and written in full when it does not fit them.
void d12WriteBreakline(int unit, std::string_view name, OneBasedView<const double> x, OneBasedView<const double> y,
                       OneBasedView<const float> z, int n);

}  // namespace quenzel
