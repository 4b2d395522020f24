#include <gtest/gtest.h>

#include "tests/support/sim_app.h"

namespace pw {
namespace {

TEST(AboutTest, ShowsTitleVersionAndWebSiteAndRebuildsItAtEveryOpening) {
  sim::SimMachine machine;
  test::SimApp a(machine);
  a.Start();
  frmabout& about = a.app.about;
  a.Do([&] { about.Show(); });
  const std::string text = about.Label1.Caption();
  EXPECT_EQ(text.rfind("Pagewarden 1.0.2\r", 0), 0u) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_GT(text.size(), std::string("Pagewarden 1.0.2\r").size());  // the web site follows
  EXPECT_EQ(about.Caption(), "About");
  EXPECT_EQ(about.Image1.Resource(), a.app.main.Icon());
  EXPECT_FALSE(about.Image1.Resource().empty());

  a.Do([&] { about.Command1.Press(); });
  EXPECT_FALSE(about.Loaded());
  a.Do([&] {
    about.SetCaption("Pagewarden Setup");
    about.Show();
  });
  EXPECT_EQ(about.Label1.Caption(), text);
  EXPECT_EQ(about.Caption(), "Pagewarden Setup");
  EXPECT_EQ(about.ActiveControl(), &about.Command1);
}

}  // namespace
}  // namespace pw
