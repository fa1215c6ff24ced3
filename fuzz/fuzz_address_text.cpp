// Any 8- or 9-character texts into the eleven address fields, then a validation run
// (directly, or from the change handler with corrections re-entering it): no crash,
// and afterwards every text is complete and in range or the empty group text, and
// the members hold exactly what the texts say.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "support/FakeMainView.h"
#include "telegram/AddressText.h"

namespace {

using namespace kolvaro;

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "violated: %s\n", what);
    __builtin_trap();
  }
}

AddressKind kindOf(int field) { return field < 2 ? AddressKind::Physical : AddressKind::Group; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  std::size_t at = 1;

  test::FakeMainView view;
  const bool readEnabled = (control & 0x80) == 0;
  view.setButtonEnabled(Button::Read, readEnabled);
  if (control & 0x40) {
    view.onFieldTextSet = [&view](Field f) { view.validation.Addr_MaskEditChange(f); };
  }
  for (int f = 0; f < FieldCount; ++f) {
    // Each field takes 8 or 9 characters, as the next byte's low bit says.
    if (at >= size) break;
    const std::size_t length = 8 + (data[at++] & 1);
    std::string text;
    for (std::size_t i = 0; i < length && at < size; ++i) text += static_cast<char>(data[at++]);
    view.texts[static_cast<std::size_t>(f)] = text;
  }
  const auto textsBefore = view.texts;
  const auto coloursBefore = view.colours;

  const int sender = control & 0x0F;
  if (control & 0x20) {
    view.validation.Addr_MaskEditExit();
  } else {
    view.validation.Addr_MaskEditChange(sender < FieldCount ? std::optional<Field>(static_cast<Field>(sender))
                                                            : std::nullopt);
  }
  const bool ran = (control & 0x20) != 0 || (readEnabled && sender < FieldCount &&
                                             IsComplete(kindOf(sender), textsBefore[static_cast<std::size_t>(sender)]));
  if (!ran) {
    require(view.texts == textsBefore && view.colours == coloursBefore && view.beeps == 0, "no run, no change");
    return 0;
  }

  const AddressMembers& m = view.addressMembers;
  require(m.Local_phAddr <= 0xFFFF && m.Terminal_phAddr <= 0xFFFF, "physical members in range");
  require(PhysicalTextToValue(view.texts[0]) == m.Local_phAddr, "Local_phAddr matches its text");
  require(PhysicalTextToValue(view.texts[1]) == m.Terminal_phAddr, "Terminal_phAddr matches its text");
  int corrected = 0;
  for (int f = 0; f < FieldCount; ++f) {
    const auto& text = view.texts[static_cast<std::size_t>(f)];
    if (text != textsBefore[static_cast<std::size_t>(f)] && text != EmptyGroupText) ++corrected;
    require((view.colours[static_cast<std::size_t>(f)] == colour::Red) ==
                (text != textsBefore[static_cast<std::size_t>(f)] && text != EmptyGroupText),
            "red exactly where corrected");
    if (f < 2) continue;
    const std::size_t entry = static_cast<std::size_t>(f - 2);
    const std::uint8_t high = m.GrAddr_Bytes[2 * entry];
    const std::uint8_t low = m.GrAddr_Bytes[2 * entry + 1];
    if (text == EmptyGroupText) {
      require(high == 0xFF && low == 0xFF, "empty text, no group");
    } else {
      const auto bytes = GroupTextToBytes(text);
      require(bytes.has_value(), "group text complete and in range");
      require(high <= 0x7F && (*bytes)[0] == high && (*bytes)[1] == low, "group entry matches its text");
    }
  }
  require(view.beeps == corrected, "one beep per corrected field");
  return 0;
}
