#include "platform/sim/sim_world.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace pw::sim {

SimWorld::~SimWorld() {
  KillAll();
}

void SimWorld::KillAll() {
  std::vector<int> ids;
  for (auto& [id, proc] : procs_) ids.push_back(id);
  for (int id : ids) Kill(id);
  for (auto& [id, proc] : procs_) {
    if (proc->thread.joinable()) proc->thread.join();
  }
}

int SimWorld::AddProcess(std::string name) {
  std::lock_guard lock(mutex_);
  const int id = nextPid_++;
  procs_[id] = std::make_unique<Proc>();
  procs_[id]->name = std::move(name);
  return id;
}

void SimWorld::Start(int pid, std::function<void()> body) {
  std::lock_guard lock(mutex_);
  Proc& proc = *procs_.at(pid);
  proc.body = std::move(body);
  proc.state = Proc::State::Ready;
  proc.thread = std::thread([this, pid] { ThreadMain(pid); });
}

int SimWorld::Running() const {
  std::lock_guard lock(mutex_);
  return current_;
}

bool SimWorld::Alive(int pid) const {
  std::lock_guard lock(mutex_);
  auto it = procs_.find(pid);
  return it != procs_.end() && it->second->state != Proc::State::Ended &&
         it->second->state != Proc::State::Added;
}

bool SimWorld::Ended(int pid) const {
  std::lock_guard lock(mutex_);
  auto it = procs_.find(pid);
  return it != procs_.end() && it->second->state == Proc::State::Ended;
}

Millis SimWorld::EndedAt(int pid) const {
  std::lock_guard lock(mutex_);
  auto it = procs_.find(pid);
  return it == procs_.end() ? -1 : it->second->endedAt;
}

void SimWorld::Post(int pid, std::function<void()> action, Millis at) {
  std::lock_guard lock(mutex_);
  auto it = procs_.find(pid);
  if (it == procs_.end() || it->second->state == Proc::State::Ended) return;
  auto& actions = it->second->actions;
  auto pos = std::upper_bound(actions.begin(), actions.end(), at,
                              [](Millis t, const Action& a) { return t < a.at; });
  actions.insert(pos, Action{at, std::move(action)});
}

bool SimWorld::RunDueActions(int pid, const std::function<void()>& after) {
  bool ran = false;
  for (;;) {
    std::function<void()> run;
    {
      std::lock_guard lock(mutex_);
      auto& actions = procs_.at(pid)->actions;
      if (actions.empty() || actions.front().at > now_) break;
      run = std::move(actions.front().run);
      actions.pop_front();
    }
    ran = true;
    run();
    if (after) after();
  }
  return ran;
}

std::optional<Millis> SimWorld::WakeTime(int id) const {
  const Proc& proc = *procs_.at(id);
  if (proc.killed && proc.state != Proc::State::Ended) return now_;
  switch (proc.state) {
    case Proc::State::Ready:
      return now_;
    case Proc::State::Waiting: {
      std::optional<Millis> wake;
      if (proc.nextDue != nullptr) wake = (*proc.nextDue)();
      if (!proc.actions.empty() && (!wake || proc.actions.front().at < *wake)) {
        wake = proc.actions.front().at;
      }
      return wake;
    }
    default:
      return std::nullopt;
  }
}

void SimWorld::Yield(std::unique_lock<std::mutex>& lock, int self, std::optional<Millis> selfWake,
                     bool ending) {
  // Earliest wake first; on a tie other processes go before the one yielding, and the driver
  // goes last, so everything due at a moment runs before the test looks.
  struct Candidate {
    Millis wake;
    int rank;
    int id;
  };
  std::optional<Candidate> best;
  auto consider = [&](int id, std::optional<Millis> wake) {
    if (!wake) return;
    const int rank = id == kDriver ? 2 : (id == self ? 1 : 0);
    const Candidate c{std::max(*wake, now_), rank, id};
    if (!best || std::tie(c.wake, c.rank, c.id) < std::tie(best->wake, best->rank, best->id)) {
      best = c;
    }
  };
  if (self != kDriver) consider(kDriver, driverWake_);
  consider(self, selfWake);
  for (auto& [id, proc] : procs_) {
    if (id != self) consider(id, WakeTime(id));
  }
  if (!best) return;  // cannot happen while the driver waits with a deadline
  now_ = best->wake;
  if (best->id == self) return;
  current_ = best->id;
  turn_.notify_all();
  if (!ending) turn_.wait(lock, [&] { return current_ == self; });
}

