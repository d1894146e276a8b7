#include "common/paths.h"

#include <algorithm>

#include "common/constants.h"
#include "common/text_core.h"

namespace quenzel {

namespace {

constexpr std::string_view kSeparators = "/\\";

// 1-based position of the last character of s that is one of `chars`, 0 when
// there is none: the positions the path rules are written in.
std::size_t lastOf(std::string_view s, std::string_view chars) {
  std::size_t i = s.find_last_of(chars);
  return i == std::string_view::npos ? 0 : i + 1;
}

// 1-based position of the first occurrence of `what`, 0 when none.
std::size_t firstOf(std::string_view s, std::string_view what) {
  std::size_t i = s.find(what);
  return i == std::string_view::npos ? 0 : i + 1;
}

// The extension of a path cut to the name width, case as given.
std::string_view extensionOf(std::string_view path) {
  std::string_view c = path.substr(0, std::min(path.size(), kNameWidth));
  std::size_t p = lastOf(c, ".");
  std::size_t q = lastOf(c, kSeparators);
  if (p == 0 || p <= q) return {};
  return trimRight(c.substr(p - 1));
}

// Collapses doubled backslashes behind the first two characters; a path
// that starts with a pair (a network path) keeps all of them.
void collapseBackslashes(std::string& t) {
  for (;;) {
    std::size_t p = firstOf(t, "\\\\");
    if (p < 3) return;
    t.erase(p, 1);
  }
}

// Removes each "\..\" together with the component in front of it. A
// component that is itself "..", the current folder "." or a drive ("C:")
// cannot be removed: going up from there must not land in another file.
bool removableComponent(std::string_view c) { return c != ".." && c != "." && !c.ends_with(':'); }

void resolveParents(std::string& t) {
  for (;;) {
    std::size_t p = firstOf(t, "\\..\\");
    if (p < 2) return;
    for (;;) {
      std::size_t s = lastOf(std::string_view(t).substr(0, p - 1), "\\");
      if (removableComponent(std::string_view(t).substr(s, p - 1 - s))) {
        t = t.substr(0, s) + t.substr(p + 3);
        break;
      }
      std::size_t next = t.find("\\..\\", p + 3);
      if (next == std::string::npos) return;
      p = next + 1;
    }
  }
}

void dropCurrentFolders(std::string& t) {
  for (;;) {
    std::size_t p = firstOf(t, "\\.\\");
    if (p == 0) return;
    t.erase(p, 2);
  }
}

}  // namespace

std::string FILEEXT(std::string_view path) { return lowerAscii(extensionOf(path)); }

std::string FILEEXTKC(std::string_view path) { return std::string(extensionOf(path)); }

std::string FILENAME(std::string_view path) {
  std::size_t p = lastOf(path, ".");
  std::size_t q = lastOf(path, kSeparators);
  if (q == 0) {
    if (p == 0) return std::string(trimRight(path));
    return std::string(trimRight(path.substr(0, p - 1)));
  }
  // A dot in a folder name or at the start of the file name starts no
  // extension.
  if (p <= q + 1) p = significantLength(path) + 1;
  return std::string(trimRight(path.substr(q, p - 1 - q)));
}

std::string FILENAMEEXT(std::string_view path) {
  return std::string(trimRight(path.substr(lastOf(path, kSeparators))));
}

std::string FILENAMEPATH(std::string_view path) {
  std::size_t p = lastOf(path, ".");
  if (p > 1 && p > lastOf(path, kSeparators)) return std::string(trimRight(path.substr(0, p - 1)));
  return std::string(trimRight(path));
}

std::string FILEFOLDERPATH(std::string_view path) { return std::string(path.substr(0, lastOf(path, kSeparators))); }

std::string FILENAMENO_(std::string_view path) {
  std::string n = cutTo(FILENAME(path), kNameWidth);
  std::size_t u = lastOf(n, "_");
  if (u == 0) return n;
  return std::string(trimRight(std::string_view(n).substr(0, u - 1)));
}

std::string FILENAMEPATHNO_(std::string_view path) {
  std::string m = cutTo(FILENAMEPATH(path), kNameWidth);
  std::size_t u = lastOf(m, "_");
  if (u > 1 && u > lastOf(m, kSeparators)) return std::string(trimRight(std::string_view(m).substr(0, u - 1)));
  return m;
}

std::string FILE___EXT(std::string_view path) {
  std::string n = cutTo(FILENAME(path), kNameWidth);
  std::size_t u = lastOf(n, "_");
  if (u == 0) return {};
  return lowerAscii(std::string_view(n).substr(u - 1));
}

std::string ADDFOLDER(std::string_view folder, std::string_view file) {
  std::string joined;
  if (isAllBlank(file)) {
    joined = isAllBlank(folder) ? std::string(".") : std::string(trimBoth(folder));
  } else if (isAllBlank(folder) || file.find(':') != std::string_view::npos ||
             file.find("\\\\") != std::string_view::npos) {
    // A drive or network file name stands on its own.
    joined = std::string(trimBoth(file));
  } else {
    joined = std::string(trimRight(folder));
    if (joined.back() != '/' && joined.back() != '\\') joined.push_back('\\');
    joined.append(trimBoth(file));
  }
  return REMOVEDOTDOT(cutTo(joined, kNameWidth));
}

std::string REMOVEDOTDOT(std::string_view path) {
  std::string t(trimBoth(path));
  collapseBackslashes(t);
  // "a\.\..\b" is "a\..\b": the current-folder steps go first.
  dropCurrentFolders(t);
  resolveParents(t);
  return t;
}

std::string CLEANPATH(std::string& path) {
  path = std::string(trimBoth(path));
  // The later of the first "\\" and the first "//": a leading network pair
  // stops the cleaning only while no pair of the other kind follows it.
  for (;;) {
    std::size_t p = std::max(firstOf(path, "\\\\"), firstOf(path, "//"));
    if (p < 2) break;
    path.erase(p, 1);
  }
  return path;
}

bool RELATIVEPATH(std::string& path) {
  std::string t = cutTo(trimBoth(path), kNameWidth);
  std::size_t colon = t.find(':');
  if (colon != std::string::npos)
    t = cutTo(upperAscii(std::string_view(t).substr(0, colon)) + " Drive" + t.substr(colon + 1), kNameWidth);
  if (t.starts_with("\\\\") || t.starts_with("//")) {
    path = cutTo("URL\\" + t.substr(2), kNameWidth);
    return false;
  }
  path = t;
  return colon == std::string::npos;
}

}  // namespace quenzel
