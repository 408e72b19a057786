#include "guilayout.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "atomicfile.h"

namespace ravell {
namespace {

TEST(BarFlagsTest, ReadStopsAtTheFirstWordWithoutSemicolon) {
  struct Case {
    const char* text;
    BarFlags want;
  };
  const Case cases[] = {
      {"Visible;Captions;List;", {true, true, true}},
      {"Visible;", {true, false, false}},
      {"Visible", {false, false, false}},  // no ";": no word
      {"", {false, false, false}},
      {"List;Visible;", {true, false, true}},
      {"visible;Captions;", {false, true, false}},   // case matters
      {"Big;Visible;", {true, false, false}},        // unknown words are skipped
      {"Visible;;Captions;", {true, false, false}},  // an empty word ends reading
      {"Visible;Captions", {true, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseBarFlags(c.text), c.want) << c.text;
}

TEST(BarFlagsTest, WrittenAsTheSetWordsEachWithSemicolon) {
  EXPECT_EQ(BarFlagsText({true, true, true}), "Visible;Captions;List;");
  EXPECT_EQ(BarFlagsText({true, false, false}), "Visible;");
  EXPECT_EQ(BarFlagsText({false, true, false}), "Captions;");
  EXPECT_EQ(BarFlagsText({}), "");
}

class GuiLayoutTest : public ::testing::Test {
 protected:
  void WriteIni(const QByteArray& text) { WriteFileAtomic(folder_.path() + "/ravell.ini", text); }
  QTemporaryDir folder_;
  Settings settings_{folder_.path()};
};

TEST_F(GuiLayoutTest, MissingSectionGivesTheDefaults) {
  EXPECT_EQ(ReadGuiLayout(settings_), GuiLayout{});
  const GuiLayout defaults;
  EXPECT_TRUE(defaults.todo_visible && defaults.log_visible && defaults.rate_visible);
  EXPECT_EQ(defaults.context_bar, (BarFlags{true, false, false}));
  EXPECT_FALSE(defaults.window_width.has_value());
}

TEST_F(GuiLayoutTest, SwitchesAreYesOnlyAndBadNumbersAreIgnored) {
  WriteIni(
      "[GUI]\r\nToDoVisible=yes\r\nLogVisible=No\r\nRateVisible=Yes\r\n"
      "WindowTop=-12\r\nWindowLeft=12px\r\nWindowWidth= 700 \r\nWindowHeight=\r\n"
      "LogHeight=9 0\r\nToDoWidth=0x20\r\nVisBar=\r\nContextBar=Visible\r\n");
  const GuiLayout layout = ReadGuiLayout(settings_);
  EXPECT_FALSE(layout.todo_visible);
  EXPECT_FALSE(layout.log_visible);
  EXPECT_TRUE(layout.rate_visible);
  EXPECT_EQ(layout.window_top, -12);
  EXPECT_EQ(layout.window_left, std::nullopt);
  EXPECT_EQ(layout.window_width, 700);  // the settings file trims values
  EXPECT_EQ(layout.window_height, std::nullopt);
  EXPECT_EQ(layout.log_height, std::nullopt);
  EXPECT_EQ(layout.todo_width, std::nullopt);
  EXPECT_EQ(layout.options_bar, (BarFlags{true, false, false}));
  EXPECT_EQ(layout.vis_bar, BarFlags{});
  EXPECT_EQ(layout.context_bar, BarFlags{});
}

TEST_F(GuiLayoutTest, WrittenInOrderAndReadBack) {
  WriteIni("[Storage]\r\nTarget=Log\r\n");
  GuiLayout layout;
  layout.log_visible = false;
  layout.rate_visible = false;
  layout.window_top = 5;
  layout.window_left = 6;
  layout.window_width = 700;
  layout.window_height = 400;
  layout.log_height = 90;
  layout.todo_width = 160;
  layout.options_bar = {true, true, true};
  layout.vis_bar = {};
  WriteGuiLayout(settings_, layout);
  EXPECT_EQ(ReadWholeFile(folder_.path() + "/ravell.ini"),
            "[Storage]\r\nTarget=Log\r\n[GUI]\r\nToDoVisible=Yes\r\nLogVisible=No\r\n"
            "RateVisible=No\r\nWindowTop=5\r\nWindowLeft=6\r\nWindowWidth=700\r\n"
            "WindowHeight=400\r\nLogHeight=90\r\nToDoWidth=160\r\n"
            "OptionsBar=Visible;Captions;List;\r\nVisBar=\r\nContextBar=Visible;\r\n");
  EXPECT_EQ(ReadGuiLayout(settings_), layout);
}

}  // namespace
}  // namespace ravell
