#pragma once
// The files a run reads and the outputs it writes, kept side by side so that
// no output is ever opened on an input: a link at an output's name, or a name
// typed at an input's prompt, would otherwise let a run empty the very file
// it reads. Each file added to one side is compared with every file of the
// other at once (platform::sameFile); a match ends the run before the output
// is opened.
#include <string_view>

namespace quenzel {

// An input layer by the name the run was given for it, before it is opened:
// every file of its set.
void keepInputLayer(std::string_view layerName);
// Every file the run opens for reading is kept as it opens, by the name it
// opens by (the given one, or one typed at the prompt for a missing file):
// from here on, for the rest of the process.
void keepEveryFileOpenedForInput();

// An output the run will write: a GIS layer with the files of its shape
// letters, or one file (a .12da or .csv). Kept, so that an input whose name is
// typed later is compared with it too.
void planOutputLayer(std::string_view layerName, std::string_view shapeLetters);
void planOutputFile(std::string_view fileName);

// Opens a .12da or .csv output (mode "O ") once it is known to be no input.
void openOutputFile(int& unit, std::string_view fileName);

}  // namespace quenzel
