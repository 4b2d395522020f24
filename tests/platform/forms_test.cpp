#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/forms/menu.h"
#include "platform/forms/timer.h"
#include "platform/forms/toolkit.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"

namespace pw {
namespace {

using forms::Bounds;

class TestForm : public forms::Form {
 public:
  explicit TestForm(forms::Toolkit& tk)
      : Form(tk, "TestForm"),
        Text1(*this, "Text1", "design text", Bounds{120, 120, 2000, 300}, 1),
        Check1(*this, "Check1", "Check", Bounds{120, 600, 2000, 300}, 2),
        List1(*this, "List1", Bounds{120, 1000, 2000, 1500}, 3),
        OK(*this, "OK", "OK", Bounds{2400, 120, 900, 360}, 0),
        Quit(*this, "Quit", "Quit", Bounds{2400, 600, 900, 360}, 4),
        Timer1(*this, "Timer1", 250, false),
        Delay(*this, "Delay", 0, false),
        mnuPopup(*this, "mnuPopup", "Popup"),
        mnuOne(*this, "mnuOne", "One", &mnuPopup),
        mnuTwo(*this, "mnuTwo", "Two", &mnuPopup) {
    design.caption = "Test";
    design.clientWidth = 4000;
    design.clientHeight = 3000;
    List1.design.sorted = true;
    List1.design.checkBoxes = true;
    OK.design.isDefault = true;
    Quit.design.isCancel = true;
    mnuPopup.design.visible = false;
    mnuTwo.design.enabled = false;
    Text1.design.maxLength = 5;
    Text1.onChange = [this] { ++changes; };
    Check1.onClick = [this] { ++checkClicks; };
    List1.onClick = [this] { ++listClicks; };
    OK.onClick = [this] { ++okPresses; };
    Quit.onClick = [this] { ++quitPresses; };
    mnuOne.onClick = [this] { ++menuOne; };
    mnuTwo.onClick = [this] { ++menuTwo; };
  }

  forms::TextBox Text1;
  forms::CheckBox Check1;
  forms::ListBox List1;
  forms::CommandButton OK;
  forms::CommandButton Quit;
  forms::Timer Timer1;
  forms::Timer Delay;  // a one-shot delay, as the program's waits use
  forms::MenuItem mnuPopup;
  forms::MenuItem mnuOne;
  forms::MenuItem mnuTwo;

  int loads = 0, unloads = 0, changes = 0, checkClicks = 0, listClicks = 0;
  int okPresses = 0, quitPresses = 0, menuOne = 0, menuTwo = 0;

 protected:
  void Form_Load() override { ++loads; }
  void Form_Unload() override { ++unloads; }
};

class FormsTest : public ::testing::Test {
 protected:
  // Runs code on the form's own simulated process and lets the machine run until it is done.
  void OnProcess(std::function<void()> body) {
    machine.world.Start(host.pid, std::move(body));
    machine.world.RunFor(0);
  }
  void TearDown() override { machine.world.Kill(host.pid); }

  sim::SimMachine machine;
  sim::SimHost host{machine, "test"};
  TestForm form{host.toolkit};
};

TEST_F(FormsTest, ReferringToAControlLoadsTheFormHiddenOnce) {
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.Text1.Text(), "design text");
  EXPECT_TRUE(form.Loaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.loads, 1);
  form.Check1.Value();
  EXPECT_EQ(form.loads, 1);
  // Its window exists, hidden, with the caption, so other programs can find it.
  const Hwnd found = machine.desktop.FindWindow(nullptr, "TEST");
  EXPECT_EQ(found, form.hWnd());
  EXPECT_FALSE(machine.desktop.Find(found)->visible);
  EXPECT_EQ(form.ActiveControl(), &form.OK);  // lowest tab index takes the first focus
}

TEST_F(FormsTest, TheFirstFocusGoesToTheFirstControlUsableWhenTheFormIsShown) {
  form.OK.SetEnabled(false);  // loads the form, hidden
  form.Show();
  EXPECT_EQ(form.ActiveControl(), &form.Text1);
  form.Unload();
  form.Check1.SetFocus();  // chosen by code before showing: kept
  form.Show();
  EXPECT_EQ(form.ActiveControl(), &form.Check1);
}

TEST_F(FormsTest, UnloadRestoresDesignStateButKeepsTheFormsOwnVariables) {
  form.Show();
  form.Text1.SetText("abc");
  form.Check1.SetValue(1);
  form.List1.AddItem("word");
  form.OK.SetCaption("Changed");
  const Hwnd first = form.hWnd();
  form.Unload();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.unloads, 1);
  EXPECT_FALSE(machine.desktop.Exists(first));
  EXPECT_EQ(form.Text1.Text(), "design text");  // reloads
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(form.Check1.Value(), 0);
  EXPECT_EQ(form.List1.ListCount(), 0);
  EXPECT_EQ(form.OK.Caption(), "OK");
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.changes, 1);  // the form's own counters survive; loading raised nothing
  EXPECT_EQ(form.checkClicks, 1);
}

