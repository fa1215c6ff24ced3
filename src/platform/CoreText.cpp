#include "platform/CoreText.h"

namespace kolvaro {

CoreText CoreText::plain(std::string value) {
  CoreText text;
  text.value_ = std::move(value);
  return text;
}

CoreText& CoreText::arg(CoreText value) {
  args_.push_back(std::move(value));
  return *this;
}

CoreText operator+(CoreText first, CoreText second) {
  // The joining pattern has nothing to translate: a catalogue returns it as it is.
  return CoreText("%1%2").arg(std::move(first)).arg(std::move(second));
}

std::string CoreText::render(const Translate& translate) const {
  std::string out = isPattern_ ? fill(translate(pattern_.c_str()), translate) : value_;
  if (firstLineOnly_) out = out.substr(0, out.find('\n'));
  return out;
}

std::string CoreText::fill(const std::string& pattern, const Translate& translate) const {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args_.size()) {
      out += args_[index].render(translate);
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::string CoreText::polish() const {
  return render([](const char* pattern) { return std::string(pattern); });
}

}  // namespace kolvaro
