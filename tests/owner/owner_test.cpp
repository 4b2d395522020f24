#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "owner/keeper.h"
#include "owner/protocol.h"
#include "store/registry_module.h"
#include "tests/monitor/lock_rig.h"
#include "tests/support/machine_test.h"
#include "tests/support/sim_service.h"

namespace pw::test {
namespace {

constexpr const char* kVaultPath = "SOFTWARE\\Tarnwick\\Addon2\\Vault";

// The service and a guarded standard user's guard on one machine.
class OwnerTest : public MachineTest {
 protected:
  // The owner's passwords as an administrator's reg add leaves them, in plain text, for the
  // service to take in at its start; casino is locked.
  void StartOwned(const std::string& unlock = "secret", const std::string& setup = "admin") {
    PutSetting("UserPassword", unlock);
    PutSetting("UserPassword2", setup);
    PutWord(0, "casino,1");
    service.Start();
    a.Start();
  }

  // The tray's menu item, chosen as the user does; the action runs on the guard's own thread.
  void ChooseFromTray(SimApp& app, const std::string& item) {
    app.Do([this, &app] {
      machine.shell.ClickIcon(app.app.main.hWnd(), kTrayIconId, kRightButtonUp);
      app.host.toolkit.DoEvents();
    });
    bool chosen = false;
    app.Do([&] { chosen = app.host.ChoosePopupItem(item); });
    ASSERT_TRUE(chosen) << item;
  }
  void Answer(SimApp& app, const std::string& text) {
    app.Do([&] { app.app.password.txtPassword.Type(text); });
    app.Do([&] { app.app.password.cmdOK.Press(); });
  }
  void Answer(const std::string& text) { Answer(a, text); }
  std::string Label() { return a.app.password.Label1.Caption(); }
  // A page with the locked word, in front and seen by the next scan.
  Hwnd OpenLocked() {
    const Hwnd page = machine.desktop.OpenWindow(kBrowserClass, kCasinoTitle);
    machine.world.RunFor(kTick);
    EXPECT_TRUE(a.PromptShown());
    return page;
  }
  bool LetThrough(Hwnd page) { return !a.PromptShown() && machine.desktop.Find(page)->enabled; }
  // Both passwords typed twice into the change-passwords dialog.
  void ChangePasswords(SimApp& app, const std::string& unlock, const std::string& setup) {
    frmChangePassword& dialog = app.app.changePassword;
    app.Do([&] { app.app.setup.mnuChangePassword.Press(); });
    for (int round = 0; round < 2; ++round) {
      app.Do([&] { dialog.txtPassword.Type(unlock); });
      app.Do([&] { dialog.txtPassword2.Type(setup); });
      app.Do([&] { dialog.cmdOK.Press(); });
    }
  }
  void Press(SimApp& app, forms::CommandButton& button) {
    app.Do([&] { button.Press(); });
  }
  void Press(forms::CommandButton& button) { Press(a, button); }
  // No value anywhere in the program's keys holds a password a standard user can read.
  void ExpectNoPasswordReadable() {
    RegistryModule user(machine.registry.StandardUser());
    const RegistryValue none = std::string("(none)");
    for (const auto& [key, name] :
         std::vector<std::pair<const char*, const char*>>{{kSettingsPath, "UserPassword"},
                                                          {kSettingsPath, "UserPassword2"},
                                                          {kVaultPath, "Unlock"},
                                                          {kVaultPath, "Setup"}}) {
      EXPECT_EQ(user.GetRegValue(HKEY_LOCAL_MACHINE_, key, name, none), none) << name;
    }
    EXPECT_TRUE(a.app.shared.UnlockPassword.empty());
    EXPECT_TRUE(a.app.shared.SetupPassword.empty());
  }

