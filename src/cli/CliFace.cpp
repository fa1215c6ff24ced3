#include "cli/CliFace.h"

#include <iostream>

#include "cli/CliWords.h"
#include "cli/ProgressLine.h"
#include "config/SessionBoxes.h"

namespace kolvaro::cli {

namespace {

// A box's text as one line, behind its caption, in the language in force.
void printLine(const SessionBox& box) {
  std::string text = say(box.text);
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  std::cerr << "[" << (box.caption ? say(box.caption) : std::string("Kolvaro")) << "] " << text;
}

bool answer(Question question, const Stages& stages) {
  switch (question) {
    case Question::ConfigureDespiteTakenAddress: return stages.address;
    case Question::WriteGroupTable: return stages.groups;
    case Question::WritePrograms: return stages.programs;
    case Question::WriteInputMode: return stages.inputs;
    case Question::ReadPrograms:
    case Question::ReadInputMode: return true;
  }
  return false;
}

}  // namespace

// The write's questions are shown with the answer the options gave; a read reads
// everything, so its questions are answered without a line.
bool CliFace::ask(Question question) {
  const bool yes = answer(question, stages_);
  if (question == Question::ReadPrograms || question == Question::ReadInputMode) return yes;
  progress_.interrupt();
  printLine(BoxOf(question));
  std::cerr << " -> " << say(yes ? KOLVARO_TRANSLATABLE("Kolvaro", "Tak") : KOLVARO_TRANSLATABLE("Kolvaro", "Nie"))
            << std::endl;
  return yes;
}

void CliFace::tell(Message message) {
  progress_.interrupt();
  printLine(BoxOf(message));
  std::cerr << std::endl;
}

void CliFace::progress(int position) { progress_.draw(position, ProgressFull); }

}  // namespace kolvaro::cli
