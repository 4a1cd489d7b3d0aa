#pragma once
// The program's user-visible texts, by number (UTF-8). Texts are looked up
// when shown; code refers to them through the named numbers below.

#include <string>

namespace tessaro {

// Numbers are grouped by feature in blocks; see MessageTable.cpp.
enum MessageId : int {
  // 1000s: program constants
  MsgHelpFile = 1002,  // relative to the program folder
  MsgProgramName = 1010,
  MsgMutexName = 1020,
  MsgShortName = 1031,
  MsgSlavePanel = 1070,  // "スレーブ[%d]"

  // 2000s: messages shared by several features
  MsgOutOfMemory = 2002,
  MsgFormInitFailed = 2003,
  MsgWindowPosAccess = 2004,
  MsgLineCheckFailed = 2007,
  MsgNoEchoBack = 2008,
  MsgOldComctl = 2011,
  MsgPortInUseRetry = 2012,
  MsgPortUnusable = 2013,
  MsgCollectionSettingsAccess = 2014,
  MsgCancelPressed = 2050,

  // 3000s: communication line
  MsgCommOpenError = 3001,  // "通信ポートオープンエラー ErrorCode = %d"
};

// The text of a message number; empty when the number has none.
std::string LoadMessage(int id);

// LoadMessage followed by printf-style formatting of its fields.
std::string FormatMessage(int id, ...);

}  // namespace tessaro
