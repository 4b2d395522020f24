#include "watchdog/win32/service_loop.h"

#include <wtsapi32.h>

#include <algorithm>
#include <vector>

#include "watchdog/watchdog.h"

namespace pw::watchdog {

namespace {

Millis Now() {
  return static_cast<Millis>(GetTickCount64());
}

// The wait's time out for the watchdog's next due time.
DWORD TimeOut(std::optional<Millis> due) {
  if (!due) return INFINITE;
  const Millis left = std::max<Millis>(*due - Now(), 0);
  return static_cast<DWORD>(std::min<Millis>(left, INFINITE - 1));
}

}  // namespace

ServiceLoop::ServiceLoop(Win32GuardHost& host, OwnerPipe* owner)
    : host_(host),
      owner_(owner),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      sessionChanged_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

void ServiceLoop::PostStop() {
  SetEvent(stop_.get());
}

void ServiceLoop::PostSessionChange(DWORD eventType, DWORD session) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    changes_.push_back({eventType, session});
  }
  SetEvent(sessionChanged_.get());
}

bool ServiceLoop::Run() {
  if (!stop_ || !sessionChanged_) return false;
  Watchdog dog(host_);
  dog.Start(Now());
  for (;;) {
    const std::vector<Win32GuardHost::Watched> guards = host_.Guards();
    std::vector<HANDLE> handles{stop_.get(), sessionChanged_.get()};
    // One wait holds at most 64 handles: 60 sessions with a user are far beyond any desktop.
    for (const auto& guard : guards) {
      if (handles.size() < 62) handles.push_back(guard.process);
    }
    const DWORD watched = static_cast<DWORD>(handles.size());
    // After the guards: a wait reports the first signalled handle, so a client that keeps
    // connecting never keeps a guard's end waiting.
    if (owner_ != nullptr) {
      handles.push_back(owner_->Connected());
      handles.push_back(owner_->SettingsChanged());
    }
    const DWORD count = static_cast<DWORD>(handles.size());
    const DWORD woken =
        WaitForMultipleObjects(count, handles.data(), FALSE, TimeOut(dog.NextDue()));
    const Millis now = Now();
    if (woken == WAIT_OBJECT_0) {
      dog.Stop();
      return true;
    }
    if (woken == WAIT_OBJECT_0 + 1) {
      TakeSessionChanges(dog, now);
    } else if (woken >= WAIT_OBJECT_0 + 2 && woken < WAIT_OBJECT_0 + watched) {
      const SessionId session = guards[woken - WAIT_OBJECT_0 - 2].session;
      dog.GuardEnded(session, host_.TakeEnded(session), now);
    } else if (owner_ != nullptr && woken == WAIT_OBJECT_0 + watched) {
      owner_->ServeClient();
    } else if (owner_ != nullptr && woken == WAIT_OBJECT_0 + watched + 1) {
      owner_->TakeInChanges();
    } else if (woken != WAIT_TIMEOUT) {
      return false;
    }
    dog.Tick(now);
  }
}

void ServiceLoop::TakeSessionChanges(Watchdog& dog, Millis now) {
  std::deque<SessionChange> changes;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    changes.swap(changes_);
  }
  for (const SessionChange& change : changes) {
    if (change.eventType == WTS_SESSION_LOGON) dog.SessionLoggedOn(change.session, now);
    if (change.eventType == WTS_SESSION_LOGOFF) dog.SessionLoggedOff(change.session);
  }
}

}  // namespace pw::watchdog
