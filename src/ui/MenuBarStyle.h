#pragma once
// The menu bar's style: the application's own, with less room between the titles. The
// window's four menus (Plik, Konfiguracja, Magistrala, Pomoc) must stay on the one line
// of its fixed width, and with the usual spacing they fill it to the last pixel: a
// slightly wider face would push Pomoc behind the bar's extension button.
#include <QProxyStyle>

namespace kolvaro {

class MenuBarStyle : public QProxyStyle {
 public:
  // Room between two titles, and before the first, in pixels.
  static constexpr int TitleSpacing = 2;

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
};

}  // namespace kolvaro
