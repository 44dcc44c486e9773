#include "platform/windowserver/ScriptedAnswers.h"

#include <gtest/gtest.h>

#include "platform/windowserver/HeadlessBackend.h"

namespace {

std::shared_ptr<platform::MenuTree> Tree() {
  auto types = std::make_shared<platform::MenuTree>();
  types->items.resize(3);
  types->items[0].text = "Bell";
  types->items[1].text = "Notch";
  types->items[1].enabled = false;
  types->items[2].separator = true;
  auto top = std::make_shared<platform::MenuTree>();
  top->items.resize(3);
  top->items[0].text = "Solo";
  top->items[1].text = "Type";
  top->items[1].submenu = types;
  top->items[2].text = "Filters";
  top->items[2].header = true;
  return top;
}

struct ChoiceCase {
  const char* submenu;
  int item;
  std::vector<int> path;
};

class MenuChoices : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(MenuChoices, FindTheSubmenuByTheTextOfItsItem) {
  const ChoiceCase c = GetParam();
  EXPECT_EQ(platform::ResolveMenuChoice(*Tree(), platform::MenuItemChoice(c.submenu, c.item)).path, c.path);
}

INSTANTIATE_TEST_SUITE_P(Table, MenuChoices,
                         ::testing::Values(ChoiceCase{"", 0, {0}}, ChoiceCase{"Type", 0, {1, 0}},
                                           // Nothing a user could not pick.
                                           ChoiceCase{"", 1, {}}, ChoiceCase{"", 2, {}}, ChoiceCase{"Type", 1, {}},
                                           ChoiceCase{"Type", 2, {}}, ChoiceCase{"Type", 3, {}},
                                           ChoiceCase{"Tipe", 0, {}}, ChoiceCase{"", -1, {}}));

TEST(ScriptedAnswers, OnlyTheFirstAnswerIsTakenAndOnlyByItsKind) {
  platform::ResetWindowServer();
  platform::ScriptAnswer(platform::PanelPath("/tmp/a.wav"));
  platform::ScriptAnswer(platform::AlertButton("Yes"));
  platform::AlertRequest alert;
  alert.defaultButton = "Yes";
  alert.alternateButton = "No";
  // An alert before its turn goes unanswered, by its default button.
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform::Backend().RunAlert(alert), platform::kAlertDefault);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(platform::PendingAnswerCount(), 2);
  std::string path;
  EXPECT_TRUE(platform::Backend().RunPanel(platform::PanelRequest(), &path));
  EXPECT_EQ(path, "/tmp/a.wav");
  platform::ScriptAnswer(platform::AlertButton("No"));
  EXPECT_EQ(platform::Backend().RunAlert(alert), platform::kAlertDefault);
  EXPECT_EQ(platform::Backend().RunAlert(alert), platform::kAlertAlternate);
  // A button the alert does not have dismisses it.
  platform::ScriptAnswer(platform::AlertButton("Maybe"));
  EXPECT_EQ(platform::Backend().RunAlert(alert), platform::kAlertCancel);
  EXPECT_EQ(platform::Headless()->Log().alerts.size(), 4u);
}

TEST(ScriptedAnswers, TheHookRunsJustBeforeTheAnswerIsGiven) {
  platform::ResetWindowServer();
  std::vector<std::string> order;
  platform::ScriptedAnswer answer = platform::ColorChoice(platform::RGB16{1, 2, 3});
  answer.before = [&] { order.push_back("hook"); };
  platform::ScriptAnswer(answer);
  platform::RGB16 out;
  EXPECT_TRUE(platform::Backend().PickColor(platform::RGB16{}, &out));
  order.push_back("answer");
  EXPECT_EQ(order, (std::vector<std::string>{"hook", "answer"}));
  EXPECT_EQ(out.blue, 3);
  EXPECT_FALSE(platform::Backend().PickColor(platform::RGB16{}, &out));
}

}  // namespace
