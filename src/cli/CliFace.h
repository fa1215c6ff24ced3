#pragma once
// kolvaro-cli's face of the device session: questions answered from the command line's
// options, each question and message one line on standard error, the progress on the
// terminal's bar, and the values from the configuration the command was given.
#include "cli/CliOptions.h"
#include "config/SessionFace.h"

namespace kolvaro::cli {

class ProgressLine;

class CliFace : public SessionFace {
 public:
  // `stages`: which of the write's questions are answered Yes; a read's questions always are.
  CliFace(ProgressLine& progress, SessionValues values, Stages stages)
      : progress_(progress), values_(values), stages_(stages) {}

  bool ask(Question question) override;
  void tell(Message message) override;
  void progress(int position) override;
  SessionValues values(bool /*checked*/) override { return values_; }
  // Through a tunnel our address is the one the server assigned.
  void setLocal(std::uint16_t local) { values_.local = local; }

 private:
  ProgressLine& progress_;
  SessionValues values_;
  Stages stages_;
};

}  // namespace kolvaro::cli
