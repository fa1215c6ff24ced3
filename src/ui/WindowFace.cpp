#include "ui/WindowFace.h"

#include <array>

#include "config/FieldValidation.h"
#include "config/ProcedureSupport.h"
#include "config/SessionBoxes.h"

namespace kolvaro {

namespace {

constexpr Combo ProgramCombos[2] = {Combo::OUT1_Prog, Combo::OUT2_Prog};
// The on/off panel's group: the last of the nine (high, low) pairs in GrAddr_Bytes.
constexpr std::size_t OnOffGroupByte = 2 * (std::size(GroupFields) - 1);

// A copy of the window's entries, for working out what they give without touching it.
class EntriesCopy : public MainView {
 public:
  explicit EntriesCopy(const MainView& window) {
    for (int f = 0; f < FieldCount; ++f) texts_[f] = window.fieldText(static_cast<Field>(f));
    for (int c = 0; c < ComboCount; ++c) combos_[c] = window.comboIndex(static_cast<Combo>(c));
  }
  std::string fieldText(Field field) const override { return texts_[static_cast<std::size_t>(field)]; }
  void setFieldText(Field field, const std::string& text) override { texts_[static_cast<std::size_t>(field)] = text; }
  void setFieldColour(Field, std::uint32_t) override {}
  int comboIndex(Combo combo) const override { return combos_[static_cast<std::size_t>(combo)]; }
  void setComboIndex(Combo combo, int index) override { combos_[static_cast<std::size_t>(combo)] = index; }
  void setComboColour(Combo, std::uint32_t) override {}
  int progressPosition() const override { return 0; }
  void setProgressPosition(int) override {}
  bool buttonEnabled(Button) const override { return true; }
  void setButtonEnabled(Button, bool) override {}
  AddressMembers& members() override { return members_; }
  void runValidation() override { validation_.Addr_MaskEditExit(); }

 private:
  std::array<std::string, FieldCount> texts_;
  std::array<int, ComboCount> combos_{};
  AddressMembers members_;
  FieldValidation validation_{*this};
};

}  // namespace

bool WindowFace::ask(Question question) { return AskWithBox(question); }

void WindowFace::tell(Message message) { TellWithBox(message); }

SessionValues WindowFace::values(bool checked) {
  if (checked) window_.runValidation();
  const AddressMembers& members = window_.members();
  SessionValues now;
  now.local = static_cast<std::uint16_t>(members.Local_phAddr);
  now.device = static_cast<std::uint16_t>(members.Terminal_phAddr);
  std::copy_n(members.GrAddr_Bytes.begin(), now.table.size(), now.table.begin());
  for (int output = 0; output < 2; ++output) now.programs[output] = window_.comboIndex(ProgramCombos[output]);
  now.inputMode = window_.comboIndex(Combo::MONO_BI);
  return now;
}

// The bytes go straight into the members, without a validation run; a field shows its
// entry once both bytes are in. The combo boxes turn gray once read.
void WindowFace::valueRead(const ReadValue& value) {
  switch (value.item) {
    case ReadValue::Item::DeviceAddress:
      window_.setFieldText(Field::phAddr, PhysicalValueToText(static_cast<std::uint16_t>(value.value)));
      break;
    case ReadValue::Item::TableByte: {
      auto& table = window_.members().GrAddr_Bytes;
      table[value.index] = static_cast<std::uint8_t>(value.value);
      if (value.index % 2 == 0) {
        window_.setFieldText(GroupFields[value.index / 2],
                             GroupBytesToText(table[value.index], table[value.index + 1]));
      }
      break;
    }
    case ReadValue::Item::Program:
      window_.setComboIndex(ProgramCombos[value.index], static_cast<int>(value.value));
      if (value.index == 1) {
        for (Combo combo : ProgramCombos) window_.setComboColour(combo, colour::Gray);
      }
      break;
    case ReadValue::Item::InputMode:
      window_.setComboIndex(Combo::MONO_BI, static_cast<int>(value.value));
      window_.setComboColour(Combo::MONO_BI, colour::Gray);
      break;
  }
}

void WindowFace::write(DeviceSession& session) {
  procedure::BusRunGuard guard(&window_);
  if (!guard.acquired()) return;
  // A read leaves "??.??.???" until it has read an address; a write must not start
  // from it. The validation runs either way.
  const bool addressUnknown = window_.fieldText(Field::phAddr) == UnknownPhysicalText;
  window_.runValidation();
  if (addressUnknown) return;

  window_.setButtonEnabled(Button::Write, false);
  session.write();
  window_.setButtonEnabled(Button::Write, true);
}

void WindowFace::read(DeviceSession& session) {
  procedure::BusRunGuard guard(&window_);
  if (!guard.acquired()) return;

  window_.setFieldText(Field::phAddr, UnknownPhysicalText);
  for (int entry = 0; entry < TableEntryCount; ++entry) window_.setFieldText(GroupFields[entry], EmptyGroupText);
  // Read is disabled only now: the texts above are incomplete, so they start no
  // validation, and while Read is disabled the field changes of the run start none.
  window_.setButtonEnabled(Button::Read, false);
  const ReadResult result = session.read();
  window_.setButtonEnabled(Button::Read, true);
  if (!result.reachedEnd) return;
  // The address and the table are shown as read from the device.
  window_.setFieldColour(Field::phAddr, colour::Gray);
  for (int entry = 0; entry < TableEntryCount; ++entry) window_.setFieldColour(GroupFields[entry], colour::Gray);
}

// The group is the one the last validation run left in the members; an empty field
// switches nothing.
void WindowFace::switchGroup(DeviceSession& session, bool on) {
  procedure::BusRunGuard guard(&window_);
  if (!guard.acquired()) return;
  std::optional<GroupBytes> group;
  if (window_.fieldText(Field::OnOffGroup) != EmptyGroupText) {
    const auto& bytes = window_.members().GrAddr_Bytes;
    group = GroupBytes{bytes[OnOffGroupByte], bytes[OnOffGroupByte + 1]};
  }
  session.switchGroup(group, on);
}

DeviceConfiguration ConfigurationOfWindow(MainView& window) {
  window.runValidation();
  const AddressMembers& members = window.members();
  DeviceConfiguration configuration;
  configuration.physicalAddress = static_cast<std::uint16_t>(members.Terminal_phAddr);
  for (int entry = 0; entry < TableEntryCount; ++entry) {
    configuration.groups[static_cast<std::size_t>(entry)] = {members.GrAddr_Bytes[2 * entry],
                                                             members.GrAddr_Bytes[2 * entry + 1]};
  }
  for (int output = 0; output < 2; ++output) configuration.programs[output] = window.comboIndex(ProgramCombos[output]);
  configuration.inputMode = window.comboIndex(Combo::MONO_BI);
  return configuration;
}

DeviceConfiguration ConfigurationShownBy(const MainView& window) {
  EntriesCopy copy(window);
  return ConfigurationOfWindow(copy);
}

void ShowConfiguration(MainView& window, const DeviceConfiguration& configuration) {
  window.setFieldText(Field::phAddr, PhysicalValueToText(configuration.physicalAddress));
  for (int entry = 0; entry < TableEntryCount; ++entry) {
    const GroupBytes& group = configuration.groups[static_cast<std::size_t>(entry)];
    window.setFieldText(GroupFields[entry], GroupBytesToText(group[0], group[1]));
  }
  for (int output = 0; output < 2; ++output)
    window.setComboIndex(ProgramCombos[output], configuration.programs[output]);
  window.setComboIndex(Combo::MONO_BI, configuration.inputMode);
  window.runValidation();
}

}  // namespace kolvaro
