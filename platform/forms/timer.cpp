#include "platform/forms/timer.h"

#include <algorithm>

#include "platform/forms/form.h"
#include "platform/forms/toolkit.h"

namespace pw::forms {

Timer::Timer(Form& form, std::string name, int interval, bool enabled)
    : Member(form, std::move(name)), design{interval, enabled}, cur_(design) {
  form.Tk().AddTimer(this);
}

Timer::~Timer() {
  Owner().Tk().RemoveTimer(this);
}

void Timer::SetInterval(int interval) {
  Cur().interval = interval;
  Restart();
}

void Timer::SetEnabled(bool enabled) {
  Cur().enabled = enabled;
  Restart();
}

void Timer::ResetToDesign() {
  cur_ = design;
  Restart();
}

void Timer::Restart() {
  due_ = Owner().Tk().Now() + cur_.interval;
}

std::optional<Millis> Timer::Due() const {
  if (running_ || !Owner().Loaded() || !cur_.enabled || cur_.interval <= 0) return std::nullopt;
  return due_;
}

bool Timer::DueBy(Millis now) const {
  const auto due = Due();
  return due && *due <= now + std::min(slack, cur_.interval / 2);
}

bool Timer::TickNow() {
  if (!Due()) return false;
  RunHandler();
  return true;
}

void Timer::Hurry() {
  if (cur_.enabled) due_ = Owner().Tk().Now();
}

void Timer::Fire() {
  due_ = Owner().Tk().Now() + cur_.interval;
  RunHandler();
}

void Timer::RunHandler() {
  Toolkit& tk = Owner().Tk();
  running_ = true;
  struct Done {
    Timer& t;
    ~Done() { t.running_ = false; }
  } done{*this};
  if (!quiet) tk.BeforeHandler();
  if (onTimer) tk.Raise(onTimer);
  // A handler that waited past its next tick gets the next one a full period after it returned.
  if (due_ <= tk.Now()) due_ = tk.Now() + cur_.interval;
}

}  // namespace pw::forms
