#include "converter/run_files.h"

#include <string>
#include <vector>

#include "common/console.h"
#include "common/console_exit.h"
#include "common/platform.h"
#include "common/text_core.h"
#include "common/units.h"
#include "gis/layer_table.h"

namespace quenzel {
namespace {

struct InputFile {
  std::string file;   // as given, derived from a layer's name, or typed
  std::string layer;  // the name the layer was given by, or the file's own
};

struct Output {
  std::string name;
  std::vector<std::string> files;
  bool layer = false;
};

struct RunFiles {
  std::vector<InputFile> inputs;
  std::vector<Output> outputs;
};

RunFiles& runFiles() {
  static RunFiles r;
  return r;
}

[[noreturn]] void refuse(const Output& out, const InputFile& in) {
  const std::string noun = out.layer ? "layer " : "file ";
  console::lineAfterEmptyLine("ERROR - Output " + noun + out.name + " would overwrite input " + noun +
                              (out.layer ? in.layer : in.file) + ".");
  EXITS();
}

void keep(std::string_view file, std::string_view layer) {
  RunFiles& r = runFiles();
  for (const InputFile& kept : r.inputs)
    if (platform::sameFile(kept.file, file)) return;
  r.inputs.push_back({std::string(file), std::string(layer)});
  const InputFile& in = r.inputs.back();
  for (const Output& out : r.outputs)
    for (const std::string& outFile : out.files)
      if (platform::sameFile(outFile, in.file)) refuse(out, in);
}

void plan(Output out) {
  RunFiles& r = runFiles();
  for (const std::string& file : out.files)
    for (const InputFile& in : r.inputs)
      if (platform::sameFile(file, in.file)) refuse(out, in);
  for (const Output& planned : r.outputs)
    if (planned.name == out.name && planned.files == out.files) return;
  r.outputs.push_back(std::move(out));
}

}  // namespace

void keepInputLayer(std::string_view layerName) {
  const std::string layer(trimRight(layerName));
  for (const std::string& file : gisLayerFiles(layer, "", true)) keep(file, layer);
}

void keepEveryFileOpenedForInput() {
  setInputOpenedObserver([](std::string_view name) { keep(trimRight(name), trimRight(name)); });
}

void planOutputLayer(std::string_view layerName, std::string_view shapeLetters) {
  const std::string name(trimRight(layerName));
  plan({name, gisLayerFiles(name, shapeLetters, false), true});
}

void planOutputFile(std::string_view fileName) {
  const std::string name(trimRight(fileName));
  plan({name, {name}, false});
}

void openOutputFile(int& unit, std::string_view fileName) {
  planOutputFile(fileName);
  OPENFILE(unit, "O ", trimRight(fileName));
}

}  // namespace quenzel
