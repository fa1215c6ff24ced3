#include "config/ProcedureSupport.h"

#include <algorithm>
#include <vector>

namespace kolvaro::procedure {

Outcome judge(const std::string& result) {
  if (result == exchange_result::Error) return Outcome::Error;
  if (result == exchange_result::NoReply) return Outcome::NoReply;
  return Outcome::Answer;
}

void advanceProgress(MainView& view, int amount) {
  view.setProgressPosition(std::min(view.progressPosition() + amount, progress::Full));
}

std::string charactersAt(const std::string& text, std::size_t firstFromOne, std::size_t count) {
  const std::size_t start = firstFromOne - 1;
  if (start >= text.size()) return {};
  return text.substr(start, count);
}

namespace {
// One thread runs every procedure, so a plain list of the views with a run in
// progress is enough.
std::vector<const MainView*>& runningViews() {
  static std::vector<const MainView*> views;
  return views;
}
}  // namespace

BusRunGuard::BusRunGuard(const MainView& view) : view_(view) {
  auto& views = runningViews();
  acquired_ = std::find(views.begin(), views.end(), &view_) == views.end();
  if (acquired_) views.push_back(&view_);
}

bool BusRunGuard::isHeld(const MainView& view) {
  const auto& views = runningViews();
  return std::find(views.begin(), views.end(), &view) != views.end();
}

BusRunGuard::~BusRunGuard() {
  if (!acquired_) return;
  auto& views = runningViews();
  views.erase(std::find(views.begin(), views.end(), &view_));
}

}  // namespace kolvaro::procedure
