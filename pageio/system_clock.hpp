#pragma once
// The clock of the running system, for every backend.

#include "console/ports.hpp"

namespace ferrolux {

class SystemClock : public Clock {
 public:
  LocalTime Now() override;
  std::chrono::steady_clock::time_point Monotonic() override;
};

}  // namespace ferrolux
