#pragma once
// Talking to the user and ending a run: the routines every module uses.
#include <cstddef>
#include <string>
#include <string_view>

namespace quenzel {

// Writes the first n characters of text with no line end.
void PUTSTR(std::string_view text, int n);
// Position of the last character that is neither blank nor NUL (0 when none);
// the character after it becomes NUL when the text is longer.
int LENSL(char* text, std::size_t length);
int LENSL(std::string& text);
// Waits until the user acknowledges ("Press Enter to Continue").
void PAUSES();
// The single end of a run: closes every unit, waits for Enter, status 0.
[[noreturn]] void EXITS();

}  // namespace quenzel
