#pragma once
// What both line components put on the wire and take from it: the command
// line with its optional slave header, the slaved reply line, the "??CMD"
// probe answer and the checksum block.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaro {

constexpr int kSlaveHeaderSize = 10;
constexpr int kMaxCommandLine = 1024;  // header + text + terminator
constexpr int kMaxReplyLine = 1023;    // bytes before the CR
// The longest reply on the wire: slave header, text, CR LF.
constexpr int kMaxReplyBytes = kSlaveHeaderSize + kMaxReplyLine + 2;

// ENQ, blank, the ID as 4 upper-case hex digits (last 4 of its hex form), "FFFF".
std::string BuildSlaveHeader(int slaveId);

// [header when slaved] + text + terminator. False when the line would not
// fit in kMaxCommandLine bytes.
bool BuildCommandLine(bool slaved, int slaveId, std::string_view text, std::string_view terminator,
                      std::string& line);

// Exactly 4 hex digits of either case; any other character makes the field 0.
int ParseHex4(std::string_view field);

// Turns a raw reply line (without its CR) into the text handed to callers.
// Slaved: the line must start with STX and carry the ID in bytes 2..5; the
// text is the line from byte 10 on. The text ends at the first NUL byte,
// as callers have always seen it. False when the line is not a reply for us.
bool TakeReplyText(std::string_view raw, bool slaved, int slaveId, std::string& text);

// The recorder's answer to the empty command: "??CMD" in any letter case.
bool IsCheckReply(std::string_view reply);

// 132 or 1028 bytes: SOH, number, ~number, 128 or 1024 data bytes, sum.
constexpr int BlockLength(bool large) { return large ? 1028 : 132; }
constexpr int BlockDataLength(bool large) { return large ? 1024 : 128; }

// Number and complement agree, and the data bytes add up to the sum byte.
bool BlockIntact(bool large, const uint8_t* block);

}  // namespace tessaro