TEST_F(FormsTest, CodeChangesRaiseTheSameEventsAsTheUser) {
  form.Text1.SetText("x");
  form.Text1.SetText("x");  // unchanged: no event
  EXPECT_EQ(form.changes, 1);
  form.Check1.SetValue(1);
  form.Check1.SetValue(1);
  form.Check1.Press();
  EXPECT_EQ(form.checkClicks, 2);
  EXPECT_EQ(form.Check1.Value(), 0);
  form.List1.AddItem("a");
  form.List1.SetListIndex(0);
  EXPECT_EQ(form.listClicks, 1);
  form.List1.SetListIndex(7);  // no such entry: nothing
  EXPECT_EQ(form.listClicks, 1);
  EXPECT_EQ(form.List1.ListIndex(), 0);
}

TEST_F(FormsTest, TypingReplacesTheSelectionWithinTheMaximumLength) {
  form.Text1.SetText("");
  form.Text1.Type("abcdefg");
  EXPECT_EQ(form.Text1.Text(), "abcde");
  form.Text1.SetSelection(0, 5);
  form.Text1.Type("Z");
  EXPECT_EQ(form.Text1.Text(), "Z");
  form.Text1.SetEnabled(false);
  form.Text1.Type("q");
  EXPECT_EQ(form.Text1.Text(), "Z");
}

TEST_F(FormsTest, SortedListKeepsCaseInsensitiveOrderAndCheckStatesPerEntry) {
  forms::ListBox& list = form.List1;
  EXPECT_EQ(list.AddItem("sex"), 0);
  EXPECT_EQ(list.AddItem("Babe"), 0);
  EXPECT_EQ(list.AddItem("porn"), 1);
  EXPECT_EQ(list.AddItem("\xC9"
                         "cole"),
            3);  // lowered to é, which sorts after the plain letters
  list.SetSelected(0, true);
  list.SetListIndex(2);
  EXPECT_EQ(list.List(2), "sex");
  EXPECT_EQ(list.AddItem("apple"), 0);
  EXPECT_EQ(list.ListIndex(), 3);  // the current entry moves with its text
  EXPECT_TRUE(list.Selected(1));
  EXPECT_TRUE(list.RemoveItem(3));
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_FALSE(list.RemoveItem(9));
  EXPECT_EQ(list.List(9), "");
  EXPECT_FALSE(list.Selected(-1));
}

// As the platform's check-box list: whatever the user does to an entry makes it current and
// raises one Click.
TEST_F(FormsTest, UserActionsOnACheckListMakeTheEntryCurrentAndRaiseOneClickEach) {
  forms::ListBox& list = form.List1;
  list.AddItem("a");
  list.AddItem("b");
  form.Show();
  list.ClickCheckBox(1);
  EXPECT_TRUE(list.Selected(1));
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(form.listClicks, 1);
  list.ClickEntry(1);  // already current: Click again
  EXPECT_EQ(form.listClicks, 2);
  EXPECT_TRUE(list.Selected(1));
  list.PressSpace();
  EXPECT_FALSE(list.Selected(1));
  EXPECT_EQ(form.listClicks, 3);
  list.ClickEntry(0);
  EXPECT_EQ(list.ListIndex(), 0);
  EXPECT_FALSE(list.Selected(0));
  EXPECT_EQ(form.listClicks, 4);

  list.SetListIndex(-1);
  const int clicks = form.listClicks;
  list.PressSpace();  // no current entry: nothing to toggle
  list.ClickEntry(5);
  list.SetEnabled(false);
  list.ClickCheckBox(0);
  EXPECT_EQ(form.listClicks, clicks);
  EXPECT_FALSE(list.Selected(0));
}

// Tells what a view hears about lists: which change, which entry.
class ListHearing : public forms::ViewFactory {
 public:
  using Heard = std::vector<std::pair<forms::Prop, int>>;
  class View : public forms::FormView {
   public:
    explicit View(Heard& heard) : heard_(heard) {}
    Hwnd Handle() const override { return 1; }
    int Dpi() const override { return 96; }
    Point FramePixels() const override { return {}; }
    std::uint32_t IconHandle() const override { return 0; }
    void Changed(const forms::Control* control, forms::Prop what) override {
      const auto* list = dynamic_cast<const forms::ListBox*>(control);
      if (list == nullptr) return;
      const bool oneEntry = what == forms::Prop::ItemAdded || what == forms::Prop::ItemRemoved ||
                            what == forms::Prop::Value;
      heard_.emplace_back(what, oneEntry ? list->ChangedEntry() : -1);
    }
    forms::MenuItem* PopupMenu(forms::MenuItem&, forms::MenuItem*) override { return nullptr; }
    void ClosePopupMenu() override {}

