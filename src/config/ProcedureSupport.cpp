#include "config/ProcedureSupport.h"

#include <algorithm>
#include <vector>

namespace kolvaro::procedure {

void Progress::set(int position) {
  position_ = std::clamp(position, 0, progress::Full);
  face_.progress(position_);
}

namespace {
// One thread runs every procedure, so a plain list of the owners with a run in
// progress is enough.
std::vector<const void*>& runningOwners() {
  static std::vector<const void*> owners;
  return owners;
}
}  // namespace

BusRunGuard::BusRunGuard(const void* owner) : owner_(owner) {
  auto& owners = runningOwners();
  acquired_ = std::find(owners.begin(), owners.end(), owner_) == owners.end();
  if (acquired_) owners.push_back(owner_);
}

bool BusRunGuard::isHeld(const void* owner) {
  const auto& owners = runningOwners();
  return std::find(owners.begin(), owners.end(), owner) != owners.end();
}

BusRunGuard::~BusRunGuard() {
  if (!acquired_) return;
  auto& owners = runningOwners();
  owners.erase(std::find(owners.begin(), owners.end(), owner_));
}

}  // namespace kolvaro::procedure
