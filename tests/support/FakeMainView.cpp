#include "support/FakeMainView.h"

namespace kolvaro::test {

FakeMainView::FakeMainView() {
  texts = {"15.15.254",  "15.15.255",  "00\\0\\001", "00\\0\\002", "00\\0\\002", "  \\ \\   ",
           "00\\0\\002", "  \\ \\   ", "00\\0\\001", "  \\ \\   ", "  \\ \\   "};
  colours.fill(colour::Teal);
  comboColours.fill(colour::Black);
}

void FakeMainView::setFieldText(Field field, const std::string& value) {
  texts[index(field)] = value;
  fieldTextWrites.push_back(field);
  if (onFieldTextSet) onFieldTextSet(field);
}

void FakeMainView::setProgressPosition(int position) {
  progress = position;
  progressHistory.push_back(position);
}

void FakeMainView::runValidation() {
  ++validationRuns;
  validation.Addr_MaskEditExit();
}

}  // namespace kolvaro::test
