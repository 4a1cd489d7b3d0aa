#include "core/support/ExchangeScope.h"

#include <atomic>

namespace tessaro {
namespace {

std::atomic<int> exchanges{0};

}  // namespace

ExchangeScope::ExchangeScope() { exchanges.fetch_add(1); }

ExchangeScope::~ExchangeScope() { exchanges.fetch_sub(1); }

bool ExchangeInProgress() { return exchanges.load() > 0; }

}  // namespace tessaro
