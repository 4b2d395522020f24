#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/forms/event_loop.h"
#include "platform/types.h"

namespace pw::sim {

// Thrown on a simulated process's own thread to end it; never caught by program code, which
// catches only std::exception.
struct ProcessEnded {};
struct ProcessKilled {};
// Thrown on a simulated process's thread when the simulation finds the program at fault, such as
// a window out of step with its model. Not a std::exception, so that no handler of the program
// swallows it; it ends the process and reaches the test as a std::logic_error.
struct SimFault {
  std::string message;
};

// Virtual time and the simulated processes that share it. Each process runs on a thread of its
// own so that its waits keep their own stacks, as separate programs do, but exactly one thread
// runs at any time: the scheduler hands over at each wait and advances the clock to the next
// thing due. The driver (the test, id 0) runs until it lets time pass.
class SimWorld {
 public:
  static constexpr int kDriver = 0;

  SimWorld() = default;
  ~SimWorld();
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;

  Millis Now() const { return now_; }
  // The participant running right now: a process id, or kDriver.
  int Running() const;

  // A process exists from AddProcess on and starts running its body after Start, once the
  // running participant waits.
  int AddProcess(std::string name);
  void Start(int pid, std::function<void()> body);
  bool Alive(int pid) const;
  bool Ended(int pid) const;
  // When a process ended; -1 while it lives.
  Millis EndedAt(int pid) const;
  // Ends a process wherever it waits, unwinding its stack.
  void Kill(int pid);
  void KillAll();
  // Runs an action on the process's own thread at the given time (its next wait at or after it).
  void Post(int pid, std::function<void()> action, Millis at);
  void Post(int pid, std::function<void()> action) { Post(pid, std::move(action), now_); }

  // The driver lets time pass; everything due meanwhile runs.
  void RunUntil(Millis time);
  void RunFor(Millis duration) { RunUntil(now_ + duration); }
  // Runs until the condition holds (checked whenever the driver gets its turn, at least every
  // `step`) or the time limit passes; returns whether it held.
  bool RunUntil(const std::function<bool()>& condition, Millis limit, Millis step = 10);

  // For a process's event loop: waits until an action is due or nextDue() is reached.
  void WaitIn(int pid, const forms::EventLoop::NextDue& nextDue);
  // Runs the actions posted to the process that are due, calling `after` after each; true when
  // any ran.
  bool RunDueActions(int pid, const std::function<void()>& after = nullptr);
  // Ends the process that is running now (from its own thread).
  [[noreturn]] void EndProcess(int pid);
  // Called when a process ends, for example to remove its windows.
  std::function<void(int pid)> onProcessEnded;

 private:
  struct Action {
    Millis at;
    std::function<void()> run;
  };
  struct Proc {
    std::string name;
    enum class State { Added, Ready, Waiting, Running, Ended } state = State::Added;
    std::function<void()> body;
    const forms::EventLoop::NextDue* nextDue = nullptr;
    std::deque<Action> actions;
    bool killed = false;
    Millis endedAt = -1;
    std::thread thread;
  };

  std::optional<Millis> WakeTime(int id) const;
  // Picks who runs next (never `self` unless it is the earliest) and blocks until self's turn.
  void Yield(std::unique_lock<std::mutex>& lock, int self, std::optional<Millis> selfWake,
             bool ending = false);
  void ThreadMain(int pid);
  void RethrowErrors();

  mutable std::mutex mutex_;
  std::condition_variable turn_;
  int current_ = kDriver;
  Millis now_ = 0;
  int nextPid_ = 1;
  std::map<int, std::unique_ptr<Proc>> procs_;
  std::exception_ptr error_;
  std::optional<Millis> driverWake_;
  int killer_ = kDriver;
};

// The event loop of one simulated process.
class SimEventLoop : public forms::EventLoop {
 public:
  SimEventLoop(SimWorld& world, int pid) : world_(world), pid_(pid) {}

  Millis Now() const override { return world_.Now(); }
  void ProcessPending(const NextDue& nextDue) override;

  // Called after each event the loop hands out and before it waits.
  std::function<void()> afterEvent;

 private:
  SimWorld& world_;
  int pid_;
};

}  // namespace pw::sim
