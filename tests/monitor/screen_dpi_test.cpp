#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32_constants.h"
#include "tests/monitor/lock_rig.h"

namespace pw {
namespace {

using test::kCasinoTitle;
using test::LockRig;

struct Density {
  sim::SimScreen screen;
  // The prompt's client area of 4440 x 1395 twips in pixels at this density.
  int width;
  int height;
};

class ScreenDpiTest : public ::testing::TestWithParam<Density> {};

TEST_P(ScreenDpiTest, PromptIsCentredAndHoldsTheCursorInItsClientAreaAndTrayCodesStayExact) {
  const Density density = GetParam();
  const sim::SimScreen& screen = density.screen;
  LockRig r;
  r.machine.desktop.screen = screen;
  r.StartLocked();
  r.OpenAndScan(kCasinoTitle);
  ASSERT_TRUE(r.PromptUp());
  const sim::SimWindow& prompt = *r.PromptWindow();
  EXPECT_EQ(prompt.clientSize.x, density.width);
  EXPECT_EQ(prompt.clientSize.y, density.height);

  ASSERT_TRUE(r.machine.desktop.clip.has_value());
  const Rect clip = *r.machine.desktop.clip;
  EXPECT_EQ(clip.left, prompt.clientOrigin.x);
  EXPECT_EQ(clip.top, prompt.clientOrigin.y);
  EXPECT_EQ(clip.right, prompt.clientOrigin.x + density.width);
  EXPECT_EQ(clip.bottom, prompt.clientOrigin.y + density.height);
  r.machine.desktop.MoveCursor({screen.width * 2, screen.height * 2});
  EXPECT_EQ(r.machine.desktop.cursor.x, clip.right - 1);
  EXPECT_EQ(r.machine.desktop.cursor.y, clip.bottom - 1);

  // Centred on the screen to the pixel, its frame at this density included.
  EXPECT_LE(std::abs(prompt.bounds.left + prompt.bounds.right - screen.width), 1);
  EXPECT_LE(std::abs(prompt.bounds.top + prompt.bounds.bottom - screen.height), 1);

  r.Answer("secret");
  ASSERT_FALSE(r.PromptUp());
  const Hwnd monitor = r.a.app.main.hWnd();
  r.machine.shell.ClickIcon(monitor, 1, WM_LBUTTONDBLCLK_);
  r.machine.world.RunFor(0);
  EXPECT_TRUE(r.PromptUp()) << "a double-click asks for the setup password";
  r.a.Do([&] { r.prompt().Command1.Press(); });
  r.machine.world.RunFor(600);
  r.machine.shell.ClickIcon(monitor, 1, WM_RBUTTONUP_);
  r.machine.world.RunFor(0);
  EXPECT_EQ(r.a.host.popupsShown.size(), 1u) << "a right click opens the menu";
  r.a.Do([&] { EXPECT_TRUE(r.a.host.ChoosePopupItem("Cancel")); });
}

sim::SimScreen At(int width, int height, int dpi) {
  sim::SimScreen screen;
  screen.width = width;
  screen.height = height;
  screen.dpi = dpi;
  return screen;
}

INSTANTIATE_TEST_SUITE_P(Densities, ScreenDpiTest,
                         ::testing::Values(Density{At(1024, 768, 96), 296, 93},
                                           Density{At(1280, 1024, 120), 370, 116},
                                           Density{At(1920, 1080, 144), 444, 140},
                                           Density{At(2560, 1440, 192), 592, 186}),
                         [](const ::testing::TestParamInfo<Density>& info) {
                           return std::to_string(info.param.screen.dpi) + "dpi";
                         });

}  // namespace
}  // namespace pw
