// The routines that take free text: the free-format read, the fixed-column
// inputs, CSV values, paths, substring and number counters. The first byte
// chooses the routine, the rest is its text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text.h"
#include "fuzz_support.h"

using namespace quenzel;

namespace {

void freeFormat(std::string_view text) {
  FreeReader r(text);
  for (int k = 0; k < 64; ++k) {
    double d = 0;
    float f = 0;
    std::int32_t i = 0;
    std::int64_t l = 0;
    std::string s;
    ReadResult res = ReadResult::Ok;
    switch (k % 5) {
      case 0: res = r.read(d); break;
      case 1: res = r.read(f); break;
      case 2: res = r.read(i); break;
      case 3: res = r.read(l); break;
      default: res = r.read(s); break;
    }
    if (res == ReadResult::End) break;
  }
  double d = 0;
  float f = 0;
  std::int64_t l = 0;
  (void)parseReal(text, d);
  (void)parseReal(text, f);
  (void)parseInteger(text, l);
}

void fixedColumns(std::string_view text) {
  std::int32_t i = 0;
  std::int64_t l = 0;
  double d = 0;
  float f = 0;
  (void)readFixedInt(text, i);
  (void)readFixedInt(text, l);
  (void)readFixedReal(text, d);
  (void)readFixedReal(text, f);
  std::int32_t c = 0;
  (void)CHECKINT(text, c);
  (void)NUMBEROFNUMBERS(text);
}

void csv(std::string_view text) {
  const std::size_t p = text.find('\n');
  const std::string_view header = text.substr(0, p);
  const std::string_view line = p == std::string_view::npos ? std::string_view() : text.substr(p + 1);
  for (int col = -1; col <= 6; ++col) {
    float v = 0;
    (void)CSVVALUE(line, col, v);
  }
  (void)CSVCOLUMN(header, "Z", 3);
}

void paths(std::string_view text) {
  (void)FILEEXT(text);
  (void)FILEEXTKC(text);
  (void)FILENAME(text);
  (void)FILENAMEEXT(text);
  (void)FILENAMEPATH(text);
  (void)FILEFOLDERPATH(text);
  (void)FILENAMENO_(text);
  (void)FILENAMEPATHNO_(text);
  (void)FILE___EXT(text);
  (void)REMOVEDOTDOT(text);
  std::string p(text);
  (void)CLEANPATH(p);
  std::string r(text);
  (void)RELATIVEPATH(r);
  const std::size_t half = text.size() / 2;
  (void)ADDFOLDER(text.substr(0, half), text.substr(half));
}

void substrings(std::string_view text) {
  const std::size_t cut = text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 4;
  const std::string_view sep = text.substr(text.empty() ? 0 : 1, cut);
  const std::string_view body = text.substr(std::min(text.size(), cut + 1));
  std::string s(body);
  const std::int32_t n = sep.empty() ? 0 : NUMBEROFSUBSTRINGS(s, sep);
  for (std::int32_t k = 0; k <= std::min<std::int32_t>(n + 1, 8) && !sep.empty(); ++k)
    (void)SUBSTRING(body, sep, k);
  (void)FLAGEXISTS(body, "-b");
  std::string rest;
  (void)FLAGEXISTSRET(body, "=", rest);
  (void)REPLACEALL(body, ",", ", ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUp();
  if (size == 0) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  fuzz::runOne([&] {
    switch (data[0] % 5) {
      case 0: freeFormat(text); break;
      case 1: fixedColumns(text); break;
      case 2: csv(text); break;
      case 3: paths(text); break;
      default: substrings(text); break;
    }
  });
  return 0;
}
