#pragma once
// Reading the recorder's single-line replies: "??" refuses (the item does
// not exist on this model), numbers come as leading decimal integers.

#include <cstdint>
#include <string>

namespace tessaro {

inline bool IsRefusal(const std::string& reply) { return reply.rfind("??", 0) == 0; }

// The leading decimal integer of the text (blanks and a sign allowed before
// it), 0 when there is none; saturates instead of overflowing.
int64_t ReplyInteger(const std::string& reply);

}  // namespace tessaro