void SimWorld::WaitIn(int pid, const forms::EventLoop::NextDue& nextDue) {
  std::unique_lock lock(mutex_);
  Proc& proc = *procs_.at(pid);
  proc.state = Proc::State::Waiting;
  proc.nextDue = &nextDue;
  const auto wake = WakeTime(pid);
  Yield(lock, pid, wake);
  proc.state = Proc::State::Running;
  proc.nextDue = nullptr;
  if (proc.killed) throw ProcessKilled{};
}

void SimWorld::RunUntil(Millis time) {
  {
    std::unique_lock lock(mutex_);
    // At least one turn, so that what is due now runs even when no time passes.
    do {
      driverWake_ = time;
      Yield(lock, kDriver, time);
    } while (now_ < time);
    driverWake_.reset();
  }
  RethrowErrors();
}

bool SimWorld::RunUntil(const std::function<bool()>& condition, Millis limit, Millis step) {
  for (;;) {
    if (condition()) return true;
    if (now_ >= limit) return false;
    RunUntil(std::min(limit, now_ + step));
  }
}

void SimWorld::Kill(int pid) {
  std::unique_lock lock(mutex_);
  auto it = procs_.find(pid);
  if (it == procs_.end()) return;
  Proc& proc = *it->second;
  if (proc.state == Proc::State::Added) {
    proc.state = Proc::State::Ended;
    return;
  }
  if (proc.state != Proc::State::Ended) {
    proc.killed = true;
    killer_ = current_;
    const int self = current_;
    current_ = pid;
    turn_.notify_all();
    turn_.wait(lock, [&] { return current_ == self; });
  }
  lock.unlock();
  if (proc.thread.joinable() && proc.thread.get_id() != std::this_thread::get_id()) {
    proc.thread.join();
  }
}

void SimWorld::EndProcess(int pid) {
  (void)pid;
  throw ProcessEnded{};
}

void SimWorld::ThreadMain(int pid) {
  std::unique_lock lock(mutex_);
  turn_.wait(lock, [&] { return current_ == pid; });
  Proc& proc = *procs_.at(pid);
  proc.state = Proc::State::Running;
  if (!proc.killed) {
    lock.unlock();
    try {
      proc.body();
    } catch (const ProcessEnded&) {
    } catch (const ProcessKilled&) {
    } catch (const SimFault& fault) {
      std::lock_guard errorLock(mutex_);
      if (!error_) error_ = std::make_exception_ptr(std::logic_error(fault.message));
    } catch (...) {
      std::lock_guard errorLock(mutex_);
      if (!error_) error_ = std::current_exception();
    }
    lock.lock();
  }
  proc.state = Proc::State::Ended;
  proc.endedAt = now_;
  proc.actions.clear();
  if (onProcessEnded) {
    // Still this process's turn: nobody else runs while the lock is released.
    lock.unlock();
    onProcessEnded(pid);
    lock.lock();
  }
  if (proc.killed) {
    current_ = killer_;
    turn_.notify_all();
    return;
  }
  Yield(lock, pid, std::nullopt, /*ending=*/true);
}

void SimWorld::RethrowErrors() {
  std::exception_ptr error;
  {
    std::lock_guard lock(mutex_);
    std::swap(error, error_);
  }
  if (error) std::rethrow_exception(error);
}

void SimEventLoop::ProcessPending(const NextDue& nextDue) {
  // What ran since the last pass, a timer's handler or the code that pumps now, is done.
  if (afterEvent) afterEvent();
  if (world_.RunDueActions(pid_, afterEvent)) return;
  const auto due = nextDue();
  if (due && *due <= Now()) return;
  world_.WaitIn(pid_, nextDue);
  world_.RunDueActions(pid_, afterEvent);
}

}  // namespace pw::sim
