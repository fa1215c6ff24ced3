#include <gtest/gtest.h>

#include <map>

#include "support/FakeMainView.h"
#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

using test::FakeMainView;
constexpr std::uint32_t Teal = colour::Teal, Black = colour::Black, Red = colour::Red, Gray = colour::Gray;
const std::string Empty = EmptyGroupText;

std::array<std::uint8_t, 18> entries(std::initializer_list<std::uint8_t> bytes) {
  std::array<std::uint8_t, 18> out{};
  std::copy(bytes.begin(), bytes.end(), out.begin());
  return out;
}

TEST(FieldValidationTest, DesignTextsGiveTheStartUpMembers) {
  FakeMainView view;
  view.validation.Addr_MaskEditChange(std::nullopt);
  view.validation.Addr_MaskEditExit();
  EXPECT_EQ(view.addressMembers.Local_phAddr, 0xFFFEu);
  EXPECT_EQ(view.addressMembers.Terminal_phAddr, 0xFFFFu);
  EXPECT_EQ(view.addressMembers.GrAddr_Bytes, entries({0x00, 0x01, 0x00, 0x02, 0x00, 0x02, 0xFF, 0xFF, 0x00, 0x02, 0xFF,
                                                       0xFF, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}));
  const std::uint32_t expected[FieldCount] = {Teal, Black, Black, Black, Black, Gray, Black, Gray, Black, Gray, Gray};
  for (int f = 0; f < FieldCount; ++f) EXPECT_EQ(view.colours[f], expected[f]) << "field " << f;
  EXPECT_EQ(view.beeps, 0);
  EXPECT_TRUE(view.fieldTextWrites.empty());  // nothing needed replacing
}

// One field set to a text, one run: what the field, its entry and the beeper show.
struct FieldCase {
  Field field;
  const char* text;
  const char* after;
  std::uint32_t colour;
  int beeps;
  std::uint32_t value;  // physical: the member; group: high * 256 + low
};

