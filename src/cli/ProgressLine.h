#pragma once
// The progress bar of kolvaro-cli: one line on standard error, redrawn in place, only
// when standard error is a terminal (a log file or a pipe gets no bar).
#include <cstdio>

namespace kolvaro::cli {

class ProgressLine {
 public:
  // `enabled`: draw at all (normally: standard error is a terminal).
  explicit ProgressLine(bool enabled) : enabled_(enabled) {}
  static bool standardErrorIsTerminal();

  // The bar at `position` of `maximum`.
  void draw(int position, int maximum);
  // Ends the bar's line, so that the next line of text starts on a line of its own.
  void interrupt();
  bool enabled() const { return enabled_; }

 private:
  bool enabled_;
  bool shown_ = false;
  int lastPosition_ = -1;
};

}  // namespace kolvaro::cli
