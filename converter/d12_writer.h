#pragma once
// The head of every 12da file the program writes: the file's null value,
// the model line and an empty line.
#include <string>
#include <string_view>

namespace quenzel {

// The model name of a written 12da file: the given name, or "from" and the
// words of the input's path followed by "gis"; letters and digits only.
std::string d12ModelText(std::string_view inputFile, bool modelNameGiven, std::string_view modelName);

// "null -999", the model line, an empty line.
void d12WriteHead(int unit, std::string_view modelText);

}  // namespace quenzel
