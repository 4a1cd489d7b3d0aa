#include "core/graph/GraphViewport.h"

#include <algorithm>
#include <cmath>

namespace tessaro {

GraphViewport::GraphViewport(int64_t recordCount, int64_t minimumSpan)
    : count_(std::max<int64_t>(recordCount, 0)),
      minimumSpan_(std::clamp<int64_t>(minimumSpan, 1, std::max<int64_t>(count_, 1))) {
  Reset();
}

void GraphViewport::Show(int64_t begin, int64_t end) {
  if (count_ == 0) {
    begin_ = end_ = 0;
    return;
  }
  const int64_t span = std::clamp(end - begin, minimumSpan_, count_);
  begin_ = std::clamp<int64_t>(begin, 0, count_ - span);
  end_ = begin_ + span;
}

void GraphViewport::Zoom(double factor, double anchor) {
  anchor = std::clamp(anchor, 0.0, 1.0);
  const double anchorRecord = static_cast<double>(begin_) + anchor * static_cast<double>(Span());
  const double span = std::clamp(std::round(static_cast<double>(Span()) * factor),
                                 static_cast<double>(minimumSpan_),
                                 static_cast<double>(std::max<int64_t>(count_, 1)));
  const int64_t begin = std::llround(anchorRecord - anchor * span);
  Show(begin, begin + static_cast<int64_t>(span));
}

void GraphViewport::MoveTo(int64_t begin) { Show(begin, begin + Span()); }

}  // namespace tessaro
