#pragma once
// Why a frame the interface passed on during a wait was, or was not, taken as the
// answer. Each received frame gets exactly one judgement, made where it is received.
namespace kolvaro {

enum class FrameJudgement {
  Accepted,
  OwnEcho,           // our own frame coming back from the interface
  OtherDestination,  // a group frame, or one for another station
  WrongService,      // for us, but not the service awaited
  OtherSource,       // for us and the service awaited, but not from the device asked
  BadChecksum,
  Incomplete,  // the wait ended while the frame was still arriving
};

const char* JudgementText(FrameJudgement judgement);  // Polish words

}  // namespace kolvaro
