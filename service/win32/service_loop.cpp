#include "service/win32/service_loop.h"

#include <wtsapi32.h>

#include <algorithm>
#include <vector>

#include "service/watchdog.h"

namespace pw::service {

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
  enum class Role { Stop, SessionChange, GuardEnded, GuardAnswered, PipeClient, Settings };
  struct Waited {
    Role role;
    SessionId session;
  };
  for (;;) {
    std::vector<HANDLE> handles{stop_.get(), sessionChanged_.get()};
    std::vector<Waited> roles{{Role::Stop, 0}, {Role::SessionChange, 0}};
    const auto add = [&](HANDLE handle, Role role, SessionId session) {
      handles.push_back(handle);
      roles.push_back({role, session});
    };
    // One wait holds at most 64 handles: 30 sessions with a user are far beyond any desktop.
    // Ends first: a wait reports the first signalled handle, so neither the guards' answers
    // nor a client that keeps connecting keep an end waiting.
    const std::vector<Win32GuardHost::Watched> guards = host_.Guards();
    for (const auto& guard : guards) {
      if (handles.size() < 32) add(guard.process, Role::GuardEnded, guard.session);
    }
    for (const auto& guard : guards) {
      if (guard.answers != nullptr && handles.size() < 62) {
        add(guard.answers, Role::GuardAnswered, guard.session);
      }
    }
    if (owner_ != nullptr) {
      add(owner_->Connected(), Role::PipeClient, 0);
      add(owner_->SettingsChanged(), Role::Settings, 0);
    }
    const DWORD woken = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                               FALSE, TimeOut(dog.NextDue()));
    const Millis now = Now();
    if (woken != WAIT_TIMEOUT && woken - WAIT_OBJECT_0 >= handles.size()) return false;
    if (woken != WAIT_TIMEOUT) {
      const Waited what = roles[woken - WAIT_OBJECT_0];
      switch (what.role) {
        case Role::Stop:
          dog.Stop();
          return true;
        case Role::SessionChange:
          TakeSessionChanges(dog, now);
          break;
        case Role::GuardEnded:
          dog.GuardEnded(what.session, host_.TakeEnded(what.session), now);
          break;
        case Role::GuardAnswered:
          dog.GuardAnswered(what.session, now);
          break;
        case Role::PipeClient:
          owner_->ServeClient();
          break;
        case Role::Settings:
          owner_->TakeInChanges();
          break;
      }
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

}  // namespace pw::service
