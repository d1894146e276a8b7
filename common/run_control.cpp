#include "common/run_control.h"

#include <cstdlib>
#include <utility>
#include <vector>

#include "common/console.h"
#include "common/units.h"

namespace quenzel {
namespace {
struct State {
  StopHandler handler = nullptr;
  std::vector<std::function<void()>> hooks;
  bool hooksStarted = false;
};
State& state() {
  static State s;
  return s;
}
}  // namespace

void stopRun(int status) {
  console::flush();
  if (StopHandler h = state().handler) {
    h(status);
    std::abort();  // a stop handler must not return
  }
  std::exit(status);
}

StopHandler setStopHandler(StopHandler handler) { return std::exchange(state().handler, handler); }

void addBeforeExitHook(std::function<void()> hook) { state().hooks.push_back(std::move(hook)); }

void runBeforeExitHooks() {
  if (state().hooksStarted) return;
  state().hooksStarted = true;
  for (auto& hook : state().hooks) hook();
}

void resetBeforeExitHooks() { state().hooksStarted = false; }

void finishUnitsForStop() {
  runBeforeExitHooks();
  closeAllUnitsQuietly();
}

void stopAtOnce() {
  finishUnitsForStop();
  stopRun(0);
}

void stopAtOnce(std::string_view text) {
  console::line(text);
  stopAtOnce();
}

}  // namespace quenzel
