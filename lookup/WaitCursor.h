#pragma once
// The wait cursor over the whole application while a long step runs. Use it
// with tq::BusyScope; nested steps show it once, and whatever is still shown
// when the object goes away is taken back.

#include "lookup/BusyIndicator.h"

namespace tq {

class WaitCursor : public BusyIndicator {
 public:
  WaitCursor() = default;
  ~WaitCursor() override;
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  void Begin() override;
  void End() override;

 private:
  int depth_ = 0;
};

}  // namespace tq
