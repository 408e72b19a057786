#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "guilink.h"
#include "outside_test_support.h"
#include "password.h"

namespace ravell::testing {
namespace {

class GuiLibraryTest : public CallLog {
 protected:
  // A library whose hooks write into the call log.
  std::unique_ptr<GuiLibrary> Gui(const QString& folder) {
    auto gui = std::make_unique<GuiLibrary>(folder, messages_);
    const QString log = LogPath();
    gui->SetTrayMenuHooks([log] { AppendLine(log, "detach"); },
                          [log] { AppendLine(log, "attach"); });
    return gui;
  }

  LoggedMessages messages_{LogPath()};
  int window_ = 0;
};

TEST_F(GuiLibraryTest, DialogsRunBetweenDetachAndAttachAndUnload) {
  const QString folder = FakeLibs("gui_full");
  auto gui = Gui(folder);

  gui->ShowAbout(&window_);
  EXPECT_EQ(TakeLines(), QStringList({"detach", "ShowAbout|window", "attach"}));
  EXPECT_FALSE(IsLoaded(folder + "/librvgui.so"));

  // The fake answers the task's length in bytes: "Wr\u00efte" is 6 in UTF-8.
  EXPECT_EQ(gui->ShowAlarm(&window_, "Planned time 1:00:00 for", "Wr\u00efte", "Alpha"), 6);
  EXPECT_EQ(TakeLines(), QStringList({"detach",
                                      "ShowAlarm|window|Planned time 1:00:00 for|Wr\u00efte|Alpha",
                                      "attach"}));
  EXPECT_FALSE(IsLoaded(folder + "/librvgui.so"));
}

TEST_F(GuiLibraryTest, FailuresAreReportedAndTheMenuComesBack) {
  struct Case {
    const char* name;
    QString folder;
    std::function<int(GuiLibrary&)> call;
    QString message;
  };
  const QString no_library = "message|Can not load library librvgui.so";
  const Case cases[] = {
      {"About, no library", EmptyFolder(),
       [&](GuiLibrary& gui) {
         gui.ShowAbout(&window_);
         return 0;
       },
       no_library},
      {"Options, no library", EmptyFolder(),
       [&](GuiLibrary& gui) { return gui.ShowOptions(&window_, false); }, no_library},
      {"Alarm, no library", EmptyFolder(),
       [&](GuiLibrary& gui) { return gui.ShowAlarm(&window_, "m", "task", "p"); }, no_library},
      {"Alarm, no export", FakeLibs("gui_partial"),
       [&](GuiLibrary& gui) { return gui.ShowAlarm(&window_, "m", "task", "p"); },
       "message|Method with name ShowAlarm was not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto gui = Gui(c.folder);
    EXPECT_EQ(c.call(*gui), 0);
    EXPECT_EQ(TakeLines(), QStringList({"detach", c.message, "attach"}));
  }
  EXPECT_FALSE(IsLoaded(FakeLibs("gui_partial") + "/librvgui.so"));
}

TEST_F(GuiLibraryTest, OptionsDialogRoundTripsThePasswordThroughTheCallBacks) {
  const QString password = "s\u00e9cret 42";
  qputenv("RAVELL_FAKE_PASSWORD", ToFileText(password));
  auto gui = Gui(FakeLibs("gui_full"));

  // 5: the dialog got the password back from what it stored.
  EXPECT_EQ(gui->ShowOptions(&window_, true), 5);
  const QStringList lines = TakeLines();
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "detach");
  EXPECT_EQ(lines[2], "attach");
  const QStringList fields = lines[1].split('|');
  ASSERT_EQ(fields.size(), 6);
  EXPECT_EQ(fields[0], "ShowOptions");
  EXPECT_EQ(fields[2], "1");  // setup mode
  EXPECT_NE(fields[3], password);
  EXPECT_EQ(UnscramblePassword(fields[3]), password);
  EXPECT_EQ(fields[4], password);
  EXPECT_EQ(fields[5], "[]");  // no block: empty text
}

// Each direction keeps its own result, so one survives a call of the other.
TEST(PasswordCallbacks, ResultsStayValidAcrossTheOtherCallBack) {
  const QByteArray scrambled = ToFileText(ScramblePassword("pw"));
  char* block = static_cast<char*>(std::malloc(scrambled.size() + 1));
  std::memcpy(block, scrambled.constData(), scrambled.size() + 1);

  const char* plain = RavellUnscrambleCallback(reinterpret_cast<intptr_t>(block));
  EXPECT_STREQ(RavellScrambleCallback(0), "");
  EXPECT_STREQ(plain, "pw");
}

TEST_F(GuiLibraryTest, SplashKeepsTheLibraryUntilCloseSplash) {
  const QString folder = FakeLibs("gui_full");
  const QString path = folder + "/librvgui.so";
  {
    auto gui = Gui(folder);
    gui->ShowSplash(&window_);
    EXPECT_TRUE(IsLoaded(path));

    bool pending_ran = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { pending_ran = true; }, Qt::QueuedConnection);
    gui->CloseSplash();
    EXPECT_TRUE(pending_ran);
    EXPECT_FALSE(IsLoaded(path));
    gui->CloseSplash();  // nothing left to close

    // No tray menu hooks around the splash.
    EXPECT_EQ(TakeLines(), QStringList({"ShowSplash|window", "CloseSplash"}));

    gui->ShowSplash(&window_);
  }
  // Never closed: the destructor unloads it.
  EXPECT_FALSE(IsLoaded(path));
}

TEST_F(GuiLibraryTest, SplashFailuresAreReported) {
  auto missing = Gui(EmptyFolder());
  missing->ShowSplash(&window_);
  missing->CloseSplash();
  EXPECT_EQ(TakeLines(), QStringList{"message|Can not load library librvgui.so"});

  const QString folder = FakeLibs("gui_partial");
  auto partial = Gui(folder);
  partial->ShowSplash(&window_);
  partial->CloseSplash();
  EXPECT_EQ(TakeLines(), QStringList({"ShowSplash|window",
                                      "message|Method with name CloseSplash was not found"}));
  EXPECT_FALSE(IsLoaded(folder + "/librvgui.so"));
}

}  // namespace
}  // namespace ravell::testing
