#pragma once
// The message box that shows each of the session's questions and messages in the
// window: its text, caption and flags, exactly as the window has always shown them.
// The texts are marked for translation; a face that shows them translates at the box.
#include "config/SessionFace.h"
#include "platform/Platform.h"

namespace kolvaro {

struct SessionBox {
  const char* text;
  const char* caption;  // null: the platform's default title
  unsigned flags;
};

// Every box of the bus procedures is task-modal and topmost.
namespace box {
inline constexpr unsigned Base = mb::TaskModal | mb::Topmost;
inline constexpr unsigned Error = Base | mb::IconError;                                                  // 0x42010
inline constexpr unsigned Notice = Base | mb::IconInformation;                                           // 0x42040
inline constexpr unsigned Question = Base | mb::YesNo | mb::IconQuestion;                                // 0x42024
inline constexpr unsigned QuestionNoByDefault = Question | mb::DefButton2;                               // 0x42124
inline constexpr unsigned ErrorQuestionNoByDefault = Base | mb::YesNo | mb::IconError | mb::DefButton2;  // 0x42114
}  // namespace box

SessionBox BoxOf(Question question);
SessionBox BoxOf(Message message);

// Shows the box through the platform: a question counts as answered Yes only on Yes.
bool AskWithBox(Question question);
void TellWithBox(Message message);

}  // namespace kolvaro
