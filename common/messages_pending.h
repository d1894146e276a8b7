#pragma once
// Private stand-ins for three text routines of common/text.h, used by the
// messages and the line reader until that module is part of the build.
// Delete this file and include common/text.h instead once it is.
#include <string>
#include <string_view>

#include "common/text_core.h"

namespace quenzel::pending {

// Every double quote written twice; trailing blanks dropped.
inline std::string DOUBLEQUOTE(std::string_view s) {
  std::string r;
  for (char c : trimRight(s)) {
    r.push_back(c);
    if (c == '"') r.push_back('"');
  }
  return r;
}

// Every tab left out; trailing blanks dropped.
inline std::string REMOVETABS(std::string_view s) {
  std::string r;
  for (char c : trimRight(s))
    if (c != '\t') r.push_back(c);
  return std::string(trimRight(r));
}

// Left-justifies the line and cuts it before its first "#" or "!"; true for a
// blank line or one that begins with a comment mark.
inline bool COMMENTLINE(std::string& line) {
  line = std::string(trimBoth(line));
  const bool comment = line.empty() || line[0] == '#' || line[0] == '!';
  const std::size_t p = line.find_first_of("#!");
  if (p != std::string::npos) line.erase(p);
  line = std::string(trimRight(line));
  return comment;
}

}  // namespace quenzel::pending