   private:
    Heard& heard_;
  };
  std::unique_ptr<forms::FormView> CreateView(forms::Form&) override {
    return std::make_unique<View>(heard);
  }
  forms::ScreenInfo Screen() const override { return {}; }
  Heard heard;
};

// A view's work follows the entry changed; a load of many entries is one change.
TEST(ListChangesTest, ViewsHearOfEachEntryChangedAndOfABulkLoadOnce) {
  sim::SimMachine machine;
  sim::SimHost host{machine, "test"};
  ListHearing views;
  forms::Toolkit toolkit(host.loop, views);
  TestForm form(toolkit);
  forms::ListBox& list = form.List1;
  list.AddItems({{"b", true}, {"a", false}, {"c", false}});
  list.SetListIndex(1);
  list.AddItem("bb");
  list.SetSelected(2, true);
  list.RemoveItem(0);
  using P = forms::Prop;
  EXPECT_EQ(views.heard, (ListHearing::Heard{{P::Items, -1},
                                             {P::ListIndex, -1},
                                             {P::ItemAdded, 2},
                                             {P::Value, 2},
                                             {P::ItemRemoved, 0}}));
  EXPECT_EQ(list.List(0), "b");
  EXPECT_TRUE(list.Selected(0));
  EXPECT_EQ(list.List(1), "bb");
  EXPECT_TRUE(list.Selected(1));
  EXPECT_EQ(list.ListIndex(), 0);  // "b" stayed current through the changes around it
}

TEST_F(FormsTest, KeyboardRolesPressTheDefaultAndCancelButtonsOnlyWhenUsable) {
  form.Show();
  form.PressEnter();
  form.PressEscape();
  EXPECT_EQ(form.okPresses, 1);
  EXPECT_EQ(form.quitPresses, 1);
  form.Quit.SetDefault(true);  // one default per form
  EXPECT_FALSE(form.OK.Default());
  form.Text1.SetFocus();
  form.PressEnter();
  EXPECT_EQ(form.quitPresses, 2);
  form.Quit.SetVisible(false);
  form.PressEnter();
  form.PressEscape();
  EXPECT_EQ(form.quitPresses, 2);
  form.SetEnabled(false);
  form.OK.Press();
  EXPECT_EQ(form.okPresses, 1);
}

TEST_F(FormsTest, PopupMenuBlocksUntilTheUserChoosesAndThenRaisesTheItem) {
  bool returned = false;
  OnProcess([&] {
    form.PopupMenu(form.mnuPopup, &form.mnuOne);
    returned = true;
  });
  ASSERT_TRUE(host.popup.has_value());
  ASSERT_EQ(host.popupsShown.size(), 1u);
  EXPECT_TRUE(host.popupsShown[0].entries[0].isDefault);
  EXPECT_FALSE(host.popupsShown[0].entries[1].enabled);
  machine.world.RunFor(5000);
  EXPECT_FALSE(returned);
  machine.world.Post(host.pid, [&] { host.ChoosePopupItem("One"); });
  machine.world.RunFor(10);
  EXPECT_TRUE(returned);
  EXPECT_EQ(form.menuOne, 1);
}

TEST_F(FormsTest, AFailingHandlerIsToldAndThePopupClosesWithNothingChosen) {
  std::vector<std::string> told;
  host.toolkit.onFailure = [&](const std::string& what) { told.push_back(what); };
  form.mnuOne.onClick = [] { throw std::runtime_error("no room"); };
  bool returned = false;
  OnProcess([&] {
    form.PopupMenu(form.mnuPopup);
    form.PopupMenu(form.mnuPopup);
    returned = true;
  });
  machine.world.Post(host.pid, [&] { host.ChoosePopupItem("One"); });
  machine.world.RunFor(10);
  ASSERT_EQ(told, std::vector<std::string>{"An event handler failed: no room"});
  EXPECT_FALSE(returned);
  machine.world.Post(host.pid, [&] { form.ClosePopupMenu(); });
  machine.world.RunFor(10);
  EXPECT_TRUE(returned);
  EXPECT_EQ(told.size(), 1u);
}

