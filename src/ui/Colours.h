#pragma once
// Colours travel through MainView in the 0x00BBGGRR form of the original platform.
#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

namespace kolvaro {

inline QColor colourFromBgr(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

inline std::uint32_t bgrFromColour(const QColor& colour) {
  return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
         static_cast<std::uint32_t>(colour.blue()) << 16;
}

// The font colour of a control: the roles that line edits, labels and combo boxes draw their text with.
inline void setFontColour(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
    palette.setColor(QPalette::Active, role, colour);
    palette.setColor(QPalette::Inactive, role, colour);
  }
  widget.setPalette(palette);
}

inline std::uint32_t fontColour(const QWidget& widget) {
  return bgrFromColour(widget.palette().color(QPalette::Active, QPalette::Text));
}

}  // namespace kolvaro
