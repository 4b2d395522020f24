#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/event_fields.h"
#include "owner/protocol.h"
#include "tests/monitor/lock_rig.h"
#include "tests/support/sim_service.h"

namespace pw::test {
namespace {

using history::Kind;
using history::Outcome;

constexpr const char* kLongTitle =
    "Казино casino \"Royale\", bets\r\nand odds - Microsoft Internet Explorer";

// A standard user's guard and the service on one machine; casino is locked, the prompt waits
// five seconds, the unlock password is "secret" and the setup password "admin".
class StopRecordTest : public LockRig, public ::testing::Test {
 protected:
  void StartWithService() {
    // Plain text an administrator left, taken in by the service at its start.
    Setting("UserPassword", "secret");
    Setting("UserPassword2", "admin");
    Setting("TimeDelay", "5");
    service.Start();
    StartLocked();
  }
  // A page of a browser program with the word in its title, stopped by the next scan.
 public:
  Hwnd Stop(const std::string& title) {
    const int browser = machine.desktop.StartProcess("firefox.exe");
    const Hwnd page = machine.desktop.OpenWindow(kBrowserClass, title, browser);
    Tick();
    EXPECT_TRUE(PromptUp()) << title;
    return page;
  }

 protected:
  std::vector<history::Entry> Recorded(Kind kind) {
    std::vector<history::Entry> found;
    for (const history::Entry& e : service.record.Entries()) {
      if (e.kind == kind) found.push_back(e);
    }
    return found;
  }
  // What the service makes of a message straight from a user's script on the pipe.
  std::vector<std::uint8_t> FromScript(const owner::Request& request) {
    return machine.pipes.Find(owner::kPipeName)->serve(owner::Encode(request), sim::PipeCaller{});
  }
  static std::string Encoded(const history::Entry& entry) {
    const auto bytes = history::Encode(entry);
    return {bytes.begin(), bytes.end()};
  }

  SimService service{machine};
};

// Three stops: refused after two wrong answers, withdrawn by the time limit, let through.
void ThreeStops(StopRecordTest& t);

TEST_F(StopRecordTest, EachStopIsRecordedWithItsOutcomeAndTheOwnerReadsThemNewestFirst) {
  StartWithService();
  ThreeStops(*this);

  const auto stops = Recorded(Kind::Stop);
  ASSERT_EQ(stops.size(), 3u);
  EXPECT_EQ(stops[0].outcome, Outcome::Refused);
  EXPECT_EQ(stops[0].wrongAnswers, 2u);
  EXPECT_EQ(stops[0].title, kLongTitle);
  EXPECT_EQ(stops[0].word, "casino");
  EXPECT_EQ(stops[0].program, "firefox.exe");
  EXPECT_EQ(stops[0].user, "PC\\child");
  EXPECT_EQ(stops[1].outcome, Outcome::TimedOut);
  EXPECT_EQ(stops[2].outcome, Outcome::Allowed);
  EXPECT_GE(stops[2].time, stops[0].time + 8);
  // Each also went to the event log, under its kind's event ID.
  ASSERT_GE(service.events.written.size(), 3u);
  EXPECT_EQ(service.events.written.back(), stops[2]);
  EXPECT_EQ(history::EventId(Kind::Stop), 101);

  const auto history = a.app.keeper.ReadHistory("admin", 500);
  ASSERT_EQ(history.reply.answer, owner::Answer::Right);
  ASSERT_EQ(history.entries.size(), 3u);
  EXPECT_EQ(history.entries[0], stops[2]);
  EXPECT_EQ(history.entries[2], stops[0]);
  EXPECT_EQ(a.app.keeper.ReadHistory("guess", 500).reply.answer, owner::Answer::Wrong);
}

TEST_F(StopRecordTest, TheHistoryWindowShowsTheNewestFirstAndExportsEveryEntryToCsv) {
  StartWithService();
  ThreeStops(*this);
  OpenSetupPrompt();
  Answer("admin");
  ASSERT_TRUE(SetupOpen());
  a.Do([&] { a.app.setup.mnuHistory.Press(); });
  frmHistory& window = a.app.history;
  ASSERT_TRUE(Shown(window));
  ASSERT_EQ(window.lvwHistory.RowCount(), 3);
  EXPECT_EQ(window.lvwHistory.Cell(0, 5), "Right password");
  EXPECT_EQ(window.lvwHistory.Cell(1, 5), "Closed by the time limit");
  EXPECT_EQ(window.lvwHistory.Cell(2, 5), "Refused after 2 wrong answers");
  EXPECT_EQ(window.lvwHistory.Cell(2, 3), kLongTitle);

  machine.shell.saveAnswer = "C:\\Users\\child\\stops.csv";
  a.Do([&] { window.cmdExport.Press(); });
  const std::string csv = machine.shell.files[*machine.shell.saveAnswer];
  const std::string quoted =
      "\"Казино casino \"\"Royale\"\", bets\r\nand odds - Microsoft Internet Explorer\"";
  const auto refused = csv.find(quoted);
  ASSERT_NE(refused, std::string::npos) << csv;
  // Oldest first in the file, every entry (the guard's start and the settings are not stops).
  EXPECT_LT(refused, csv.find("Closed by the time limit"));
  EXPECT_LT(csv.find("Closed by the time limit"), csv.find("Right password"));
  EXPECT_EQ(window.lblStatus.Caption(), "Exported 3 entries to " + *machine.shell.saveAnswer + ".");
}

TEST_F(StopRecordTest, UnlockAllAndLockAllAreRecorded) {
  StartWithService();
  OpenUnlockAll();
  a.Do([&] {
    prompt().txtPassword.Type("secret");
    prompt().cmdDeactivate.Press();
  });
  machine.world.RunFor(1000);
  ChooseFromTray("Lock All");
  machine.world.RunFor(1000);
  EXPECT_EQ(Recorded(Kind::UnlockAll).size(), 1u);
  EXPECT_EQ(Recorded(Kind::LockAll).size(), 1u);
}

TEST_F(StopRecordTest, AUsersScriptCannotForgeWhatOnlyTheServiceKnowsNorWhoStoppedWhat) {
  StartWithService();
  for (const Kind kind : {Kind::SettingsChanged, Kind::GuardStarted, Kind::GuardEnded,
                          Kind::GuardRestarted, Kind::RecordSetAside, Kind::ServiceProblem}) {
    const auto reply =
        owner::DecodeReply(FromScript({owner::Ask::Report, {Encoded(history::EntryOf(kind))}}));
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->answer, owner::Answer::BadRequest);
  }
  EXPECT_TRUE(Recorded(Kind::SettingsChanged).empty());
  EXPECT_TRUE(Recorded(Kind::GuardStarted).empty());