TEST_F(FormsTest, TimersTickOnPeriodAndNeverReenterTheirOwnHandler) {
  int depth = 0, maxDepth = 0, ticks = 0;
  form.Delay.onTimer = [&] { form.Delay.SetEnabled(false); };
  form.Timer1.onTimer = [&] {
    ++ticks;
    maxDepth = std::max(maxDepth, ++depth);
    if (ticks == 2) {  // a handler that waits a second, serving events meanwhile
      form.Delay.SetInterval(1000);
      form.Delay.SetEnabled(true);
      while (form.Delay.Enabled()) host.toolkit.DoEvents();
    }
    --depth;
  };
  form.Timer1.SetEnabled(true);
  OnProcess([&] {
    while (form.Loaded()) host.toolkit.DoEvents();
  });
  machine.world.RunUntil(2000);
  EXPECT_EQ(maxDepth, 1);
  // Ticks at 250 and 500; the second ran until 1500; the next came a full period later.
  EXPECT_EQ(ticks, 4);
  form.Timer1.SetInterval(0);
  machine.world.RunFor(5000);
  EXPECT_EQ(ticks, 4);
}

TEST_F(FormsTest, ATickOutOfTurnKeepsThePeriodAndNeverNestsOrRunsWhileOff) {
  std::vector<Millis> ticks;
  bool nested = true;
  form.Timer1.onTimer = [&] {
    ticks.push_back(host.toolkit.Now());
    nested = form.Timer1.TickNow();
  };
  form.Timer1.SetEnabled(true);
  OnProcess([&] {
    while (form.Loaded()) host.toolkit.DoEvents();
  });
  bool ran = false;
  machine.world.Post(
      host.pid, [&] { ran = form.Timer1.TickNow(); }, 300);
  machine.world.RunUntil(600);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(nested);
  EXPECT_EQ(ticks, (std::vector<Millis>{250, 300, 500}));

  // Hurried: at the pump's next pass, and a full period after that.
  machine.world.Post(
      host.pid, [&] { form.Timer1.Hurry(); }, 610);
  machine.world.RunUntil(900);
  EXPECT_EQ(ticks, (std::vector<Millis>{250, 300, 500, 610, 860}));

  machine.world.Post(host.pid, [&] {
    form.Timer1.SetEnabled(false);
    form.Timer1.Hurry();
    ran = form.Timer1.TickNow();
  });
  machine.world.RunFor(2000);
  EXPECT_FALSE(ran);
  EXPECT_EQ(ticks.size(), 5u);
}

TEST_F(FormsTest, WaitingBesideOneTimerTakesABoundedNumberOfPasses) {
  int ticks = 0;
  form.Timer1.onTimer = [&] { ++ticks; };
  form.Timer1.SetEnabled(true);
  long passes = 0;
  OnProcess([&] {
    const long before = host.toolkit.Passes();
    const Millis until = host.toolkit.Now() + 10000;
    while (host.toolkit.Now() < until) host.toolkit.DoEvents();
    passes = host.toolkit.Passes() - before;
  });
  machine.world.RunFor(11000);
  EXPECT_EQ(ticks, 40);
  EXPECT_LE(passes, 41);
}

TEST_F(FormsTest, ATimerWithSlackTicksEarlyWithAnotherTimersWakeUpAndNeverLate) {
  std::vector<Millis> ticks;
  form.Timer1.onTimer = [&] { ticks.push_back(host.toolkit.Now()); };
  form.Timer1.slack = 30;
  form.Delay.onTimer = [] {};
  form.Delay.SetInterval(40);
  form.Delay.SetEnabled(true);
  form.Timer1.SetEnabled(true);
  long passes = 0;
  OnProcess([&] {
    const long before = host.toolkit.Passes();
    while (host.toolkit.Now() < 1000) host.toolkit.DoEvents();
    passes = host.toolkit.Passes() - before;
  });
  machine.world.RunFor(1100);
  // Each tick comes with the 40 ms timer's wake-up before it is due, a period after the last.
  EXPECT_EQ(ticks, (std::vector<Millis>{240, 480, 720, 960}));
  EXPECT_LE(passes, 1000 / 40 + 1);
}

TEST_F(FormsTest, AWaitThatCanNeverEndFailsInsteadOfHanging) {
  bool done = false;
  OnProcess([&] {
    while (!done) host.toolkit.DoEvents();  // nothing will ever set it
  });
  EXPECT_FALSE(machine.world.RunUntil([&] { return done; }, 60000));
  EXPECT_GE(machine.world.Now(), 60000);
  EXPECT_TRUE(machine.world.Alive(host.pid));
}

}  // namespace
}  // namespace pw
