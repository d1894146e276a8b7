#pragma once
// How a run ends. Product code ends the process only through stopRun (after
// EXITS or one of the few stop-at-once paths); tests replace the stop with one
// that throws, so fatal paths can run in-process.
#include <functional>
#include <string_view>

namespace quenzel {

// Flushes the console and ends the process with `status` (through the
// installed handler).
[[noreturn]] void stopRun(int status);

using StopHandler = void (*)(int status);
// Installs a handler for stopRun and returns the previous one; nullptr
// restores the default (flush, then end the process). A handler that returns
// is treated as a bug: the process aborts.
StopHandler setStopHandler(StopHandler handler);

// Functions run once before the units are closed at the end of a run, by
// EXITS and by every stop-at-once path: the layer module finishes its open
// output layers here so partly written files stay readable.
void addBeforeExitHook(std::function<void()> hook);
// Runs the hooks unless they already ran or are running (a failure inside a
// hook that ends the run again goes straight on to closing the units).
void runBeforeExitHooks();
// Tests only: forget that the hooks ran, so the next stop runs them again.
void resetBeforeExitHooks();

// Closes every unit of the file-unit service without a console line: the
// common ending of EXITS and of the stop-at-once paths.
void finishUnitsForStop();

// The whole ending of a stop-at-once path: hooks, units closed, console
// flushed, process ended with status 0.
[[noreturn]] void stopAtOnce();
// The same after the stop text on a console line of its own.
[[noreturn]] void stopAtOnce(std::string_view text);

}  // namespace quenzel
