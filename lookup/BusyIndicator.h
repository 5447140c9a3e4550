#pragma once
// Shows that a long step runs (the wait cursor): the search flow calls it,
// the window supplies it.

namespace tq {

class BusyIndicator {
 public:
  virtual ~BusyIndicator() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

class BusyScope {
 public:
  explicit BusyScope(BusyIndicator* busy) : busy_(busy) {
    if (busy_) busy_->Begin();
  }
  ~BusyScope() {
    if (busy_) busy_->End();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyIndicator* busy_;
};

}  // namespace tq
