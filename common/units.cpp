#include "common/units.h"

#include <algorithm>
#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/constants.h"
#include "common/file_io.h"
#include "common/fortran_format.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "common/text_core.h"
#include "common/paths.h"
#include "common/text.h"

namespace quenzel {

UnitTables& unitTables() {
  static UnitTables t;
  return t;
}

namespace {

// The open modes: {read, write, truncate, append, byte order}. A replace
// mode finds the file closed on every other unit (the already-open dialogue
// sees to that), so "truncate" empties it; the shared modes empty it only for
// the first unit that opens it, so an older, longer file leaves no tail. The
// unformatted modes are byte streams like the binary ones: nothing here
// writes records of its own.
struct ModeInfo {
  std::string_view code;
  bool input;
  fileio::UnitOpen open;
};

constexpr ByteOrder LE = ByteOrder::Little;
constexpr ByteOrder BE = ByteOrder::Big;

const ModeInfo kModes[] = {
    {"I ", true, {true, false, false, false, LE}},  {"UI", true, {true, false, false, false, LE}},
    {"BI", true, {true, false, false, false, LE}},  {"BE", true, {true, false, false, false, BE}},
    {"O ", false, {false, true, true, false, LE}},  {"F ", false, {false, true, true, false, LE}},
    {"UO", false, {false, true, true, false, LE}},  {"BO", false, {false, true, true, false, LE}},
    {"BN", false, {false, true, true, false, BE}},  {"A ", false, {false, true, false, true, LE}},
    {"AB", false, {false, true, false, true, LE}},  {"S ", false, {false, true, true, false, LE}},
    {"SB", false, {false, true, true, false, LE}},  {"SE", false, {false, true, true, false, BE}},
    {"IO", false, {true, true, false, false, LE}},
};

// Modes are compared exactly: "i " is no mode at all.
const ModeInfo* findMode(std::string_view mode) {
  for (const ModeInfo& m : kModes)
    if (m.code == mode) return &m;
  return nullptr;
}

std::string i4(int unit) { return formatI(unit, 4); }

std::string trimmed(std::string_view s) { return std::string(trimRight(s)); }

std::string boxCaption() {
  const UnitTables& t = unitTables();
  return trimmed(t.boxTitle) + " " + trimmed(t.boxSubtitle);
}

// The console lines of the service, copied to a log unit when one is given.
void echoEmptyLine(int logUnit) {
  console::emptyLine();
  if (logUnit > 0) writeLine(logUnit);
}
void echoWrite(int logUnit, std::string_view text) {
  console::write(text);
  if (logUnit > 0) writeText(logUnit, text);
}
void echoLine(int logUnit, std::string_view text) {
  console::line(text);
  if (logUnit > 0) writeLine(logUnit, text);
}

// A line of the system's default (free-format) output, which starts with a blank.
void freeFormatLine(std::string_view text) {
  std::string shown(1, ' ');
  shown += text;
  console::line(shown);
}

// A dialogue whose answer can never come: without this the question would be
// asked again for ever.
[[noreturn]] void endOfInput() {
  console::emptyLine();
  console::line("End of input: no answer to the question above.");
  EXITS();
}

// The open flag of whichever table holds the unit number (the slots first);
// nullptr when neither does.
bool* openFlagOf(int unit) {
  UnitTables& t = unitTables();
  for (int i = 1; i <= kNamedSlots; ++i)
    if (t.fileSlots(i).unit == unit) return &t.fileSlots(i).open;
  for (int j = 1; j <= kPoolSize; ++j)
    if (t.poolUnit(j) == unit) return &t.inUse(j);
  return nullptr;
}

// ---- Mirror copies of the inputs (off in this program) ----------------------

[[noreturn]] void folderCopyFailed(std::string_view folder) {
  console::line("ERROR 0005 - Could not make the folder below while making a copy of the input files.");
  console::line("             Check permissions and/or sufficient disk space.");
  console::line("\"" + trimmed(folder) + "\"");
  EXITS();
}

std::string mkdirCommand(std::string_view folder) { return "mkdir \"" + trimmed(folder) + "\""; }
std::string copyCommand(std::string_view file, std::string_view folder) {
  return "copy \"" + trimmed(file) + "\" \"" + trimmed(folder) + "\"";
}

void makeMirrorFolder(std::string_view folder) {
  if (!platform::runCommand(mkdirCommand(folder))) folderCopyFailed(folder);
}

std::string mirrorFolder(std::string_view folderPath) {
  std::string rel(folderPath);
  RELATIVEPATH(rel);
  return trimmed(unitTables().copyRoot) + rel;
}

void mirrorInput(std::string& name) {
  UnitTables& t = unitTables();
  std::string folder = mirrorFolder(FILEFOLDERPATH(name));
  makeMirrorFolder(folder);
  std::string command;
  if (t.copyExactFile) {
    command = copyCommand(name, folder);
  } else {
    std::string ext = cutTo(FILEEXT(name), 256);
    std::string fileFolder = FILEFOLDERPATH(name);
    if (ASAME(ext, ".xf")) {
      platform::runCommand(copyCommand(name, folder));
      name = FILENAME(name);
      fileFolder = trimmed(fileFolder) + "..\\";
      folder = mirrorFolder(fileFolder);
      makeMirrorFolder(folder);
    }
    command = copyCommand(trimmed(fileFolder) + trimmed(FILENAME(name)) + ".*", folder);
  }
  if (!platform::runCommand(command)) {
    console::line("ERROR 0006 - Could not copy the file below while making a copy of the input files.");
    console::line("             Check permissions and/or sufficient disk space.");
    console::line("\"" + trimmed(name) + "\" \"" + trimmed(folder) + "\"");
    EXITS();
  }
  t.lastCopyPath = ADDFOLDER(folder, FILENAME(name) + FILEEXT(name));
}

// ---- Opening ------------------------------------------------------------------

[[noreturn]] void unableToOpen(std::string_view name) {
  console::emptyLine();
  console::line("ERROR - Unable to open file " + trimmed(name));
  EXITS();
}

// Window mode: the output file did not exist, so its folder is taken to be
// missing. Returns when the open should be tried again.
void askToCreateFolder(std::string_view name, bool& autoTried) {
  const UnitTables& t = unitTables();
  const std::string folder = trimmed(FILEFOLDERPATH(name));
  // The automatic folder is made once; when the open still fails the user
  // decides, instead of the program looping on its own.
  bool create = t.autoMkdir && !autoTried;
  autoTried = true;
  while (!create) {
    std::string text = folder + "\r\rAbove folder does not exist!  Create?\r\r" +
                       "Either create the folder yourself and press No,\r" +
                       "or press Yes to have the folder created for you.";
    int r = platform::messageBox(cutTo(text, 256), boxCaption(), platform::BoxButtons::YesNoCancel);
    if (r == 7) return;
    if (r != 6) stopAtOnce();
    if (platform::messageBox("Create folder below?\r\r" + folder + "\r", boxCaption(),
                             platform::BoxButtons::YesNo) == 6)
      create = true;
  }
  while (!platform::runCommand(mkdirCommand(folder))) {
    std::string text = "Could not create folder:\r\r" + folder + "\r\rCheck permissions and/or sufficient disk space.";
    if (platform::messageBox(text, boxCaption(), platform::BoxButtons::RetryCancel) != 4) stopAtOnce();
  }
}

// Opens an output file (any mode that is not an input mode); returns when
// the unit is open or, for "A " on an existing file, given up (unit 0).
void openOutput(int& unit, std::string& name, std::string_view mode, const ModeInfo* info, bool existed,
                int logUnit) {
  UnitTables& t = unitTables();
  if (!info) {
    console::line("  Unrecognised file type " + fitted(mode, 2) + " file " + cutTo(name, 80));
    console::line("Should not be here [OPENFILE] - please contact " + std::string(kSupportAddress) + ".");
    EXITS();
  }
  if (mode == "IO") {
    if (!fileio::openUnit(unit, name, info->open)) unableToOpen(name);
    return;
  }
  if (t.copyInputs) {
    std::string folder = mirrorFolder(FILEFOLDERPATH(name));
    makeMirrorFolder(folder);
    name = ADDFOLDER(folder, FILENAME(name) + FILEEXT(name));
    t.lastCopyPath = name;
  }
  bool autoTried = false;
  for (;;) {
    if (fileio::openUnit(unit, name, info->open)) {
      echoLine(logUnit, "OK.  File Unit:" + i4(unit));
      return;
    }
    if (mode == "A " && existed) {
      echoLine(logUnit, "FAILED.  No File Unit allocated.");
      unit = 0;
      return;
    }
    echoLine(logUnit, "Can't Open");
    if (!t.windowMode) {
      freeFormatLine("");
      freeFormatLine("Can't open: " + trimmed(name));
      freeFormatLine("");
      freeFormatLine("Another application or user maybe using it,");
      freeFormatLine("   or the file's folder does not exist.");
      freeFormatLine("If so, close the file or create file path.");
      PAUSES();
      if (console::in().fail()) endOfInput();
    } else if (existed) {
      std::string text = trimmed(name) + "\r\rAbove file is locked by another application.\r\r" +
                         "Close the file in the other application and press Retry.";
      if (platform::messageBox(cutTo(text, 256), boxCaption(), platform::BoxButtons::RetryCancel) != 4) stopAtOnce();
    } else {
      askToCreateFolder(name, autoTried);
    }
  }
}

// Step "try": true when the open is done (or given up), false to ask for a name.
bool tryOpen(int& unit, std::string& name, std::string_view mode, const ModeInfo* info, int logUnit) {
  const UnitTables& t = unitTables();
  const bool input = info && info->input;

  std::string work = cutTo(name, kNameWidth);
  CLEANPATH(work);
  name = work;
  const char drive = input ? t.inputDrive : t.outputDrive;
  if (drive != ' ' && name.size() >= 2 && name[1] == ':') name[0] = drive;

  echoEmptyLine(logUnit);
  echoWrite(logUnit, "Trying to open file " + trimmed(name) + "...");

  const bool exists = platform::fileExists(name);
  const std::vector<int> openOn = fileio::unitsOnFile(name);

  // An unknown mode is reported below; it must not cost another unit its file.
  if (!input && info && !openOn.empty() && mode[0] != 'A' && mode[0] != 'S') {
    if (t.windowMode) {
      std::string text = trimmed(t.boxTitle) + " file \r" + trimmed(name) + "\ris already open.  Close it?";
      if (platform::messageBox(text, boxCaption(), platform::BoxButtons::YesNo) != 6) EXITS();
    } else {
      console::emptyLine();
      std::string question = trimmed(name) + " is already open, close it? ";
      PUTSTR(question, static_cast<int>(question.size()));
      std::string answer;
      if (!console::readLine(answer)) endOfInput();
      if (answer.empty() || (answer[0] != 'Y' && answer[0] != 'y')) return false;
    }
    // Every unit on the file: a replace open empties it under all of them.
    bool closed = true;
    for (int u : openOn) {
      if (!fileio::closeUnit(u)) closed = false;
      if (bool* open = openFlagOf(u)) *open = false;
    }
    if (!closed) stopAtOnce("  Unable to close file.");
  }

  if (!input) {
    openOutput(unit, name, mode, info, exists, logUnit);
    return true;
  }

  if (!exists) {
    echoEmptyLine(logUnit);
    echoLine(logUnit, "CHECK 0008 - \"" + trimmed(name) + "\" cannot be found");
    return false;
  }
  if (!fileio::openUnit(unit, name, info->open)) unableToOpen(name);
  echoLine(logUnit, "OK.");
  echoLine(logUnit, "Opened File Unit:" + i4(unit));
  if (t.inputOpened) t.inputOpened(name);
  if (t.copyInputs) mirrorInput(name);
  return true;
}

// Step "ask": a new name from the user, or the same name again.
void askForName(std::string& name, std::string_view description) {
  const UnitTables& t = unitTables();
  if (t.windowMode) {
    std::string text = trimmed(t.boxTitle) + " FILE and/or path\r" + trimmed(name) + "\rdoes not exist.";
    if (platform::messageBox(text, boxCaption(), platform::BoxButtons::RetryCancel) != 4) stopAtOnce();
    return;
  }
  std::string desc(description);
  const int descLen = LENSL(desc);
  if (descLen > 0) {
    std::string question = "What is the " + desc.substr(0, static_cast<std::size_t>(descLen)) + " file name? ";
    PUTSTR(question, static_cast<int>(question.size()));
  } else {
    console::emptyLine();
    console::write("Check file exists and press enter or enter another file name: ");
  }
  std::string answer;
  if (!console::readLine(answer)) endOfInput();
  answer.resize(std::min<std::size_t>(answer.size(), 80));
  if (!isAllBlank(answer)) {
    name = TRIMF(answer);
  } else {
    console::emptyLine();
    console::line("No file name entered.  Trying file again...");
  }
}

}  // namespace

void INITUNITS(int base) {
  UnitTables& t = unitTables();
  const int m = std::max(base, 9);
  for (int i = 1; i <= kNamedSlots; ++i) {
    t.fileSlots(i).unit = m - 8 + i;
    t.fileSlots(i).open = false;
    t.fileSlots(i).mode = "  ";
    t.fileSlots(i).nameLen = 0;
  }
  for (int j = 1; j <= kPoolSize; ++j) {
    t.poolUnit(j) = m + j;
    t.inUse(j) = false;
    t.fileType(j) = 0;
  }
  t.boxTitle.clear();
  t.boxSubtitle.clear();
  t.windowMode = false;
  t.pauseOnExit = true;
  t.keepUnitsOnExit = false;
  t.logUnit = 0;
  t.inputDrive = ' ';
  t.outputDrive = ' ';
  t.autoMkdir = false;
  t.quietCloses = false;
}

void OPENFILE(int& unit, std::string_view mode, std::string_view name) {
  UnitTables& t = unitTables();
  std::string work = cutTo(TRIMF(name), kNameWidth);
  if (isAllBlank(work)) {
    const std::string text =
        "Empty filename specified.  Bailing out.  Please contact " + std::string(kSupportAddress) + ".";
    if (!t.windowMode) {
      console::emptyLine();
      console::line(text);
      console::pause("Press Enter to Close");
    } else {
      platform::messageBox(text, trimmed(t.boxTitle), platform::BoxButtons::Ok);
    }
    stopAtOnce();
  }
  int j = 1;
  while (j <= kPoolSize && t.inUse(j)) ++j;
  if (j > kPoolSize) stopAtOnce("No free file numbers.");

  unit = t.poolUnit(j);
  OPENASK(unit, work, mode, "  ", t.logUnit);

  const std::string ext = FILEEXT(work);
  if (ext == ".mif") t.fileType(j) = 101;
  else if (ext == ".mid") t.fileType(j) = 102;
  else if (ext == ".12da") t.fileType(j) = 111;
  t.inUse(j) = unit != 0;
}

void OPENASK(int& unit, std::string& name, std::string_view mode, std::string_view description, int logUnit) {
  const std::string code = fitted(mode, 2);
  const ModeInfo* info = findMode(code);
  for (;;) {
    // A blank name never opens (an output open of it would be retried for
    // ever): the user is asked until there is a name.
    if (!isAllBlank(name) && tryOpen(unit, name, code, info, logUnit)) return;
    askForName(name, description);
  }
}

void CLOSER(int& unit) {
  const UnitTables& t = unitTables();
  bool* open = openFlagOf(unit);
  if (!open || !*open) return;
  fileio::closeUnit(unit);
  if (!t.quietCloses) {
    const std::string text = "...Closed File Unit:" + i4(unit);
    console::line(text);
    if (t.logUnit > 0) writeLine(t.logUnit, text);
  }
  unit = 0;
  *open = false;
}

void CLOSEALL() {
  UnitTables& t = unitTables();
  echoEmptyLine(t.logUnit);
  echoLine(t.logUnit, "Closing all file units...");
  t.logUnit = 0;
  closeAllUnitsQuietly();
}

int UNITTYPE(int unit) {
  const UnitTables& t = unitTables();
  for (int j = 1; j <= kPoolSize; ++j)
    if (t.poolUnit(j) == unit) return t.fileType(j);
  return 0;
}

void OPENDERIVED(int& unit, std::string_view mode, std::string_view prefix, std::string_view suffix) {
  const FileSlot& first = unitTables().fileSlots(1);
  std::string derived;
  for (char c : slice(prefix, 1, 2))
    if (c != ' ') derived += c;
  const std::size_t from = slice(first.name, 2, 2) == "_" ? 3 : 1;
  if (first.nameLen > 0) derived += slice(first.name, from, static_cast<std::size_t>(first.nameLen));
  for (char c : slice(suffix, 1, 4))
    if (c != ' ') derived += c;
  OPENFILE(unit, mode, derived);
}

void setInputOpenedObserver(std::function<void(std::string_view name)> observer) {
  unitTables().inputOpened = std::move(observer);
}

void closeAllUnitsQuietly() {
  const UnitTables& t = unitTables();
  for (int i = 1; i <= kNamedSlots; ++i)
    if (t.fileSlots(i).open) fileio::closeUnit(t.fileSlots(i).unit);
  for (int j = 1; j <= kPoolSize; ++j)
    if (t.inUse(j)) fileio::closeUnit(t.poolUnit(j));
  // Units opened outside both tables (OPENASK on a number of the caller's).
  for (int u : fileio::openUnits()) fileio::closeUnit(u);
}

QuietCloses::QuietCloses() : previous_(std::exchange(unitTables().quietCloses, true)) {}

QuietCloses::~QuietCloses() { unitTables().quietCloses = previous_; }

}  // namespace quenzel
