#include "ui/MenuBarStyle.h"

namespace kolvaro {

int MenuBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (metric == PM_MenuBarItemSpacing) return TitleSpacing;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace kolvaro
