#pragma once
// Marks a text the user sees for the translation catalogue without translating it here.
// The Qt-free core keeps its texts in Polish, the program's source language; the window
// translates them where it shows them (QCoreApplication::translate with this context).
// lupdate is told that this macro means QT_TRANSLATE_NOOP (see translations/README.md).
#define KOLVARO_TRANSLATABLE(context, text) text

namespace kolvaro {

// The one context of every text the core hands to a message box, captions included.
inline constexpr char CoreTextContext[] = "Kolvaro";

}  // namespace kolvaro
