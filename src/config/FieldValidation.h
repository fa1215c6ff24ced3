#pragma once
// The validation of the eleven address fields: corrects what is wrong, colours every
// field by its state, beeps once per correction and recomputes the address members.
#include <cstdint>
#include <optional>
#include <string>

#include "config/MainView.h"
#include "telegram/AddressText.h"

namespace kolvaro {

class FieldValidation {
 public:
  explicit FieldValidation(MainView& view) : view_(view) {}

  // A validation run over all eleven fields (the OnExit handler of every field).
  void Addr_MaskEditExit();
  // The OnChange handler of the fields and the two program combo boxes. sender is the
  // field that changed; nothing for a combo box or a call without a sender.
  void Addr_MaskEditChange(std::optional<Field> sender);
  // The OnClick handler of both program combo boxes.
  void OUT1_Prog_ComboBoxClick();

 private:
  // Each returns what the member receives, from the text as it stands after correction.
  std::uint32_t validatePhysical(Field field, std::uint32_t validColour);
  GroupBytes validateGroup(Field field);
  void replaceText(Field field, const std::string& text);

  MainView& view_;
  bool running_ = false;  // a run in progress: the changes its own corrections cause start no nested run
};

}  // namespace kolvaro
