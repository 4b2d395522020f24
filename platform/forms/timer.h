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

  int Interval();
  // Changing the interval restarts the period.
  void SetInterval(int interval);
  bool Enabled();
  // Enabling restarts the period, also when the timer is already enabled.
  void SetEnabled(bool enabled);

  void ResetToDesign() override;

  // For the toolkit's pump.
  std::optional<Millis> Due() const;
  void Fire();

 private:
  void Restart();

  TimerState cur_;
  Millis due_ = 0;
  bool running_ = false;
};

}  // namespace pw::forms
