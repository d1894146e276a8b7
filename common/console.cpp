#include "common/console.h"

#include <iostream>

namespace quenzel::console {
namespace {
struct State {
  std::ostream* output = nullptr;
  std::istream* input = nullptr;
  bool open = false;
};
State& state() {
  static State s;
  return s;
}
}  // namespace

std::ostream& out() { return state().output ? *state().output : std::cout; }
std::istream& in() { return state().input ? *state().input : std::cin; }

void write(std::string_view text) {
  if (text.empty()) return;
  out() << text;
  state().open = true;
}

void line(std::string_view text) {
  out() << text << '\n';
  state().open = false;
}

void emptyLine() {
  out() << '\n';
  state().open = false;
}

void lineAfterEmptyLine(std::string_view text) {
  emptyLine();
  line(text);
}

bool lineOpen() { return state().open; }

bool readLine(std::string& text) {
  out().flush();
  text.clear();
  // The user's Enter ends whatever line the prompt left open.
  state().open = false;
  if (!std::getline(in(), text)) {
    text.clear();
    return false;
  }
  if (!text.empty() && text.back() == '\r') text.pop_back();
  return true;
}

void pause(std::string_view prompt) {
  line(prompt);
  std::string answer;
  readLine(answer);
}

void flush() { out().flush(); }

void redirect(std::ostream* output, std::istream* input) {
  out().flush();
  state().output = output;
  state().input = input;
  state().open = false;
}

}  // namespace quenzel::console
