#pragma once
// The seam below the device session: a request is a frame and what is awaited after it;
// the reply says what happened, with the answer frames. The serial interface chip's
// exchange is one implementation; nothing above the seam knows which one it talks to.
#include <cstdint>
#include <optional>
#include <vector>

#include "telegram/Frame.h"
#include "telegram/InterfaceTest.h"

namespace kolvaro {

enum class Awaited {
  Nothing,        // send, and return at once
  Confirmation,   // send, then wait for the interface's confirmation that it went out
  Answer,         // send, then wait for an answer frame
  FurtherAnswer,  // send nothing: wait for another answer to the request sent before
};

struct Request {
  Frame frame;  // not sent when only a further answer is awaited
  Awaited awaited = Awaited::Confirmation;
  AnswerWanted answer;  // for Answer and FurtherAnswer
  // How long the wait lasts, in ticks of the one-second timer; 0: no limit.
  std::int32_t waitTicks = 1;

  static Request sendOnly(Frame frame) { return {std::move(frame), Awaited::Nothing, {}, 0}; }
  static Request confirmed(Frame frame) { return {std::move(frame), Awaited::Confirmation, {}, 1}; }
  static Request answered(Frame frame, AnswerWanted wanted) { return {std::move(frame), Awaited::Answer, wanted, 1}; }
  static Request furtherAnswer(AnswerWanted wanted) { return {Frame{}, Awaited::FurtherAnswer, wanted, 1}; }
};

enum class Outcome {
  Acknowledged,  // the interface confirmed that the frame went out on the bus
  Answered,      // an answer came; it is in Reply::answers
  NoReply,       // the wait ended first (at once for Awaited::Nothing)
  Error,         // the frame could not be handed to the interface
};

struct Reply {
  Outcome outcome = Outcome::NoReply;
  std::vector<Frame> answers;  // the answer taken; in a confirmation wait, those seen meanwhile
  const Frame* answer() const { return answers.empty() ? nullptr : &answers.back(); }
};

// The words of an outcome for the log: "ACK", "NoReply", "Error", or the answer's digits.
std::string ReplyText(const Reply& reply);

class BusRequests {
 public:
  virtual ~BusRequests() = default;
  virtual Reply request(const Request& request) = 0;
  // Asks the interface itself how it is; its answer, or that none came.
  virtual ChipState testInterface() = 0;
};

}  // namespace kolvaro
