#pragma once
// Text of one channel value of a recorder record, as the CSV files show it.
// The record is in host byte order (as ReadRecord returns it); the channel's
// mode code picks the layout where it has one of its own (date-time, wind,
// wind direction), otherwise its data type code does.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/collect/DataFileInfo.h"

namespace tessaro {

// The Corvex form names wind directions (Plain); the Q5 form numbers them.
enum class ValueStyle { Plain, Numeric };

// Puts a decimal point before the last -decimals characters of a
// printf-formatted integer, then blanks the leading zeros (a sign moves right
// past them), keeping one zero before the point or at the end:
// "+00123", -2 -> "  +1.23".
std::string InsertDecimalPoint(std::string_view text, int decimals);

// Removes every blank.
std::string StripSpaces(std::string_view text);

// Direction codes 1..15 name their direction, 16 is north, anything else is
// calm. Names are four characters, blank-padded ("N   ", "CALM").
std::string_view WindDirectionName(int code);

// Place of a direction code in the name table: 1..15 as they are, 16
// (north) 0, anything else 16 (calm).
int WindDirectionIndex(int code);

bool IsWindDirectionChannel(const ChannelInfo& channel);

// Bytes the channel's layout reads; a narrower channel has no value.
int ChannelLayoutBytes(const ChannelInfo& channel);

// A 32-bit channel in host order: its first 16-bit word was converted on
// reading, the second is still as the recorder stored it (big-endian).
int32_t StoredInt32(const uint8_t* value);

// The text of the channel's CSV field: the formatted value with its blanks
// removed, except that a date-time keeps the one blank between date and time
// (removing it would glue "26/12/08" and "10:00:07" together). value points
// at the channel's bytes inside the record. Wind speeds not above
// calmThreshold are calm; a missing wind value leaves only its commas. A
// channel narrower than its layout reads (a direction-only wind channel reads
// one byte, b0) gives empty fields, its commas kept.
std::string FormatChannelValue(const ChannelInfo& channel, const uint8_t* value, ValueStyle style,
                               int calmThreshold = 0);
// The same, appended to out (the record loop's allocation-free form).
void AppendCsvValue(std::string& out, const ChannelInfo& channel, const uint8_t* value,
                    ValueStyle style, int calmThreshold = 0);

}  // namespace tessaro
