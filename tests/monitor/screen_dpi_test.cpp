#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

struct Screen {
  int dpi;
  // The prompt's client area of 4440 x 1395 twips in pixels at this density.
  int width;
  int height;
};

class ScreenDpiTest : public ::testing::TestWithParam<Screen> {};

TEST_P(ScreenDpiTest, PromptIsCentredAndHoldsTheCursorInItsClientAreaAndTrayCodesStayExact) {
  const Screen screen = GetParam();
  LockRig r;
  r.machine.desktop.dpi = screen.dpi;
  r.StartLocked();
  r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  const sim::SimWindow& prompt = *r.PromptWindow();
  EXPECT_EQ(prompt.clientSize.x, screen.width);
  EXPECT_EQ(prompt.clientSize.y, screen.height);

  ASSERT_TRUE(r.machine.desktop.clip.has_value());
  const Rect clip = *r.machine.desktop.clip;
  EXPECT_EQ(clip.left, prompt.clientOrigin.x);
  EXPECT_EQ(clip.top, prompt.clientOrigin.y);
  EXPECT_EQ(clip.right, prompt.clientOrigin.x + screen.width);
  EXPECT_EQ(clip.bottom, prompt.clientOrigin.y + screen.height);
  r.machine.desktop.MoveCursor({2000, 2000});
  EXPECT_EQ(r.machine.desktop.cursor.x, clip.right - 1);
  EXPECT_EQ(r.machine.desktop.cursor.y, clip.bottom - 1);

  // Centred on the 1024 x 768 screen to the pixel.
  EXPECT_LE(std::abs(prompt.bounds.left + prompt.bounds.right - 1024), 1);
  EXPECT_LE(std::abs(prompt.bounds.top + prompt.bounds.bottom - 768), 1);

  r.Answer("secret");
  ASSERT_FALSE(r.PromptUp());
  const Hwnd monitor = r.a.app.main.hWnd();
  r.machine.shell.ClickIcon(monitor, 1, 515);
  r.machine.world.RunFor(0);
  EXPECT_TRUE(r.PromptUp()) << "a double-click asks for the setup password";
  r.a.Do([&] { r.prompt().Command1.Press(); });
  r.machine.world.RunFor(600);
  r.machine.shell.ClickIcon(monitor, 1, 517);
  r.machine.world.RunFor(0);
  EXPECT_EQ(r.a.host.popupsShown.size(), 1u) << "a right click opens the menu";
  r.a.Do([&] { r.a.host.DismissPopup(); });
}

INSTANTIATE_TEST_SUITE_P(Densities, ScreenDpiTest,
                         ::testing::Values(Screen{96, 296, 93}, Screen{120, 370, 116},
                                           Screen{144, 444, 140}, Screen{192, 592, 186}),
                         [](const ::testing::TestParamInfo<Screen>& info) {
                           return std::to_string(info.param.dpi) + "dpi";
                         });

}  // namespace
}  // namespace pw
