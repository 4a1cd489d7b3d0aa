#pragma once
// The run of records the graph shows: all of them at first, narrowed by
// zooming around a point, moved by panning, always inside the file and at
// least a few records wide.

#include <cstdint>

namespace tessaro {

class GraphViewport {
 public:
  explicit GraphViewport(int64_t recordCount, int64_t minimumSpan = 8);

  int64_t Begin() const { return begin_; }
  int64_t End() const { return end_; }  // one past the last record shown
  int64_t Span() const { return end_ - begin_; }
  bool ShowsAll() const { return begin_ == 0 && end_ == count_; }

  // Shows [begin, end), clamped into the file.
  void Show(int64_t begin, int64_t end);
  // Scales the span by factor (below 1 zooms in); the record at anchor
  // (0 = left edge, 1 = right edge of the view) stays where it is.
  void Zoom(double factor, double anchor);
  // Shows the same span starting at begin, clamped into the file.
  void MoveTo(int64_t begin);
  void Reset() { Show(0, count_); }

 private:
  int64_t count_;
  int64_t minimumSpan_;
  int64_t begin_ = 0;
  int64_t end_ = 0;
};

}  // namespace tessaro
