#include "converter/main_program.h"

#include <array>
#include <string>
#include <string_view>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/messages.h"
#include "common/paths.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"
#include "converter/conversions.h"
#include "converter/run_files.h"
#include "gis/gis_data.h"
#include "gis/layer_init.h"
#include "gis/mif_layer.h"

namespace quenzel {

ProgramState& programState() {
  static ProgramState s;
  return s;
}

namespace {

constexpr std::array<std::string_view, 30> kUsage = {
    "",
    "CONVERT FROM GIS TO 12DA:",
    "1:  quenzel.exe <Lines>.mif",
    "Converts to 2D breakline.",
    "",
    "Options:",
    "-zln converts a VARNOK 3D breakline to 12da format, including",
    "   interpolation of Z values at intermediate vertices",
    "2:  quenzel.exe -zln <Points>.shp <Lines>.shp",
    "3:  quenzel.exe -zln <Points>.mif <Lines>.mif",
    "4:  quenzel.exe -zln <Lines_and_Points>.mif",
    "",
    "CONVERT FROM 12DA TO MIF:",
    "5:  quenzel.exe -mif <12da_file>.12da <Header>.mif",
    "<Header>.mif is any .mif file with the correct projection.",
    "   (Will search input directory for \"Header.mif\" or \"Projection.mif\" if omitted.)",
    "CONVERT FROM 12DA TO SHP:",
    "6:  quenzel.exe -shp <12da_file>.12da <Header>.prj",
    "<Header>.prj is any .prj file with the correct projection.",
    "   (Will search input directory for \"Header.prj\" or \"Projection.prj\" if omitted.)",
    ".4da extension also accepted",
    "Options:",
    "   -hip includes 12D hipdata polylines.",
    "   -xs  creates VARNOK .csv cross-section files and 1d_xs layer.",
    "Output Options:",
    "   -out <output_filename> Specify the output file name.",
    "   For conversions to .12da the \"-model <model_name>\" option can be used to set the model name.",
    "7:  quenzel.exe -out output_file.12da <Lines>.mif",
    "8:  quenzel.exe -model 12d_Model_Name <Lines>.mif",
    "",
};

constexpr char kEnDash1252 = '\x96';
constexpr std::string_view kEnDashUtf8 = "\xE2\x80\x93";

// A second file was given: decided by its name part, everywhere alike.
bool secondFileGiven(const ProgramState& s) { return !isAllBlank(FILENAME(s.secondFile)); }

// On this platform "/" also begins absolute paths: such an argument is a
// file when it names something on disk or holds a further "/", and an option
// mark otherwise.
bool slashArgumentIsFile(std::string_view arg) {
  if (arg.size() > 1 && arg.find('/', 1) != std::string_view::npos) return true;
  return platform::fileExists(arg);
}

void applyOption(ProgramState& s, std::string_view a) {
  struct Option {
    std::size_t last;  // the slice is A(2:last)
    std::string_view word;
    bool ProgramState::*flag;
  };
  static constexpr Option kOptions[] = {
      {3, "xs", &ProgramState::xsMode},          {4, "zln", &ProgramState::zlnMode},
      {4, "hip", &ProgramState::includeHipdata}, {4, "mif", &ProgramState::mifFormat},
      {4, "shp", &ProgramState::shpFormat},      {3, "b", &ProgramState::batchMode},
      {6, "model", &ProgramState::modelPending}, {8, "results", &ProgramState::resultsMode},
      {4, "out", &ProgramState::outputPending},
  };
  for (const Option& o : kOptions) {
    if (!ASAME(slice(a, 2, o.last), o.word)) continue;
    s.*(o.flag) = true;
    if (o.flag == &ProgramState::outputPending) s.outputFileGiven = true;
  }
}

void readArguments(ProgramState& s) {
  const int count = platform::argumentCount();
  for (int i = 1; i < count; ++i) {
    std::string a = cutTo(platform::argument(i), kNameWidth);
    if (s.modelPending) {
      s.modelPending = false;
      s.modelNameGiven = true;
      s.modelName = cutTo(TRIMF(a), kModelNameWidth);
      continue;
    }
    if (s.outputPending) {
      s.outputPending = false;
      s.outputFile = TRIMF(a);
      continue;
    }
    // A terminal sends the en dash as UTF-8: it marks an option like the
    // single-byte dash of the Windows code page.
    if (a.starts_with(kEnDashUtf8)) a.replace(0, kEnDashUtf8.size(), 1, kEnDash1252);
    const char first = a.empty() ? ' ' : a[0];
    const bool optionMark = first == '-' || first == kEnDash1252 || (first == '/' && !slashArgumentIsFile(a));
    if (optionMark) {
      applyOption(s, a);
      continue;
    }
    ++s.fileCount;
    if (s.fileCount == 1) {
      s.inputFile = TRIMF(a);
      const std::string ext = FILEEXT(s.inputFile);
      if (ext == ".mif") s.mifFormat = true;
      if (ext == ".shp") s.shpFormat = true;
    } else if (s.fileCount == 2) {
      s.secondFile = TRIMF(a);
    }
  }
}

// Opens the sample and returns its first line holding `keyword` (trailing
// blanks removed); the run ends when there is none. A line ends at LF, CR LF
// or a lone CR.
std::string readProjectionLine(ProgramState& s, std::string_view keyword) {
  OPENFILE(s.projectionUnit, "I ", s.projectionFile);
  console::lineAfterEmptyLine("Using " + std::string(trimRight(s.projectionFile)) + " for setting projection.");
  rewindUnit(s.projectionUnit);
  std::string read;
  while (!unitAtEnd(s.projectionUnit)) {
    IoStatus status = readLine(s.projectionUnit, read);
    // A projection line that cannot be read ends the run at once.
    if (status != IoStatus::Ok) stopOnUnreadableData(status == IoStatus::End);
    // A sample saved with CR line ends reads as one line: its CRs part it,
    // or the whole sample would become the projection line of every layer.
    std::string_view rest = read;
    for (;;) {
      const std::size_t cr = rest.find('\r');
      const std::string_view line = rest.substr(0, cr);
      if (FLAGEXISTS(line, keyword)) return std::string(trimRight(line));
      if (cr == std::string_view::npos) break;
      rest.remove_prefix(cr + 1);
    }
  }
  console::lineAfterEmptyLine("ERROR - Unable to find " + std::string(keyword) + " line in " +
                              std::string(trimRight(s.projectionFile)));
  EXITS();
}

// The first of the default sample names that exists in the input folder,
// or an empty text.
std::string defaultSample(const ProgramState& s, std::string_view first, std::string_view second) {
  const std::string folder = FILEFOLDERPATH(s.inputFile);
  for (std::string_view name : {first, second}) {
    std::string candidate = ADDFOLDER(folder, name);
    if (platform::fileExists(candidate)) return candidate;
  }
  return {};
}

void searchMifProjection(ProgramState& s) {
  if (secondFileGiven(s)) {
    s.projectionFile = s.secondFile;
  } else if (s.zlnMode && FILEEXT(s.inputFile) == ".mif") {
    s.projectionFile = s.inputFile;
  } else {
    s.projectionFile = defaultSample(s, "Header.mif", "Projection.mif");
    if (s.projectionFile.empty()) {
      console::lineAfterEmptyLine("WARNING - A Header.mif or Projection.mif file does not exist in folder.");
      console::line("          Non-Earth Coordinates will be used.");
      PAUSES();
      gisMifCoordSys = kNonEarthCoordSys;
      return;
    }
  }
  gisMifCoordSys = readProjectionLine(s, "CoordSys");
  console::lineAfterEmptyLine("mif Projection: " + gisMifCoordSys);
}

// The .prj beside a layer, or an empty text when there is none.
std::string prjBeside(std::string_view layer) {
  std::string beside = std::string(trimRight(FILENAMEPATH(layer))) + ".prj";
  return platform::fileExists(beside) ? beside : std::string();
}

void searchShpProjection(ProgramState& s) {
  if (s.zlnMode && secondFileGiven(s)) {
    // The second file is the lines layer, not a sample: its own projection,
    // else the points layer's, else none.
    s.projectionFile = prjBeside(s.secondFile);
    if (s.projectionFile.empty()) s.projectionFile = prjBeside(s.inputFile);
    if (s.projectionFile.empty()) return;
  } else if (secondFileGiven(s)) {
    // The usage text offers the second file as the projection sample.
    s.projectionFile = s.secondFile;
  } else {
    s.projectionFile.clear();
    if (s.zlnMode && FILEEXT(s.inputFile) == ".shp") s.projectionFile = prjBeside(s.inputFile);
    if (s.projectionFile.empty()) s.projectionFile = defaultSample(s, "Header.prj", "Projection.prj");
    if (s.projectionFile.empty()) {
      console::lineAfterEmptyLine("ERROR - A Header.prj or Projection.prj file does not exist in folder.");
      EXITS();
    }
  }
  gisPrjText = readProjectionLine(s, "PROJCS");
  console::lineAfterEmptyLine("shp Projection: " + gisPrjText);
}

void searchProjection(ProgramState& s, bool gisInput) {
  if (!s.mifFormat && !s.shpFormat) return;
  if (s.mifFormat && s.shpFormat) {
    console::line("ERROR - Both -shp and -mif specified.");
    EXITS();
  }
  // The 2D breakline and result conversions write no GIS layer.
  if (gisInput && !s.zlnMode) return;
  if (s.mifFormat) searchMifProjection(s);
  else searchShpProjection(s);
}

void convertGisInput(ProgramState& s) {
  if (!s.outputFileGiven) {
    // Only the 3D breaklines are named after a second file, their lines layer.
    const std::string& base = s.zlnMode && secondFileGiven(s) ? s.secondFile : s.inputFile;
    s.outputFile = std::string(trimRight(FILENAMEPATH(base))) + ".12da";
  } else if (FILEEXT(s.outputFile) != ".12da") {
    s.outputFile = std::string(trimRight(s.outputFile)) + ".12da";
  }
  if (s.zlnMode) {
    convert_zln_to_12da(s.inputFile, s.secondFile, s.modelNameGiven, s.modelName, s.outputFile);
  } else if (s.resultsMode) {
    convert_mif_to_12da_results(s.inputFile, s.modelNameGiven, s.modelName, s.outputFile);
  } else {
    convert_mif_to_12da(s.inputFile, s.modelNameGiven, s.modelName, s.outputFile);
  }
}

// The extension of the output format the options ask for; without one the
// run ends.
std::string_view outputExtension(const ProgramState& s) {
  if (s.mifFormat) return ".mif";
  if (s.shpFormat) return ".shp";
  console::lineAfterEmptyLine("ERROR - Must specify output format with -shp or -mif.");
  EXITS();
}

void convert12daInput(ProgramState& s) {
  if (!s.outputFileGiven) {
    s.outputFile = std::string(trimRight(s.inputFile)) + std::string(outputExtension(s));
  } else {
    console::lineAfterEmptyLine("Using specified output filename: " + std::string(trimRight(s.outputFile)));
    const std::string ext = FILEEXT(s.outputFile);
    if (ext == ".mif" || ext == ".shp") {
      console::lineAfterEmptyLine("Output file has extention \"" + ext + "\", outputting in this format.");
    } else {
      const std::string appended(outputExtension(s));
      console::lineAfterEmptyLine("Appending \"" + appended + "\" to filename.");
      s.outputFile = std::string(trimRight(s.outputFile)) + appended;
    }
  }
  if (s.xsMode) convert_12da_to_mif_xs(s.inputFile, s.outputFile);
  else convert_12da_to_mif(s.inputFile, s.outputFile);
}

}  // namespace

void stopOnUnreadableData(bool textEnded) {
  // Finished before the pause: what was written is on disk even when the
  // window is closed instead.
  finishUnitsForStop();
  console::lineAfterEmptyLine(textEnded ? "ERROR - End of File encountered" : "ERROR - Reading data");
  console::pause("Press Enter to Continue");
  stopRun(0);
}

void quenzelMain() {
  platform::setFloatingPointMode();
  INITUNITS(1000);
  keepEveryFileOpenedForInput();
  DMESSAGECLEAR();
  gisInitialise(-1, "quenzel", "", "");
  console::lineAfterEmptyLine("Build 2024-05-AA");
  console::emptyLine();

  ProgramState& s = programState();
  s.includeHipdata = false;
  s.secondFile.clear();

  if (platform::argumentCount() < 2) {
    for (std::string_view line : kUsage) console::line(line);
    EXITS();
  }
  console::line("Executable: " + std::string(trimRight(platform::argument(0))));

  readArguments(s);
  const std::string ext = FILEEXT(s.inputFile);
  const bool gisInput = ext == ".mif" || ext == ".shp";
  searchProjection(s, gisInput);

  console::lineAfterEmptyLine("File 1: " + std::string(trimRight(s.inputFile)));
  if (secondFileGiven(s)) console::lineAfterEmptyLine("File 2: " + std::string(trimRight(s.secondFile)));

  if (gisInput) {
    convertGisInput(s);
  } else if (ext == ".12da" || ext == ".4da") {
    convert12daInput(s);
  } else {
    console::pause(
        "ERROR - File 1 has an unrecognisable file extension.  Must be \".mif\", \".shp\", \".12da\" or "
        "\".4da\".");
  }

  console::lineAfterEmptyLine("Finished.");
  if (s.batchMode) stopAtOnce();
  EXITS();
}

}  // namespace quenzel
