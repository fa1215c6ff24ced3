#include "config/FieldValidation.h"

#include <iterator>

#include "platform/Platform.h"
#include "telegram/AddressText.h"

namespace kolvaro {

namespace {

AddressKind kindOf(Field field) {
  return field == Field::Local_phAddr || field == Field::phAddr ? AddressKind::Physical : AddressKind::Group;
}

// Marks a run in progress for as long as it lasts, also if the view throws.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void FieldValidation::Addr_MaskEditExit() {
  // The view may report our own corrections as changes; a run started from inside
  // this one would find the corrected texts valid and turn their red back.
  if (running_) return;
  RunningFlag flag(running_);

  for (int c = 0; c < ComboCount; ++c) view_.setComboColour(static_cast<Combo>(c), colour::Black);

  AddressMembers& members = view_.members();
  members.Local_phAddr = validatePhysical(Field::Local_phAddr, colour::Teal);
  members.Terminal_phAddr = validatePhysical(Field::phAddr, colour::Black);
  for (std::size_t entry = 0; entry < std::size(GroupFields); ++entry) {
    const GroupBytes bytes = validateGroup(GroupFields[entry]);
    members.GrAddr_Bytes[2 * entry] = bytes[0];
    members.GrAddr_Bytes[2 * entry + 1] = bytes[1];
  }
}

void FieldValidation::Addr_MaskEditChange(std::optional<Field> sender) {
  // The read procedure disables Read while it fills the fields itself.
  if (!view_.buttonEnabled(Button::Read)) return;
  for (int c = 0; c < ComboCount; ++c) view_.setComboColour(static_cast<Combo>(c), colour::Black);
  if (sender && IsComplete(kindOf(*sender), view_.fieldText(*sender))) Addr_MaskEditExit();
}

void FieldValidation::OUT1_Prog_ComboBoxClick() { Addr_MaskEditExit(); }

std::uint32_t FieldValidation::validatePhysical(Field field, std::uint32_t validColour) {
  if (const auto value = PhysicalTextToValue(view_.fieldText(field))) {
    view_.setFieldColour(field, validColour);
    return *value;
  }
  replaceText(field, PhysicalCorrectionText);
  view_.setFieldColour(field, colour::Red);
  platform().beep();
  return *PhysicalTextToValue(PhysicalCorrectionText);
}

GroupBytes FieldValidation::validateGroup(Field field) {
  const std::string text = view_.fieldText(field);
  const auto parts = ReadAddressParts(AddressKind::Group, text);
  if (!parts) {
    // An incomplete group field means "no group": emptied quietly, not an error.
    replaceText(field, EmptyGroupText);
    view_.setFieldColour(field, colour::Gray);
    return {NoGroupByte, NoGroupByte};
  }
  if (!IsInRange(AddressKind::Group, *parts)) {
    replaceText(field, GroupCorrectionText);
    view_.setFieldColour(field, colour::Red);
    platform().beep();
    return *GroupTextToBytes(GroupCorrectionText);
  }
  view_.setFieldColour(field, colour::Black);
  return *GroupTextToBytes(text);
}

void FieldValidation::replaceText(Field field, const std::string& text) {
  // Writing the text a field already holds would only fire another change event.
  if (view_.fieldText(field) != text) view_.setFieldText(field, text);
}

}  // namespace kolvaro
