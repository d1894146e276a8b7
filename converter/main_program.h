#pragma once
// The program's main routine: start-up, command line, projection search,
// output naming, one conversion, end of run.
#include <string>

namespace quenzel {

// The run's state, set by the command line and read by the conversions.
struct ProgramState {
  std::string inputFile;
  std::string secondFile;
  std::string outputFile;
  std::string modelName;
  std::string projectionFile;
  bool modelNameGiven = false;
  bool outputFileGiven = false;
  bool includeHipdata = false;
  bool xsMode = false;
  bool zlnMode = false;
  bool resultsMode = false;
  bool batchMode = false;
  bool mifFormat = false;
  bool shpFormat = false;
  bool modelPending = false;
  bool outputPending = false;
  int fileCount = 0;
  int projectionUnit = 0;
};

ProgramState& programState();

// Data that cannot be read ends the run at once, without EXITS: "ERROR - End
// of File encountered" when the text ended before it, else "ERROR - Reading
// data", then a pause. Open files are finished and closed before the pause.
[[noreturn]] void stopOnUnreadableData(bool textEnded);

void quenzelMain();

}  // namespace quenzel
