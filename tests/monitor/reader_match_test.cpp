#include <gtest/gtest.h>

#include "tests/monitor/lock_rig.h"

namespace pw::test {
namespace {

// Words and titles compare as a reader sees them: in any script, letter case aside, and with the
// characters that show nothing left out.
TEST(ReaderMatchTest, WordsOfAnyScriptLockOnlyTheirOwnPages) {
  LockRig r;
  r.Setting("UserPassword", "secret");
  r.Word(0, "\u043A\u0430\u0437\u0438\u043D\u043E");  // казино
  r.Word(1, "\uFF30\uFF4F\uFF4B\uFF45\uFF52");        // Poker in full width
  r.a.Start();

  // Six other Cyrillic letters: as "??????" through a code page, they matched before.
  const Hwnd greeting = r.OpenAndScan(
      "\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440"
      " - Internet Explorer");
  EXPECT_TRUE(r.LetThrough(greeting));

  r.OpenAndScan("\u041A\u0410\u0417\u0418\u041D\u041E - Internet Explorer");
  EXPECT_TRUE(r.PromptUp());
  EXPECT_EQ(r.a.app.main.TargetTitle, "\u041A\u0410\u0417\u0418\u041D\u041E - Internet Explorer");
  r.Answer("secret");  // lets it live and exempts its class

  r.OpenAndScan("POKER night - Internet Explorer", "MozillaWindowClass");
  EXPECT_TRUE(r.PromptUp());
}

TEST(ReaderMatchTest, TheBrowserFragmentIgnoresInvisibleCharacters) {
  LockRig r;
  r.StartLocked({{"webbrowser", "Microsoft Edge"}});
  r.OpenAndScan("Casino - Microsoft\u200B Edge", "Chrome_WidgetWin_1");
  EXPECT_TRUE(r.PromptUp());
}

}  // namespace
}  // namespace pw::test