TEST(FieldValidationTest, EachFieldCorrectedColouredAndConverted) {
  const FieldCase cases[] = {
      {Field::Local_phAddr, "16.00.001", "15.15.255", Red, 1, 0xFFFF},
      {Field::Local_phAddr, "01.01.005", "01.01.005", Teal, 0, 0x1105},
      {Field::Local_phAddr, " 1. 1.  5", " 1. 1.  5", Teal, 0, 0x1105},  // kept as typed
      {Field::Local_phAddr, "  .  .   ", "15.15.255", Red, 1, 0xFFFF},
      {Field::phAddr, "??.??.???", "15.15.255", Red, 1, 0xFFFF},
      {Field::phAddr, "1 .01.005", "15.15.255", Red, 1, 0xFFFF},
      {Field::phAddr, "15.15.256", "15.15.255", Red, 1, 0xFFFF},
      {Field::phAddr, "00.00.000", "00.00.000", Black, 0, 0x0000},
      {Field::IN_1_1, "05\\ \\   ", "  \\ \\   ", Gray, 0, 0xFFFF},
      {Field::IN_1_2, "03\\8\\001", "15\\7\\255", Red, 1, 0x7FFF},
      {Field::IN_2_1, "15\\7\\255", "15\\7\\255", Black, 0, 0x7FFF},
      {Field::IN_2_2, "16\\0\\000", "15\\7\\255", Red, 1, 0x7FFF},
      {Field::OUT_1_1, " 1\\2\\  3", " 1\\2\\  3", Black, 0, 0x0A03},
      {Field::OUT_1_2, "00\\0\\1 1", "  \\ \\   ", Gray, 0, 0xFFFF},
      {Field::OUT_2_1, "00\\0\\256", "15\\7\\255", Red, 1, 0x7FFF},
      {Field::OUT_2_2, "00\\0\\000", "00\\0\\000", Black, 0, 0x0000},
      {Field::OnOffGroup, "00\\0\\002", "00\\0\\002", Black, 0, 0x0002},
      {Field::OnOffGroup, "??\\?\\???", "  \\ \\   ", Gray, 0, 0xFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    FakeMainView view;
    view.text(c.field) = c.text;
    view.validation.Addr_MaskEditExit();
    EXPECT_EQ(view.fieldText(c.field), c.after);
    EXPECT_EQ(view.colour(c.field), c.colour);
    EXPECT_EQ(view.beeps, c.beeps);
    const auto& m = view.addressMembers;
    std::uint32_t value = 0;
    if (c.field == Field::Local_phAddr) {
      value = m.Local_phAddr;
    } else if (c.field == Field::phAddr) {
      value = m.Terminal_phAddr;
    } else {
      const auto entry = static_cast<std::size_t>(c.field) - 2;
      value = static_cast<std::uint32_t>(m.GrAddr_Bytes[2 * entry] << 8 | m.GrAddr_Bytes[2 * entry + 1]);
    }
    EXPECT_EQ(value, c.value);
  }
}

TEST(FieldValidationTest, EveryCorrectedFieldBeepsOnceAndStaysRed) {
  FakeMainView view;
  view.text(Field::Local_phAddr) = "16.00.001";
  view.text(Field::IN_1_1) = "03\\8\\001";
  view.text(Field::OnOffGroup) = "05\\ \\   ";
  view.validation.Addr_MaskEditExit();
  EXPECT_EQ(view.beeps, 2);
  EXPECT_EQ(view.colour(Field::Local_phAddr), Red);
  EXPECT_EQ(view.colour(Field::IN_1_1), Red);
  EXPECT_EQ(view.colour(Field::OnOffGroup), Gray);
  EXPECT_EQ(view.addressMembers.Local_phAddr, 0xFFFFu);

  // The next run finds the corrections valid and gives them their valid colours.
  view.validation.Addr_MaskEditExit();
  EXPECT_EQ(view.beeps, 2);
  EXPECT_EQ(view.colour(Field::Local_phAddr), Teal);
  EXPECT_EQ(view.colour(Field::IN_1_1), Black);
}

TEST(FieldValidationTest, ChangeHandler) {
  struct Case {
    const char* name;
    bool readEnabled;
    std::optional<Field> sender;
    const char* senderText;
    bool runs;
  };
  const Case cases[] = {
      {"complete field runs", true, Field::phAddr, "16.01.001", true},
      {"partly typed field waits", true, Field::phAddr, "16.01.00 ", false},
      {"partly typed group waits", true, Field::OUT_1_1, "05\\1\\   ", false},
      {"complete group runs, range not tested first", true, Field::OUT_1_1, "05\\9\\001", true},
      {"combo box only recolours", true, std::nullopt, "16.01.001", false},
      {"nothing while Read is disabled", false, Field::phAddr, "16.01.001", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeMainView view;
    view.comboColours.fill(Gray);
    view.setButtonEnabled(Button::Read, c.readEnabled);
    view.text(c.sender.value_or(Field::phAddr)) = c.senderText;
    view.text(Field::IN_1_2) = "05\\ \\   ";  // any run empties this one
    view.validation.Addr_MaskEditChange(c.sender);

    EXPECT_EQ(view.fieldText(Field::IN_1_2) == Empty, c.runs);
    EXPECT_EQ(view.beeps, c.runs ? 1 : 0);
    for (int k = 0; k < ComboCount; ++k) EXPECT_EQ(view.comboColours[k], c.readEnabled ? Black : Gray);
    if (!c.readEnabled) {
      for (auto colour : view.colours) EXPECT_EQ(colour, Teal);
    }
  }
}

TEST(FieldValidationTest, ComboBoxClickRuns) {
  FakeMainView view;
  view.comboColours.fill(Gray);
  view.text(Field::phAddr) = "??.??.???";
  view.validation.OUT1_Prog_ComboBoxClick();
  EXPECT_EQ(view.fieldText(Field::phAddr), "15.15.255");
  for (auto colour : view.comboColours) EXPECT_EQ(colour, Black);
}

// A toolkit whose change event also fires for texts the program sets: every
// correction re-enters the change handler, and the end state must not change.
TEST(FieldValidationTest, CorrectionsFiringChangeEventsStartNoNestedRun) {
  auto validateWrongTexts = [](FakeMainView& view) {
    view.text(Field::Local_phAddr) = "16.00.001";
    view.text(Field::phAddr) = "??.??.???";
    view.text(Field::IN_2_2) = "03\\8\\001";
    view.text(Field::OUT_1_1) = "05\\ \\   ";
    view.validation.Addr_MaskEditExit();
  };
  // Beeps go to the platform installed last, so each view runs while it is the last one made.
  FakeMainView plain;
  validateWrongTexts(plain);
  EXPECT_EQ(plain.beeps, 3);
  FakeMainView nested;
  int reentries = 0;
  nested.onFieldTextSet = [&](Field f) {
    ++reentries;
    nested.validation.Addr_MaskEditChange(f);
  };
  validateWrongTexts(nested);
  EXPECT_EQ(reentries, 4);
  EXPECT_EQ(nested.beeps, 3);
  EXPECT_EQ(nested.texts, plain.texts);
  EXPECT_EQ(nested.colours, plain.colours);
  EXPECT_EQ(nested.colour(Field::Local_phAddr), Red);
  EXPECT_EQ(nested.colour(Field::phAddr), Red);
  EXPECT_EQ(nested.colour(Field::IN_2_2), Red);
  EXPECT_EQ(nested.addressMembers.Local_phAddr, 0xFFFFu);
  EXPECT_EQ(nested.addressMembers.GrAddr_Bytes, plain.addressMembers.GrAddr_Bytes);

  // After the run the handler works again: a user edit validates.
  nested.text(Field::phAddr) = "01.01.005";
  nested.validation.Addr_MaskEditChange(Field::phAddr);
  EXPECT_EQ(nested.addressMembers.Terminal_phAddr, 0x1105u);
  EXPECT_EQ(nested.colour(Field::phAddr), Black);
}

}  // namespace
}  // namespace kolvaro