  history::Entry forged = history::EntryOf(Kind::Stop);
  forged.outcome = Outcome::Allowed;
  forged.user = "PC\\parent";
  forged.session = 7;
  forged.detail = "the owner let this through";
  forged.title = std::string(300, 'x');
  FromScript({owner::Ask::Report, {Encoded(forged)}});
  const auto stops = Recorded(Kind::Stop);
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_EQ(stops[0].user, "PC\\child");
  EXPECT_EQ(stops[0].session, 1u);
  EXPECT_EQ(stops[0].detail, "");
  EXPECT_EQ(stops[0].title.size(), history::kTitleChars);

  // The history is the owner's: not without the setup password, whoever asks.
  const auto page = FromScript({owner::Ask::ReadHistory, {"", "0"}});
  EXPECT_FALSE(owner::DecodeHistoryPage(page).has_value());
}

TEST_F(StopRecordTest, TheGuardReadsWhatItShowsInOneExchangeAndAnOlderServiceStillAnswers) {
  StartWithService();
  ThreeStops(*this);
  const std::size_t total = service.record.Entries().size();
  const auto page = [&](std::vector<std::string> fields) {
    return owner::DecodeHistoryPage(FromScript({owner::Ask::ReadHistory, std::move(fields)}));
  };
  const auto two = page({"admin", "1", "2"});
  ASSERT_TRUE(two.has_value());
  EXPECT_EQ(two->entries.size(), 2u);
  EXPECT_EQ(two->entries[0], service.record.Entries()[total - 2]);
  ASSERT_TRUE(page({"admin", "1"}).has_value());
  EXPECT_EQ(page({"admin", "1"})->entries.size(), total - 1);
  for (const auto& malformed : std::vector<std::vector<std::string>>{
           {"admin", "0", "2x"}, {"admin", "0", ""}, {"admin", "0", "2", "2"}}) {
    EXPECT_EQ(FromScript({owner::Ask::ReadHistory, malformed}), owner::Encode(owner::Reply{}));
  }

  const int checks = service.keys.derivations;
  auto read = a.app.keeper.ReadHistory("admin", 2);
  EXPECT_EQ(service.keys.derivations, checks + 1);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[0], service.record.Entries().back());

