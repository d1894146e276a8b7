#pragma once
// The program's one console: every message goes to standard output, every
// question and pause reads one line from standard input. Nothing else in the
// code touches std::cout or std::cin, so tests can swap both streams.
#include <iosfwd>
#include <string>
#include <string_view>

namespace quenzel::console {

std::ostream& out();
std::istream& in();

// Writes text and leaves the line open: the next output continues it.
void write(std::string_view text);
// Writes text and ends the line.
void line(std::string_view text = {});
// An empty line; when a line is open this only ends it, which is what the
// record-oriented console of the original system did.
void emptyLine();
// An empty line, then text on a line of its own: how most messages are set
// apart from what came before them.
void lineAfterEmptyLine(std::string_view text);
// True while the last output left its line open.
bool lineOpen();

// Reads one line (without its line end) from standard input, after flushing
// the output. False at end of input, with `text` empty.
bool readLine(std::string& text);
// Shows the prompt on a line of its own and waits for one line of input.
// End of input counts as an answer.
void pause(std::string_view prompt);

void flush();

// Tests only: route the console through other streams (nullptr restores).
void redirect(std::ostream* output, std::istream* input);

}  // namespace quenzel::console
