#include "common/messages.h"

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <vector>

#include "common/console.h"
#include "common/fortran_format.h"
#include "common/free_format.h"
#include "common/text.h"
#include "common/text_core.h"
#include "common/units.h"

namespace quenzel {

// Callers outside this code address the block by these offsets; the four
// bytes after dmPrefix keep dmTextBox aligned, as a compiler aligning common
// blocks lays it out too.
static_assert(std::is_standard_layout_v<DMessageBlock>);
static_assert(offsetof(DMessageBlock, dmX) == 0);
static_assert(offsetof(DMessageBlock, dmY) == 8);
static_assert(offsetof(DMessageBlock, dmOneLine) == 16);
static_assert(offsetof(DMessageBlock, dmLogUnit) == 20);
static_assert(offsetof(DMessageBlock, dmLayerUnits) == 24);
static_assert(offsetof(DMessageBlock, dmLine) == 40);
static_assert(offsetof(DMessageBlock, dmPrefix) == 40040);
static_assert(offsetof(DMessageBlock, dmTextBox) == 40048);
static_assert(offsetof(DMessageBlock, dmCounters) == 40064);
static_assert(offsetof(DMessageBlock, dmNumber) == 40088);
static_assert(offsetof(DMessageBlock, dmType) == 40092);
static_assert(offsetof(DMessageBlock, dmExtra) == 40096);
static_assert(offsetof(DMessageBlock, dmListUnit) == 70096);
static_assert(sizeof(DMessageBlock) == 70104);

namespace {

constexpr DMessageBlock clearedBlock() {
  DMessageBlock b{};
  b.dmX = NO_VALUE;
  b.dmY = NO_VALUE;
  for (auto& line : b.dmLine)
    for (char& c : line) c = ' ';
  for (char& c : b.dmPrefix) c = ' ';
  for (auto& extra : b.dmExtra)
    for (char& c : extra) c = ' ';
  return b;
}

}  // namespace
}  // namespace quenzel

// Constant-initialised, so a message written by any code that runs before
// main (or before the main program clears the block) finds blank texts.
extern "C" {
constinit quenzel::DMessageBlock DMESSAGES = quenzel::clearedBlock();
}

