#include "fuzz_support.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/console.h"
#include "common/messages.h"
#include "common/platform.h"
#include "common/run_control.h"
#include "common/units.h"
#include "gis/layer_init.h"
#include "gis/layer_table.h"

namespace quenzel::fuzz {
namespace {

struct State {
  std::ostringstream out;
  std::istringstream in;
  std::filesystem::path dir;
  bool layersStarted = false;
};

State& state() {
  static State s;
  return s;
}

[[noreturn]] void throwingStop(int) { throw Stopped{}; }

// The first descriptor still open on a file of the work folder, or empty.
std::string openWorkFile(const std::filesystem::path& dir) {
  std::string found;
  if (DIR* d = opendir("/proc/self/fd")) {
    while (dirent* e = readdir(d)) {
      std::error_code ec;
      const auto target = std::filesystem::read_symlink(std::filesystem::path("/proc/self/fd") / e->d_name, ec);
      if (!ec && target.string().starts_with(dir.string())) found = target.string();
    }
    closedir(d);
  }
  return found;
}

void resetUsedLayers() {
  GisLayerModule& m = gisModule();
  for (int id = 1; id <= gisMaxLayers; ++id) {
    if (!m.gisLayerOpen(id) && m.gisLayerFileType(id) == 0) continue;
    gisInitialiseLayer(id);
    m.gisLayerOpen(id) = false;
  }
  m.gisMessageLine.fill(std::string());
}

}  // namespace

void setUp() {
  State& s = state();
  if (!s.dir.empty()) return;
  platform::setFloatingPointMode();
  console::redirect(&s.out, &s.in);
  setStopHandler(&throwingStop);
  s.dir = std::filesystem::temp_directory_path() / ("quenzel-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(s.dir);
  resetModules();
}

void resetModules() {
  State& s = state();
  closeAllUnitsQuietly();
  INITUNITS(1000);
  DMESSAGECLEAR();
  DMESSAGERESETCOUNTERS();
  // Starting the whole layer module again is by far the dearest step: once
  // started, only the slots an input used are reset.
  if (!s.layersStarted) {
    gisInitialise(-1, "fuzz", "", "");
    s.layersStarted = true;
  } else {
    resetUsedLayers();
  }
  resetBeforeExitHooks();
  // The console keeps nothing between inputs: no memory grows with the run.
  s.out.str({});
  s.out.clear();
  s.in.str({});
  s.in.clear();
  // Every unit is closed above; a file still open here was opened outside
  // the file-unit service, or its close was lost: a leak over many runs.
  const std::string leaked = openWorkFile(s.dir);
  if (!leaked.empty()) {
    std::fprintf(stderr, "fuzz: %s is still open after the input was finished\n", leaked.c_str());
    std::abort();
  }
}

const std::filesystem::path& workDir() { return state().dir; }

void writeFile(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
  const auto file = workDir() / name;
  writeFile(file, std::string_view(reinterpret_cast<const char*>(data), size));
  return file;
}

void splitAtNul(std::string_view data, std::string_view& first, std::string_view& rest) {
  const std::size_t p = data.find('\0');
  first = data.substr(0, p);
  rest = p == std::string_view::npos ? std::string_view() : data.substr(p + 1);
}

}  // namespace quenzel::fuzz
