#pragma once
// Short private stand-ins for the text and path routines the file-unit
// service calls, until common/text.h and common/paths.h are in place. Only
// units.cpp includes this header; it goes away when those land (the calls
// keep their names).
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/constants.h"
#include "common/text_core.h"

namespace quenzel {
namespace pending {

inline std::string TRIMF(std::string_view s) { return std::string(trimBoth(s)); }

inline bool ASAME(std::string_view a, std::string_view b) {
  a = trimRight(a.substr(0, kNameWidth));
  b = trimRight(b.substr(0, kNameWidth));
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (upperAscii(a[k]) != upperAscii(b[k])) return false;
  return true;
}

inline bool isSeparator(char c) { return c == '/' || c == '\\'; }

inline std::size_t lastSeparator(std::string_view p) {  // 1-based, 0 when none
  for (std::size_t k = p.size(); k > 0; --k)
    if (isSeparator(p[k - 1])) return k;
  return 0;
}

inline std::string CLEANPATH(std::string& path) {
  path = std::string(trimBoth(path));
  for (;;) {
    std::size_t a = path.find("\\\\");
    std::size_t b = path.find("//");
    std::size_t p = 0;  // 1-based position of the later first pair
    if (a != std::string::npos) p = a + 1;
    if (b != std::string::npos) p = std::max(p, b + 1);
    if (p < 2) break;
    path.erase(p, 1);
  }
  return path;
}

inline std::string FILEEXT(std::string_view path) {
  path = trimRight(path.substr(0, kNameWidth));
  std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot + 1 <= lastSeparator(path)) return {};
  std::string ext(path.substr(dot));
  for (char& c : ext) c = lowerAscii(c);
  return ext;
}

inline std::string FILENAME(std::string_view path) {
  path = trimRight(path);
  std::size_t q = lastSeparator(path);
  std::size_t dot = path.rfind('.');
  std::size_t p = dot == std::string_view::npos ? 0 : dot + 1;
  if (q == 0) {
    if (p == 0) return std::string(path);
    return std::string(path.substr(0, p - 1));
  }
  if (p <= q + 1) p = path.size() + 1;
  return std::string(path.substr(q, p - 1 - q));
}

inline std::string FILEFOLDERPATH(std::string_view path) {
  path = trimRight(path);
  return std::string(path.substr(0, lastSeparator(path)));
}

inline std::string ADDFOLDER(std::string_view folder, std::string_view file) {
  if (isAllBlank(file)) return isAllBlank(folder) ? std::string(".") : TRIMF(folder);
  if (isAllBlank(folder) || file.find(':') != std::string_view::npos ||
      file.find("\\\\") != std::string_view::npos)
    return TRIMF(file);
  std::string r(trimRight(folder));
  if (!isSeparator(r.back())) r += '\\';
  return r + TRIMF(file);
}

inline bool RELATIVEPATH(std::string& path) {
  path = TRIMF(path.substr(0, std::min(path.size(), kNameWidth)));
  bool drive = false;
  if (std::size_t p = path.find(':'); p != std::string::npos) {
    path = upperAscii(path.substr(0, p)) + " Drive" + path.substr(p + 1);
    drive = true;
  }
  if (path.rfind("\\\\", 0) == 0 || path.rfind("//", 0) == 0) {
    path = "URL\\" + path.substr(2);
    return false;
  }
  return !drive;
}

}  // namespace pending

using pending::ADDFOLDER;
using pending::ASAME;
using pending::CLEANPATH;
using pending::FILEEXT;
using pending::FILEFOLDERPATH;
using pending::FILENAME;
using pending::RELATIVEPATH;
using pending::TRIMF;

}  // namespace quenzel
