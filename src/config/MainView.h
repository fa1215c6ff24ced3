#pragma once
// The main window's controls as the field validation and the window's face of the device
// session see them: field texts and colours, combo boxes, the progress bar, the buttons
// and the address members, so that both run and are tested without a display. TMain
// implements it with Qt widgets; tests implement it with a recording fake. Message
// boxes, the beep and pauses are not the window's: they reach the user through the
// platform seam (platform/Platform.h).
#include <cstdint>
#include <string>

#include "config/SessionFace.h"
#include "telegram/AddressMembers.h"

namespace kolvaro {

// The eleven address fields, in the order a validation run treats them.
enum class Field {
  Local_phAddr,
  phAddr,
  IN_1_1,
  IN_1_2,
  IN_2_1,
  IN_2_2,
  OUT_1_1,
  OUT_1_2,
  OUT_2_1,
  OUT_2_2,
  OnOffGroup,
};
inline constexpr int FieldCount = 11;

// The nine group fields in the order of their GrAddr_Bytes entries: the eight entries of
// the device's group table, then the group of the on/off panel.
inline constexpr Field GroupFields[9] = {Field::IN_1_1,  Field::IN_1_2,  Field::IN_2_1,
                                         Field::IN_2_2,  Field::OUT_1_1, Field::OUT_1_2,
                                         Field::OUT_2_1, Field::OUT_2_2, Field::OnOffGroup};

enum class Combo { OUT1_Prog, OUT2_Prog, MONO_BI };
inline constexpr int ComboCount = 3;

enum class Button { Read, Write, OnGroup, OffGroup };

// The range of GrAddrConfProgress is 0..ProgressMaximum.
inline constexpr int ProgressMaximum = ProgressFull;

// Font colours in the platform's 0x00BBGGRR form.
namespace colour {
inline constexpr std::uint32_t Teal = 0x808000;
inline constexpr std::uint32_t Black = 0x000000;
inline constexpr std::uint32_t Red = 0x0000FF;
inline constexpr std::uint32_t Gray = 0x808080;
}  // namespace colour

class MainView {
 public:
  virtual ~MainView() = default;

  // Texts in fixed positions: separators in place, blank positions as spaces.
  virtual std::string fieldText(Field field) const = 0;
  virtual void setFieldText(Field field, const std::string& text) = 0;
  virtual void setFieldColour(Field field, std::uint32_t bgr) = 0;

  virtual int comboIndex(Combo combo) const = 0;
  virtual void setComboIndex(Combo combo, int index) = 0;
  virtual void setComboColour(Combo combo, std::uint32_t bgr) = 0;

  // GrAddrConfProgress: minimum 0, maximum ProgressMaximum.
  virtual int progressPosition() const = 0;
  virtual void setProgressPosition(int position) = 0;

  virtual bool buttonEnabled(Button button) const = 0;
  virtual void setButtonEnabled(Button button, bool enabled) = 0;

  virtual AddressMembers& members() = 0;
  // Addr_MaskEditExit with no sender: validates all eleven fields and recomputes the members.
  virtual void runValidation() = 0;
};

}  // namespace kolvaro
