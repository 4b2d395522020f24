#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim_machine.h"
#include "tests/support/stored.h"

namespace pw::test {

// A test on one simulated machine, with its stored settings and word list at hand.
class MachineTest : public ::testing::Test {
 protected:
  void PutWord(int n, const std::string& entry) { StoreWord(machine.registry, n, entry); }
  void PutSetting(const std::string& name, const std::string& value) {
    StoreSetting(machine.registry, name, value);
  }
  std::string Word(int n) { return StoredWord(machine.registry, n); }
  bool HasWord(int n) { return HasStoredWord(machine.registry, n); }
  std::string Setting(const std::string& name) { return StoredSetting(machine.registry, name); }
  bool HasSetting(const std::string& name) { return HasStoredSetting(machine.registry, name); }

  sim::SimMachine machine;
};

}  // namespace pw::test
