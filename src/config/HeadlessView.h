#pragma once
// The main window's state without a window: field texts, colours, combo boxes, buttons,
// the progress bar and the address members as plain values, with the real field
// validation. Faces other than the window (the command-line program, a verification
// read beside the window) derive from it and supply the exchange, the boxes and the
// pauses; the procedures run on it unchanged.
#include <array>
#include <string>

#include "config/FieldValidation.h"
#include "config/MainView.h"

namespace kolvaro {

class HeadlessView : public MainView {
 public:
  // Starts as the window's design has it: own address 15.15.254, device 15.15.255,
  // no groups, the first item of every combo box, the members to match.
  HeadlessView();

  std::string fieldText(Field field) const override { return texts_[at(field)]; }
  void setFieldText(Field field, const std::string& text) override { texts_[at(field)] = text; }
  void setFieldColour(Field field, std::uint32_t bgr) override { colours_[at(field)] = bgr; }
  int comboIndex(Combo combo) const override { return combos_[at(combo)]; }
  void setComboIndex(Combo combo, int index) override { combos_[at(combo)] = index; }
  void setComboColour(Combo combo, std::uint32_t bgr) override { comboColours_[at(combo)] = bgr; }
  int progressPosition() const override { return progress_; }
  void setProgressPosition(int position) override;
  void setProgressStep(int step) override { step_ = step; }
  void stepProgress() override { setProgressPosition(progress_ + step_); }
  bool buttonEnabled(Button button) const override { return buttons_[static_cast<std::size_t>(button)]; }
  void setButtonEnabled(Button button, bool enabled) override { buttons_[static_cast<std::size_t>(button)] = enabled; }
  AddressMembers& members() override { return members_; }
  void runValidation() override { validation_.Addr_MaskEditExit(); }

  std::uint16_t ownAddress() const { return static_cast<std::uint16_t>(members_.Local_phAddr); }
  std::uint32_t fieldColour(Field field) const { return colours_[at(field)]; }
  std::uint32_t comboColour(Combo combo) const { return comboColours_[at(combo)]; }

 protected:
  // Each position the bar takes, held to 0..96 as the window's bar holds it.
  virtual void progressMoved(int /*position*/) {}

 private:
  static std::size_t at(Field field) { return static_cast<std::size_t>(field); }
  static std::size_t at(Combo combo) { return static_cast<std::size_t>(combo); }

  std::array<std::string, FieldCount> texts_;
  std::array<std::uint32_t, FieldCount> colours_{};
  std::array<int, ComboCount> combos_{};
  std::array<std::uint32_t, ComboCount> comboColours_{};
  std::array<bool, 4> buttons_{true, true, true, true};
  int progress_ = 0;
  int step_ = 6;
  AddressMembers members_;
  FieldValidation validation_{*this};
};

}  // namespace kolvaro
