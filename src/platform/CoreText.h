#pragma once
// A text for the user composed in the Qt-free core: a Polish pattern with the
// placeholders %1 to %9 and the values that fill them. A value is plain (a path, a
// number, an address) or itself a composed text. The core and the command line show it
// in Polish; the window looks every pattern up in its translation first, so texts with
// values in them are translated as a whole and not only where they are fixed.
//
// Patterns are marked for the catalogue where they are written:
//   CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można otworzyć pliku %1")).arg(path)
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Translatable.h"

namespace kolvaro {

class CoreText {
 public:
  // Looks a pattern up in a translation; the pattern itself where there is none.
  using Translate = std::function<std::string(const char* pattern)>;

  CoreText() = default;
  // The pattern may also be a whole text the catalogue knows, e.g. a box's text.
  explicit CoreText(std::string pattern) : pattern_(std::move(pattern)), isPattern_(true) {}
  // A value shown as it is, in every language.
  static CoreText plain(std::string value);

  // Fills the next placeholder.
  CoreText& arg(CoreText value);
  CoreText& arg(const std::string& value) { return arg(plain(value)); }
  CoreText& arg(const char* value) { return arg(plain(value)); }
  CoreText& arg(std::int64_t value) { return arg(plain(std::to_string(value))); }

  // Only the first line of the text, once rendered.
  CoreText& firstLine() {
    firstLineOnly_ = true;
    return *this;
  }

  // Placeholders are filled in one pass: a value that holds "%1" is not filled again.
  std::string render(const Translate& translate) const;
  std::string polish() const;

  bool empty() const { return !isPattern_ && value_.empty(); }

  // One text after the other, each translated on its own.
  friend CoreText operator+(CoreText first, CoreText second);

 private:
  std::string fill(const std::string& pattern, const Translate& translate) const;

  std::string pattern_;
  bool isPattern_ = false;  // false: a plain value
  bool firstLineOnly_ = false;
  std::string value_;
  std::vector<CoreText> args_;
};

}  // namespace kolvaro