  SimService service{machine};
  SimApp a{machine, "pgwatch.exe", SimApp::User::Standard};
  frmSetup& setup = a.app.setup;
};

TEST_F(OwnerTest, AStandardUsersSetupStoresThroughTheServiceAndTheNewPasswordsOpenTheLock) {
  PutWord(1, "poker,0");
  StartOwned();
  ChooseFromTray(a, "Configure...");
  Answer("wrong");
  EXPECT_EQ(Label(), frmPassword::kDenied);
  Answer("ADMIN");
  ASSERT_TRUE(Shown(setup));
  EXPECT_EQ(setup.Label1.Caption(), setup.Label1.design.caption);

  a.Do([&] { setup.List1.ClickCheckBox(1); });
  a.Do([&] { setup.txtwebbrowser.SetText("Explorer"); });
  Press(setup.cmdApply);
  EXPECT_EQ(setup.Label1.Caption(), setup.Label1.design.caption);
  EXPECT_EQ(Word(0), "casino,1");
  EXPECT_EQ(Word(1), "poker,1");
  EXPECT_EQ(Setting("webbrowser"), "Explorer");
  EXPECT_EQ(Setting("HideMenu"), "0");
  EXPECT_EQ(Setting("FirstTime"), "1");

  ChangePasswords(a, "NewLock", "NewSet");
  EXPECT_FALSE(a.app.changePassword.Loaded());
  ExpectNoPasswordReadable();
  // Later stores of this setup session carry the new setup password.
  a.Do([&] { setup.txtwebbrowser.SetText("Internet"); });
  Press(setup.Cmdok);
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(Setting("webbrowser"), "Internet");

  machine.world.RunFor(1000);
  const Hwnd page = OpenLocked();
  Answer("secret");
  EXPECT_EQ(Label(), frmPassword::kDenied);
  Answer("newlock");
  EXPECT_TRUE(LetThrough(page));
  ChooseFromTray(a, "Configure...");
  Answer("admin");
  EXPECT_FALSE(Shown(setup));
  Answer("newset");
  EXPECT_TRUE(Shown(setup));
}

TEST_F(OwnerTest, AStoreWithASetupPasswordChangedMeanwhileStoresNothing) {
  StartOwned();
  ChooseFromTray(a, "Configure...");
  Answer("admin");
  ASSERT_TRUE(Shown(setup));
  PutSetting("UserPassword2", "other");  // the owner, elevated, from outside
  service.SettingsChanged();
  a.Do([&] { setup.txtwebbrowser.SetText("Firefox"); });
  Press(setup.Cmdok);
  EXPECT_TRUE(Shown(setup));
  EXPECT_EQ(setup.Label1.Caption(), "The setup password has changed: open the setup window again.");
  EXPECT_FALSE(HasSetting("webbrowser"));
  EXPECT_FALSE(HasSetting("FirstTime"));
}

TEST_F(OwnerTest, PlainTextIsTakenInAtStartAndAtEachChangeAndStillOpensTheLock) {
  StartOwned();
  EXPECT_FALSE(HasSetting("UserPassword"));
  EXPECT_FALSE(HasSetting("UserPassword2"));
  ExpectNoPasswordReadable();
  for (const char* name : {"Unlock", "Setup"}) {
    const std::string record = machine.registry.GetString(HKEY_LOCAL_MACHINE_, kVaultPath, name);
    EXPECT_TRUE(record.starts_with("pbkdf2-sha256$")) << record;
    EXPECT_EQ(record.find("secret"), std::string::npos);
    EXPECT_EQ(record.find("admin"), std::string::npos);
  }

  PutSetting("UserPassword", "opensesame");  // an administrator's reg add
  service.SettingsChanged();
  machine.world.RunFor(1000);  // the guard reloads what changed
  EXPECT_FALSE(HasSetting("UserPassword"));
  ExpectNoPasswordReadable();
  const Hwnd page = OpenLocked();
  Answer("secret");
  EXPECT_EQ(Label(), frmPassword::kDenied);
  Answer("opensesa");
  EXPECT_TRUE(LetThrough(page));
}

TEST_F(OwnerTest, APipeServerThatIsNotTheServiceHearsNoPassword) {
  std::vector<std::vector<std::uint8_t>> heard;
  const int squatter = machine.world.AddProcess("squatter.exe");
  ASSERT_TRUE(machine.pipes.Create(
      owner::kPipeName, squatter, [&](std::span<const std::uint8_t> bytes, const sim::PipeCaller&) {
        heard.emplace_back(bytes.begin(), bytes.end());
        return owner::Encode(owner::Reply{owner::Answer::Right, 0, true});
      }));
  StartOwned();
  const Hwnd page = OpenLocked();
  Answer("secret");
  EXPECT_FALSE(LetThrough(page));
  EXPECT_EQ(Label(), owner::kCannotCheck);
  EXPECT_TRUE(heard.empty());
}

TEST_F(OwnerTest, AnUnreachableServiceRefusesEveryAnswerAndNoPasswordCountsAsEmpty) {
  StartOwned();
  service.Stop();
  const Hwnd page = OpenLocked();
  Answer("secret");
  EXPECT_FALSE(LetThrough(page));
  EXPECT_EQ(Label(), owner::kCannotCheck);
  a.Do([&] { a.app.password.Command1.Press(); });
  machine.world.RunFor(1000);

  // The guard holds no password, so an empty setup entry would match what it holds.
  ChooseFromTray(a, "Configure...");
  Answer("");
  EXPECT_FALSE(Shown(setup));
  EXPECT_EQ(Label(), owner::kCannotCheck);
  a.Do([&] { a.app.password.Command1.Press(); });
  machine.world.RunFor(1000);

  // Running, but not answering.
  service.Start();
  machine.pipes.Find(owner::kPipeName)->hangs = true;
  const Hwnd second = OpenLocked();
  Answer("secret");
  EXPECT_EQ(Label(), owner::kCannotCheck);
  machine.pipes.Find(owner::kPipeName)->hangs = false;
  Answer("secret");
  EXPECT_TRUE(LetThrough(second));
}

TEST_F(OwnerTest, TheThirtyFirstCheckInAMinuteWaitsAndThePromptSaysHowLong) {
  StartOwned();
  const Hwnd page = OpenLocked();
  for (int i = 0; i < 29; ++i) Answer("guess");
  EXPECT_EQ(Label(), frmPassword::kDenied);
  // The check made for the Unlock All box as typing pauses is the thirtieth.
  a.Do([&] { a.app.password.txtPassword.Type("secret"); });
  machine.world.RunFor(700);
  EXPECT_TRUE(a.app.password.chkunlock.Visible());
  a.Do([&] { a.app.password.cmdOK.Press(); });
  EXPECT_FALSE(LetThrough(page));
  EXPECT_EQ(Label(), "Too many tries: wait 60 seconds.");

  machine.world.RunFor(60'000);
  Answer("secret");
  EXPECT_TRUE(LetThrough(page));
}

TEST_F(OwnerTest, OnlyAnAdministratorSetsTheFirstPasswords) {
  PutWord(0, "casino,1");
  service.Start();
  {
    SimApp guarded(machine, "pgwatch.exe", SimApp::User::Standard);
    guarded.Start();
    frmSetup& first = guarded.app.setup;
    ChooseFromTray(guarded, "Configure...");
    Answer(guarded, "");
    ASSERT_TRUE(Shown(first));
    EXPECT_EQ(first.Label1.Caption(), owner::kNeedsAdmin);
    Press(guarded, first.Cmdok);
    EXPECT_TRUE(Shown(first));
    EXPECT_EQ(first.Label1.Caption(), owner::kNeedsAdmin);
    EXPECT_FALSE(HasSetting("FirstTime"));
    ChangePasswords(guarded, "mine", "mine");
    EXPECT_EQ(guarded.app.changePassword.Label1.Caption(), owner::kNeedsAdmin);
    EXPECT_TRUE(machine.registry.ValueNames(HKEY_LOCAL_MACHINE_, kVaultPath).empty());
  }
  {
    SimApp admin(machine, "pgwatch.exe", SimApp::User::Owner);
    admin.Start();
    ChooseFromTray(admin, "Configure...");
    Answer(admin, "");
    ASSERT_TRUE(Shown(admin.app.setup));
    EXPECT_EQ(admin.app.setup.Label1.Caption(), admin.app.setup.Label1.design.caption);
    ChangePasswords(admin, "lock", "set");
    EXPECT_FALSE(admin.app.changePassword.Loaded());
  }

  a.Start();
  ExpectNoPasswordReadable();
  const Hwnd page = OpenLocked();
  Answer("lock");
  EXPECT_TRUE(LetThrough(page));
  ChooseFromTray(a, "Configure...");
  Answer("set");
  ASSERT_TRUE(Shown(setup));
  Press(setup.Cmdok);
  EXPECT_FALSE(setup.Loaded());
  EXPECT_EQ(Setting("FirstTime"), "1");
}

}  // namespace
}  // namespace pw::test
