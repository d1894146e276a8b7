#pragma once
// Numbered messages. A routine that reports something fills line 1 of the
// shared message block (and line 2 for a continuation such as a file name),
// then calls DMESSAGE with the number of empty lines to put before it.
// DMESSAGE classifies, counts, lists, writes and clears; it never ends the run
// (after an ERROR the caller calls EXITS itself).
//
// The block is exported from the executable with a fixed layout, so callers
// outside this code may read and fill it as well.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/constants.h"
#include "common/exports_abi.h"
#include "common/one_based.h"

namespace quenzel {

inline constexpr std::size_t kMessagePrefixWidth = 4;

// Message classes (dmType), read from the first word of line 1.
inline constexpr std::int32_t kMessageNone = 0;
inline constexpr std::int32_t kMessageError = 1;
inline constexpr std::int32_t kMessageWarning = 2;
inline constexpr std::int32_t kMessageCheck = 3;
inline constexpr std::int32_t kMessageUnstable = 4;

// The exported layout: flags and units as 32-bit integers, texts as
// blank-padded character arrays. Offsets are fixed (checked in messages.cpp).
struct DMessageBlock {
  double dmX;                                 // map location; NO_VALUE: none
  double dmY;
  std::int32_t dmOneLine;                     // flag: all lines on one output line
  std::int32_t dmLogUnit;                     // below 1: no log
  std::int32_t dmLayerUnits[4];               // error layer .mif/.mid, check layer .mif/.mid
  char dmLine[4][kMessageLineWidth];          // line 4 is rebuilt from dmExtra
  char dmPrefix[kMessagePrefixWidth];         // written before line 1 when not blank
  double dmTextBox[2];                        // Text object box width, line height
  std::int32_t dmCounters[6];                 // ERROR, WARNING, CHECK; the same with a location
  std::int32_t dmNumber;                      // number of the message being written
  std::int32_t dmType;                        // class of the message being written
  char dmExtra[3][kMessageLineWidth];         // joined into line 4; own fields in the list
  std::int32_t dmListUnit;                    // below 1: no message list
};

}  // namespace quenzel

// The one block every part of the program shares; blank and without a
// location from before main runs.
extern "C" QZ_EXPORT quenzel::DMessageBlock DMESSAGES;

namespace quenzel {

// ---- The message routines --------------------------------------------------
// nblank > 0: that many empty lines, then console and log; 0: console and log;
// -1: log only; -2 and below: neither. Counters and list are served always.
void DMESSAGE(int nblank);
// Also writes the message as a Text object (and its .mid row) into the
// message layer of its class, at (x, y).
void DMESSAGEXY(int nblank, double x, double y);
void DMESSAGECLEAR();
void DMESSAGERESETCOUNTERS();
// A ruler of 80 underscores on the console, and on `unit` when above 0.
void DLINE(int unit);

// ---- Filling and reading the block from C++ --------------------------------
// Line k (1..4) of the block, blank-padded (cut at the line width).
void setMessageLine(int k, std::string_view text);
// Line k without its trailing blanks.
std::string messageLine(int k);
// Extra text k (1..3).
void setMessageExtra(int k, std::string_view text);
std::string messageExtra(int k);
void setMessagePrefix(std::string_view text);
std::string messagePrefix();

// The numbered tables of the block, indexed as the messages count them.
inline OneBasedView<std::int32_t> messageCounters() { return {DMESSAGES.dmCounters, 6}; }
inline OneBasedView<std::int32_t> messageLayerUnits() { return {DMESSAGES.dmLayerUnits, 4}; }
inline OneBasedView<double> messageTextBox() { return {DMESSAGES.dmTextBox, 2}; }

}  // namespace quenzel