  // A service that knows only the two-field form refuses a third: the guard asks without it.
  machine.pipes.Close(owner::kPipeName);
  machine.pipes.Create(
      owner::kPipeName, service.pid,
      [&](std::span<const std::uint8_t> message, const sim::PipeCaller& c) {
        const auto request = owner::DecodeRequest(message);
        if (request && request->fields.size() == 3) {
          return owner::Encode(owner::Reply{});
        }
        return service.authority.Serve(message, {c.session, c.admin, c.user}, machine.world.Now());
      });
  read = a.app.keeper.ReadHistory("admin", 2);
  ASSERT_EQ(read.reply.answer, owner::Answer::Right);
  ASSERT_EQ(read.entries.size(), 2u);
  EXPECT_EQ(read.entries[1], service.record.Entries()[total - 2]);
}

TEST_F(StopRecordTest, AReportIsAnsweredBeforeItIsWritten) {
  StartWithService();
  history::Entry stop = history::EntryOf(Kind::Stop);
  stop.outcome = Outcome::Allowed;
  const std::size_t before = service.events.written.size();
  std::size_t writtenWhenAnswered = 0;
  service.authority.Serve(owner::Encode(owner::Request{owner::Ask::Report, {Encoded(stop)}}),
                          {1, false, "PC\\child"}, 0, [&](const std::vector<std::uint8_t>& reply) {
                            EXPECT_EQ(owner::DecodeReply(reply)->answer, owner::Answer::Right);
                            writtenWhenAnswered = service.events.written.size();
                          });
  EXPECT_EQ(writtenWhenAnswered, before);
  EXPECT_EQ(service.events.written.size(), before + 1);
  EXPECT_EQ(Recorded(Kind::Stop).size(), 1u);
}

TEST_F(StopRecordTest, AStoredChangeIsRecordedWithWhatChangedButNeverAPassword) {
  StartWithService();
  Preferences preferences;
  preferences.browser = "Firefox";
  a.app.keeper.StoreSettings("admin", preferences, {{"casino", true}, {"poker", true}});
  a.app.keeper.StoreUnlock("admin", "hunter22");
  const auto changes = Recorded(Kind::SettingsChanged);
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_NE(changes[0].detail.find("words added: \"poker\""), std::string::npos)
      << changes[0].detail;
  EXPECT_NE(changes[0].detail.find("\"Firefox\""), std::string::npos) << changes[0].detail;
  EXPECT_EQ(changes[1].detail, "The unlock password was changed.");
  const std::string file(service.recordFile.bytes.begin(), service.recordFile.bytes.end());
  EXPECT_EQ(file.find("hunter"), std::string::npos);
  EXPECT_EQ(file.find("admin"), std::string::npos);
}

TEST_F(StopRecordTest, WithoutTheServiceTheGuardWritesTheEventLogItselfAndKeepsNoFile) {
  Setting("passwordprompt", "1");
  StartLocked();
  const int browser = machine.desktop.StartProcess("chrome.exe");
  machine.desktop.OpenWindow(kBrowserClass, kCasinoTitle, browser);
  machine.world.RunFor(1000);
  ASSERT_EQ(machine.events.size(), 1u);
  EXPECT_EQ(machine.events[0].id, history::EventId(Kind::Stop));
  const std::vector<std::string> strings{
      "Closed without a prompt", "", "chrome.exe", kCasinoTitle, "casino", "", "0"};
  EXPECT_EQ(machine.events[0].strings, strings);
  EXPECT_FALSE(service.recordFile.exists);
}

void ThreeStops(StopRecordTest& t) {
  t.Stop(kLongTitle);
  t.Answer("wrong");
  t.Answer("worse");
  t.a.Do([&] { t.prompt().Command1.Press(); });
  t.machine.world.RunFor(1000);
  t.Stop("casino news - Microsoft Internet Explorer");
  t.machine.world.RunFor(7000);
  EXPECT_FALSE(t.PromptUp());
  t.Stop("casino rules - Microsoft Internet Explorer");
  t.Answer("secret");

  t.machine.world.RunFor(1000);
}

}  // namespace
}  // namespace pw::test
