#pragma once
// The five conversions the main program chooses between.
#include <string_view>

namespace quenzel {

// 12da strings to one GIS layer (MIF or shapefile by the output's extension).
void convert_12da_to_mif(std::string_view inputFile, std::string_view outputFile);
// 3D 12da strings to cross-section files and their layers.
void convert_12da_to_mif_xs(std::string_view inputFile, std::string_view outputFile);
// GIS points and lines to 3D breaklines.
void convert_zln_to_12da(std::string_view inputFile, std::string_view secondFile, bool modelNameGiven,
                         std::string_view modelName, std::string_view outputFile);
// GIS result points to a 12da data_3d block.
void convert_mif_to_12da_results(std::string_view inputFile, bool modelNameGiven, std::string_view modelName,
                                 std::string_view outputFile);
// GIS lines to 2D breaklines.
void convert_mif_to_12da(std::string_view inputFile, bool modelNameGiven, std::string_view modelName,
                         std::string_view outputFile);

}  // namespace quenzel
