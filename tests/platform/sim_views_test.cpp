#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/list_box.h"
#include "platform/sim/sim_host.h"
#include "platform/sim/sim_machine.h"

namespace pw {
namespace {

using forms::Bounds;

// Controls whose state can change behind their view's back, as it would through a setter that
// forgets to notify.
class QuietLabel : public forms::Label {
 public:
  using Label::Label;
  void SetCaptionQuietly(std::string caption) { Cur().caption = std::move(caption); }
};

class QuietList : public forms::ListBox {
 public:
  using ListBox::ListBox;
  void CheckQuietly(std::size_t index) { Cur().entries.at(index).checked = true; }
};

class MirroredForm : public forms::Form {
 public:
  explicit MirroredForm(forms::Toolkit& tk)
      : Form(tk, "MirroredForm"),
        Label1(*this, "Label1", "design", Bounds{120, 120, 2000, 300}),
        List1(*this, "List1", Bounds{120, 600, 2000, 1500}, 0) {
    design.caption = "Mirrored";
    design.clientWidth = 3000;
    design.clientHeight = 2500;
    List1.design.sorted = true;
    List1.design.checkBoxes = true;
  }

  QuietLabel Label1;
  QuietList List1;
};

class SimViewsTest : public ::testing::Test {
 protected:
  // Runs code on the form's process up to its next wait; returns the fault the simulation
  // reported, if any.
  std::string Run(std::function<void()> body) {
    machine.world.Start(host.pid, [this, body = std::move(body)] {
      body();
      host.toolkit.DoEvents();
    });
    try {
      machine.world.RunFor(0);
    } catch (const std::logic_error& fault) {
      return fault.what();
    }
    return "";
  }
  void TearDown() override { machine.world.Kill(host.pid); }

  sim::SimMachine machine;
  sim::SimHost host{machine, "test"};
  MirroredForm form{host.toolkit};
};

TEST_F(SimViewsTest, ChangesToldToTheViewPass) {
  EXPECT_EQ(Run([&] {
              form.Show();
              form.SetCaption("Told");
              form.Label1.SetCaption("told");
              form.List1.AddItems({{"b", false}, {"a", true}});
              form.List1.SetListIndex(1);
              form.List1.AddItem("ab");  // lands before the current entry
              form.List1.SetSelected(0, true);
              form.List1.RemoveItem(2);
              form.List1.SetEnabled(false);
            }),
            "");
  EXPECT_TRUE(machine.world.Alive(host.pid));
}

TEST_F(SimViewsTest, AChangeKeptFromTheViewEndsTheProcessNamingControlAndValues) {
  const std::string fault = Run([&] {
    form.Show();
    form.Label1.SetCaptionQuietly("untold");
  });
  EXPECT_NE(fault.find("MirroredForm.Label1: the view shows caption \"design\" where the model "
                       "has \"untold\""),
            std::string::npos)
      << fault;
  EXPECT_TRUE(machine.world.Ended(host.pid));
}

TEST_F(SimViewsTest, AnEntryCheckedBehindTheViewIsFound) {
  const std::string fault = Run([&] {
    form.List1.AddItems({{"a", false}, {"b", false}});
    form.List1.CheckQuietly(1);
  });
  EXPECT_NE(fault.find("MirroredForm.List1: the view shows entry 1 as \"b\" where the model has "
                       "\"b\" (checked)"),
            std::string::npos)
      << fault;
}

}  // namespace
}  // namespace pw
