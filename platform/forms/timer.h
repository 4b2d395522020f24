#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/forms/member.h"
#include "platform/types.h"

namespace pw::forms {

struct TimerState {
  int interval = 0;  // milliseconds; 0 never ticks
  bool enabled = false;
};

// Ticks come from the toolkit's pump; a timer never ticks while its own handler runs.
class Timer : public Member {
 public:
  Timer(Form& form, std::string name, int interval, bool enabled);
  ~Timer() override;

  std::function<void()> onTimer;
  TimerState design;
  // Its handler only looks and returns: it handles no message and enters no loop, so the pump
  // need not make ready for one (or it calls Toolkit::BeforeHandler itself before it does more).
  // Most ticks of a timer that runs 30 times a second then cost no more than the look itself.
  bool quiet = false;
  // Milliseconds it may tick early when the pump is awake for another timer anyway, so that its
  // tick costs no wake-up of its own. Ticks never come further apart than the interval; at most
  // half the interval counts.
  int slack = 0;

  int Interval() { return Cur().interval; }
  // Changing the interval restarts the period.
  void SetInterval(int interval);
  bool Enabled() { return Cur().enabled; }
  // Enabling restarts the period, also when the timer is already enabled.
  void SetEnabled(bool enabled);

  void ResetToDesign() override;

  // Whether its tick handler is running right now (perhaps waiting further down the stack).
  bool Running() const { return running_; }
  // Runs a tick at once, out of turn, as the pump would run a due one: not while switched off,
  // unloaded or inside its own tick. The period keeps its rhythm. Returns whether it ran.
  bool TickNow();
  // Makes the next tick due at once, for the pump's next pass; nothing while switched off.
  void Hurry();

  // For the toolkit's pump.
  std::optional<Millis> Due() const;
  // Whether it is due by `now`, early by its slack included.
  bool DueBy(Millis now) const;
  void Fire();

 private:
  // The current state, its form loaded first.
  TimerState& Cur() {
    Touch();
    return cur_;
  }
  void Restart();
  void RunHandler();

  TimerState cur_;
  Millis due_ = 0;
  bool running_ = false;
};

}  // namespace pw::forms
