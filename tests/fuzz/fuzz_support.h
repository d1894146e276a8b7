#pragma once
// What every fuzz harness shares: a console that discards its output and
// answers every question with end of input, a stop that unwinds to the
// harness instead of ending the process, and the reset of every module a run
// may have touched, so one input never leaks into the next.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quenzel::fuzz {

// Small vertex arrays keep the readers' limits within reach of short inputs.
inline constexpr int kMaxNodes = 64;

// Thrown by the harness's stop handler in place of ending the process.
struct Stopped {};

// Once per process: console, stop handler, floating-point mode, work folder.
void setUp();

// Closes every unit, clears the message block and starts the layer module
// again. Ends the process (a finding) when a unit or a file descriptor is
// still open afterwards.
void resetModules();

// Runs body as one fuzz input: a fatal end of the run is the expected end of
// many inputs and is caught here; afterwards every module is reset.
template <class Body>
void runOne(Body&& body) {
  try {
    body();
  } catch (const Stopped&) {
  }
  resetModules();
}

// A folder of this process for the files a harness writes.
const std::filesystem::path& workDir();
void writeFile(const std::filesystem::path& p, std::string_view bytes);
// Writes the fuzz input whole as the file `name` of the work folder.
std::filesystem::path writeInput(const char* name, const std::uint8_t* data, std::size_t size);

// Splits data at its first NUL byte (the rest after it; empty when none).
void splitAtNul(std::string_view data, std::string_view& first, std::string_view& rest);

}  // namespace quenzel::fuzz
