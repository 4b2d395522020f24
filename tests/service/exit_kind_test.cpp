#include <gtest/gtest.h>

#include "base/exit_codes.h"
#include "service/exit_kind.h"
#include "service/same_path.h"

namespace pw::service {
namespace {

TEST(ExitKindTest, OnlyTheProgramsOwnCodesAreEndsToKeep) {
  EXPECT_EQ(ClassifyExit(static_cast<std::uint32_t>(ExitCode::LoggedOff)), ExitKind::LoggedOff);
  EXPECT_EQ(ClassifyExit(static_cast<std::uint32_t>(ExitCode::InstallerClose)),
            ExitKind::InstallerClose);
  EXPECT_EQ(ClassifyExit(static_cast<std::uint32_t>(ExitCode::HandedOver)), ExitKind::HandedOver);
  for (std::uint32_t other : {0u, 1u, 0x50570000u, 0x50570004u, 0xC0000005u, 0xFFFFFFFFu}) {
    EXPECT_EQ(ClassifyExit(other), ExitKind::Other) << other;
  }
}

TEST(SamePathTest, LetterCaseAndSlashesAsideOnly) {
  EXPECT_TRUE(SamePath("C:\\Program Files\\Pagewarden\\pgwatch.exe",
                       "c:/PROGRAM FILES/pagewarden/PGWATCH.EXE"));
  EXPECT_FALSE(SamePath("C:\\Program Files\\Pagewarden\\pgwatch.exe",
                        "C:\\Program Files\\Pagewarden\\pgwatch.exe.bak"));
  EXPECT_FALSE(SamePath("C:\\Program Files\\Pagewarden\\pgwatch.exe", "D:\\pgwatch.exe"));
}

}  // namespace
}  // namespace pw::service
