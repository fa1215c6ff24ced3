#pragma once
// A recording stand-in for the main window, for tests of the validation and of the
// window's face of the device session. It keeps every field, combo box, button and the
// progress bar as plain values, records what the code under test did to them and runs
// the real field validation.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/FieldValidation.h"
#include "config/MainView.h"
#include "support/RecordingPlatform.h"
#include "telegram/ExchangeTerms.h"

namespace kolvaro::test {

struct SentTelegram {
  std::string telegram;
  std::int32_t waitLimit = 0;
  std::uint8_t answerCode = 0;
  ExchangeMode mode = ExchangeMode::Answer;
  friend bool operator==(const SentTelegram&, const SentTelegram&) = default;
};

class FakeMainView : public MainView {
 public:
  FakeMainView();

  // MainView
  std::string fieldText(Field field) const override { return texts[index(field)]; }
  void setFieldText(Field field, const std::string& text) override;
  void setFieldColour(Field field, std::uint32_t bgr) override { colours[index(field)] = bgr; }
  int comboIndex(Combo combo) const override { return comboIndexes[index(combo)]; }
  void setComboIndex(Combo combo, int value) override { comboIndexes[index(combo)] = value; }
  void setComboColour(Combo combo, std::uint32_t bgr) override { comboColours[index(combo)] = bgr; }
  int progressPosition() const override { return progress; }
  void setProgressPosition(int position) override;
  bool buttonEnabled(Button button) const override { return buttons[index(button)]; }
  void setButtonEnabled(Button button, bool enabled) override { buttons[index(button)] = enabled; }
  AddressMembers& members() override { return addressMembers; }
  void runValidation() override;

  // Convenience
  std::string& text(Field field) { return texts[index(field)]; }
  std::uint32_t colour(Field field) const { return colours[index(field)]; }
  std::uint32_t colour(Combo combo) const { return comboColours[index(combo)]; }

  // State, starting as the window's design has it.
  std::array<std::string, FieldCount> texts;
  std::array<std::uint32_t, FieldCount> colours{};
  std::array<int, ComboCount> comboIndexes{};
  std::array<std::uint32_t, ComboCount> comboColours{};
  std::array<bool, 4> buttons{true, true, true, true};
  int progress = 0;
  AddressMembers addressMembers;

  // Message boxes, beeps and pauses go through the platform seam: this platform is
  // installed for the view's lifetime, so its record holds the procedures' boxes and the
  // exchange's and the port's alike, in order, answered from its script.
  RecordingPlatform platform;

  // Records.
  std::vector<int> progressHistory;    // every position the bar took, in order
  std::vector<Field> fieldTextWrites;  // every setFieldText, in order
  std::vector<SentTelegram> sent;
  int validationRuns = 0;  // calls of runValidation
  int& beeps = platform.beeps;
  std::vector<unsigned>& pauses = platform.sleeps;

  // Hooks.
  std::function<void(Field)> onFieldTextSet;  // after a text is set, as a toolkit's change event
  FieldValidation validation{*this};

 private:
  ScopedPlatform installed_{platform};
  static std::size_t index(Field f) { return static_cast<std::size_t>(f); }
  static std::size_t index(Combo c) { return static_cast<std::size_t>(c); }
  static std::size_t index(Button b) { return static_cast<std::size_t>(b); }
};

}  // namespace kolvaro::test
