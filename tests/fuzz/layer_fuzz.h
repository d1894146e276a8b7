#pragma once
// Reading one input layer the way the conversions do: header, then every
// object with its record and every section, then a rewind and a second pass.
#include <string>

namespace quenzel::fuzz {

// Opens `name` as an input layer and reads it twice; `all` chooses, per
// object in turn, between reading every vertex and the first one only.
void readLayerTwice(const std::string& name, unsigned pattern);

}  // namespace quenzel::fuzz