namespace quenzel {
namespace {

void putText(char* buffer, std::size_t width, std::string_view text) {
  const std::size_t n = text.size() < width ? text.size() : width;
  if (n > 0) std::memcpy(buffer, text.data(), n);
  std::memset(buffer + n, ' ', width - n);
}

std::string_view textOf(const char* buffer, std::size_t width) {
  return trimRight(std::string_view(buffer, width));
}

OneBasedView<char[kMessageLineWidth]> lines() { return {DMESSAGES.dmLine, 4}; }
OneBasedView<char[kMessageLineWidth]> extras() { return {DMESSAGES.dmExtra, 3}; }

std::string_view line(int k) { return textOf(lines()(k), kMessageLineWidth); }
std::string_view extra(int k) { return textOf(extras()(k), kMessageLineWidth); }

struct MessageClass {
  std::int32_t type = kMessageNone;
  std::size_t numberColumn = 0;  // first of the six columns holding the number
};

// The class word is matched in capitals at the very start of line 1; anything
// may follow it.
MessageClass classify(std::string_view line1) {
  if (line1.starts_with("ERROR")) return {kMessageError, 6};
  if (line1.starts_with("WARNING")) return {kMessageWarning, 8};
  if (line1.starts_with("CHECK")) return {kMessageCheck, 6};
  if (line1.starts_with("UNSTABLE")) return {kMessageUnstable, 9};
  return {};
}

// The number after the class word; 0 when there is none to read.
std::int32_t readNumber(std::string_view line1, std::size_t column) {
  const std::string columns = slice(line1, column, column + 5);
  FreeReader reader(columns);
  std::int32_t number = 0;
  if (reader.read(number) != ReadResult::Ok) return 0;
  return number;
}

// Line 4 is always the extras joined, whatever a caller put there.
void rebuildLine4() {
  // Every extra comes trimmed, so the joined text never ends in blanks.
  std::string joined(extra(1));
  for (int k = 2; k <= 3; ++k) {
    if (extra(k).empty()) continue;
    joined += "; ";
    joined += extra(k);
  }
  setMessageLine(4, joined);
}

void writeListRecord(int unit) {
  std::string record = formatIm(DMESSAGES.dmNumber, 5, 4);
  record += ',';
  appendI(record, DMESSAGES.dmType, 2);
  record += ',';
  appendF(record, DMESSAGES.dmX, 16, 3);
  record += ',';
  appendF(record, DMESSAGES.dmY, 16, 3);
  std::string lines123 = std::string(line(1)) + "  " + std::string(line(2)) + "  " + std::string(line(3));
  const std::string_view texts[4] = {lines123, extra(1), extra(2), extra(3)};
  for (std::string_view text : texts) {
    record += ", \"";
    record += DOUBLEQUOTE(text);
    record += '"';
  }
  writeLine(unit, record);
}

// What the console and the log get: line 1 (after the prefix), then every
// line 2 to 4 that is not blank.
std::vector<std::string> outputItems() {
  std::vector<std::string> items;
  std::string_view prefix = textOf(DMESSAGES.dmPrefix, kMessagePrefixWidth);
  if (prefix.empty())
    items.emplace_back(line(1));
  else
    items.push_back(std::string(prefix) + " " + std::string(line(1)));
  for (int k = 2; k <= 4; ++k)
    if (!line(k).empty()) items.emplace_back(line(k));
  return items;
}

template <class WriteOpen, class WriteLine>
void writeItems(const std::vector<std::string>& items, WriteOpen writeOpen, WriteLine writeWhole) {
  if (DMESSAGES.dmOneLine == 0) {
    for (const std::string& item : items) writeWhole(item);
    return;
  }
  writeOpen(items[0]);
  for (std::size_t k = 1; k < items.size(); ++k) writeOpen("  " + items[k]);
  writeWhole("");
}

struct XYLayer {
  std::string_view font;
  int mifUnit;  // position in dmLayerUnits
  int counter;  // location counter, 0 for none
};

XYLayer xyLayer(std::int32_t type) {
  switch (type) {
    case kMessageError:
      return {"Font (\"Arial\",257,0,16711935,0)", 1, 4};
    case kMessageWarning:
      return {"Font (\"Arial\",257,0,16776960,0)", 1, 5};
    case kMessageUnstable:
      return {"Font (\"Arial\",257,0,16711935,0)", 1, 0};
    case kMessageCheck:
      return {"Font (\"Arial\",257,0,255,16777215)", 3, 6};
    default:
      return {"Font (\"Arial\",257,0,53248,16777215)", 3, 0};
  }
}

void writeTextObject(int mif, int mid, std::string_view font, double x, double y) {
  const std::string_view separator = DMESSAGES.dmOneLine != 0 ? "  " : "\\n";
  std::string text = "\"" + DOUBLEQUOTE(line(1));
  int n = 1;
  for (int k = 2; k <= 4; ++k) {
    if (line(k).empty()) continue;
    text += separator;
    text += DOUBLEQUOTE(line(k));
    ++n;
  }
  text += '"';
  const double h = DMESSAGES.dmTextBox[1];
  const double w = DMESSAGES.dmTextBox[0];
  std::string box = "    ";
  appendF(box, x + h, 16, 3);
  appendF(box, y - n * h / 2, 16, 3);
  appendF(box, x + h + w, 16, 3);
  appendF(box, y + n * h / 2, 16, 3);
  std::string label = "    Label Line Arrow ";
  appendF(label, x, 16, 3);
  appendF(label, y, 16, 3);
  writeLine(mif, "Text");
  writeLine(mif, text);
  writeLine(mif, box);
  writeLine(mif, "    " + std::string(font));
  writeLine(mif, label);

  std::string row = "\"";
  for (int k = 1; k <= 4; ++k) {
    if (line(k).empty()) continue;
    row += DOUBLEQUOTE(line(k));
    row += "  ";
  }
  row += '"';
  writeLine(mid, row);
}

}  // namespace

void setMessageLine(int k, std::string_view text) { putText(lines()(k), kMessageLineWidth, text); }
std::string messageLine(int k) { return std::string(line(k)); }
void setMessageExtra(int k, std::string_view text) { putText(extras()(k), kMessageLineWidth, text); }
std::string messageExtra(int k) { return std::string(extra(k)); }
void setMessagePrefix(std::string_view text) { putText(DMESSAGES.dmPrefix, kMessagePrefixWidth, text); }
std::string messagePrefix() { return std::string(textOf(DMESSAGES.dmPrefix, kMessagePrefixWidth)); }

void DMESSAGE(int nblank) {
  DMessageBlock& b = DMESSAGES;
  const std::string_view line1(lines()(1), kMessageLineWidth);
  const MessageClass cls = classify(line1);
  b.dmType = cls.type;
  b.dmNumber = 0;
  if (cls.type != kMessageNone) b.dmNumber = readNumber(line1, cls.numberColumn);
  if (cls.type >= kMessageError && cls.type <= kMessageCheck) ++messageCounters()(cls.type);

  if (b.dmListUnit >= 1 && b.dmType != kMessageNone) writeListRecord(b.dmListUnit);

  rebuildLine4();
  const std::vector<std::string> items = outputItems();

  if (nblank >= 0) {
    for (int k = 0; k < nblank; ++k) console::emptyLine();
    writeItems(items, [](std::string_view t) { console::write(t); },
               [](std::string_view t) { console::line(t); });
  }
  if (nblank >= -1 && b.dmLogUnit >= 1) {
    const int unit = b.dmLogUnit;
    for (int k = 0; k < nblank; ++k) writeLine(unit);
    writeItems(items, [unit](std::string_view t) { writeText(unit, t); },
               [unit](std::string_view t) { writeLine(unit, t); });
  }

  DMESSAGECLEAR();
}

void DMESSAGEXY(int nblank, double x, double y) {
  setMessagePrefix("XY: ");
  const XYLayer layer = xyLayer(classify(line(1)).type);
  if (layer.counter != 0) ++messageCounters()(layer.counter);
  rebuildLine4();

  // A layer whose units were never set cannot take the object; the message
  // still goes everywhere else.
  const int mif = messageLayerUnits()(layer.mifUnit);
  const int mid = messageLayerUnits()(layer.mifUnit + 1);
  if (mif >= 1 && mid >= 1) writeTextObject(mif, mid, layer.font, x, y);

  DMESSAGES.dmX = x;
  DMESSAGES.dmY = y;
  DMESSAGE(nblank);
}

void DMESSAGECLEAR() {
  DMessageBlock& b = DMESSAGES;
  for (int k = 1; k <= 4; ++k) setMessageLine(k, {});
  for (int k = 1; k <= 3; ++k) setMessageExtra(k, {});
  setMessagePrefix({});
  b.dmX = NO_VALUE;
  b.dmY = NO_VALUE;
  b.dmOneLine = 0;
}

void DMESSAGERESETCOUNTERS() {
  for (std::int32_t& c : DMESSAGES.dmCounters) c = 0;
}

void DLINE(int unit) {
  const std::string ruler(80, '_');
  console::line(ruler);
  if (unit > 0) writeLine(unit, ruler);
}

}  // namespace quenzel
