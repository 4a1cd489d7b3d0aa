#include "core/recorder/RecorderReply.h"

#include <limits>

namespace tessaro {

int64_t ReplyInteger(const std::string& reply) {
  size_t i = 0;
  while (i < reply.size() && (reply[i] == ' ' || reply[i] == '\t')) ++i;
  bool negative = false;
  if (i < reply.size() && (reply[i] == '+' || reply[i] == '-')) negative = reply[i++] == '-';
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (; i < reply.size() && reply[i] >= '0' && reply[i] <= '9'; ++i) {
    const int digit = reply[i] - '0';
    if (value > (kMax - digit) / 10) return negative ? -kMax : kMax;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

}  // namespace tessaro
