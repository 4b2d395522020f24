#pragma once

#include <cstdint>
#include <string>

namespace pw {

// The process-wide table every window reads and writes; results between windows travel here.
struct Shared {
  std::string AppFolder;  // program folder with a trailing backslash
  std::string BrowserTitle;
  std::string UnlockPassword;
  std::string SetupPassword;
  // The setup password as typed to open the setup window: every store it makes carries it.
  std::string SetupEntry;
  // The right setup password was given, but no one owns this machine yet and this user may not
  // become its owner: the setup window says an administrator must set it up.
  bool SetupNeedsAdmin = false;
  std::int16_t TimeDelay = 0;
  std::int16_t ForceCountdown = 0;
  bool PasswordAccepted = false;
  // Wrong passwords given to the prompt of the stop action running now, for the record.
  int WrongAnswers = 0;
  bool AllUnlocked = false;
  bool UnlockAllAllowed = false;
  bool SetupRequested = false;
  bool ReloadPending = false;
};

}  // namespace pw
