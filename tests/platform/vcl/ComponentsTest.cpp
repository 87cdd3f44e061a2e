// The controls as the forms lean on them: events fired by code, radio buttons that exclude
// each other per panel, the memo's lines, ownership and tab order.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/test/TestBackend.h"
#include "tests/platform/vcl/SampleForms.h"

namespace {

using corvane::testing::SampleDialog;

TEST(CheckBox, SettingStateInCodeFiresClickOncePerChange) {
  vcl::TCheckBox box(nullptr, "cb", {0, 0, 100, 17}, "Box");
  int clicks = 0;
  box.OnClick = [&] { ++clicks; };

  box.setChecked(true);
  EXPECT_EQ(clicks, 1);
  box.setChecked(true);  // unchanged: nothing fires
  EXPECT_EQ(clicks, 1);
  box.setChecked(false);
  EXPECT_EQ(clicks, 2);
  box.click();  // a user's click toggles
  EXPECT_TRUE(box.checked());
  EXPECT_EQ(clicks, 3);
}

TEST(CheckBox, HandlerThatChecksAnotherBoxRunsThatBoxsHandlerToo) {
  SampleDialog dialog(nullptr);
  dialog.cbToFile->click();

  EXPECT_EQ(dialog.clicks, (std::vector<std::string>{"cbToFileClick", "cbCreateArchiveClick"}));
  EXPECT_FALSE(dialog.cbCreateArchive->checked());
  EXPECT_FALSE(dialog.rbZip->enabled());
  EXPECT_FALSE(dialog.rbSelfEx->enabled());
  EXPECT_TRUE(dialog.rbZip->checked()) << "disabling keeps the choice";
}

TEST(RadioButton, CheckingOneUnchecksItsSiblingsOnlyWithinItsPanel) {
  vcl::TForm form(nullptr, "form");
  auto* panelA = new vcl::TPanel(&form, "panelA", {0, 0, 100, 60});
  auto* panelB = new vcl::TPanel(&form, "panelB", {0, 60, 100, 60});
  auto* a1 = new vcl::TRadioButton(panelA, "a1", {0, 0, 50, 17});
  auto* a2 = new vcl::TRadioButton(panelA, "a2", {0, 20, 50, 17});
  auto* b1 = new vcl::TRadioButton(panelB, "b1", {0, 0, 50, 17});
  std::vector<std::string> clicked;
  for (vcl::TRadioButton* r : {a1, a2, b1}) r->OnClick = [&clicked, r] { clicked.push_back(r->name()); };

  a1->setChecked(true);
  b1->setChecked(true);
  a2->click();

  EXPECT_FALSE(a1->checked());
  EXPECT_TRUE(a2->checked());
  EXPECT_TRUE(b1->checked()) << "a radio button on another panel is no sibling";
  EXPECT_EQ(clicked, (std::vector<std::string>{"a1", "b1", "a2"})) << "unchecking fires nothing";

  a2->click();  // already checked
  EXPECT_EQ(clicked.size(), 3u);
}

struct MemoCase {
  const char* set;
  const char* readBack;
  std::size_t lines;
};

class MemoText : public ::testing::TestWithParam<MemoCase> {};

TEST_P(MemoText, ReadsBackEveryLineFollowedByLineBreak) {
  vcl::TMemo memo(nullptr, "Memo1", {8, 32, 449, 289});
  memo.setText(GetParam().set);
  EXPECT_EQ(memo.text(), GetParam().readBack);
  EXPECT_EQ(memo.lines().size(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoText,
                         ::testing::Values(MemoCase{"", "", 0}, MemoCase{"a", "a\n", 1},
                                           MemoCase{"a\n", "a\n", 1}, MemoCase{"\n", "\n", 1},
                                           MemoCase{"a\n\nb", "a\n\nb\n", 3},
                                           MemoCase{"a\r\nb\rc\n", "a\nb\nc\n", 3},
                                           MemoCase{" -- none found -- ", " -- none found -- \n", 1}));

TEST(Memo, AppendingALineBreakAfterReadingGivesAnEmptyLine) {
  // The run appends "\n" and a heading to the memo's text: with one line "a" (no line end of
  // its own) there must still be an empty line before the heading.
  vcl::TMemo memo(nullptr, "Memo1", {});
  memo.setText("a");
  memo.setText(memo.text() + "\n" + "heading");
  EXPECT_EQ(memo.lines(), (std::vector<std::string>{"a", "", "heading"}));
}

TEST(Button, ClickSetsTheFormsModalResultBeforeItsHandlerRuns) {
  SampleDialog dialog(nullptr);
  vcl::TModalResult seen = -1;
  dialog.btnCancel->OnClick = [&] { seen = dialog.modalResult(); };
  dialog.btnCancel->click();
  EXPECT_EQ(dialog.modalResult(), vcl::mrCancel);
  EXPECT_EQ(seen, vcl::mrCancel);
}

TEST(Control, UsableOnlyWhenItAndEveryParentAreVisibleAndEnabled) {
  SampleDialog dialog(nullptr);
  EXPECT_FALSE(dialog.rbZip->usable()) << "the form is not shown";
  dialog.show();
  EXPECT_TRUE(dialog.rbZip->usable());
  dialog.Panel1->setEnabled(false);
  EXPECT_FALSE(dialog.rbZip->usable());
  EXPECT_EQ(dialog.rbZip->parentForm(), &dialog);
}

TEST(Ownership, FormDeletesItsComponentsAndADeletedControlLeavesItsParent) {
  auto dialog = std::make_unique<SampleDialog>(nullptr);
  EXPECT_EQ(dialog->rbZip->owner(), dialog.get()) << "the form owns controls on its panel";
  EXPECT_EQ(dialog->findComponent("RBSELFEX"), dialog->rbSelfEx) << "names ignore letter case";

  delete dialog->rbSelfEx;
  EXPECT_EQ(dialog->Panel1->controls().size(), 1u);
  EXPECT_EQ(dialog->findComponent("rbSelfEx"), nullptr);
  dialog->rbZip->setChecked(true);  // no dangling sibling is visited
  dialog.reset();                  // the sanitizers watch for double or missed deletes
}

TEST(TabOrder, NewControlsComeLastAndMovingOneShiftsTheOthers) {
  vcl::TForm form(nullptr, "form");
  auto* a = new vcl::TEdit(&form, "a", {});
  auto* b = new vcl::TEdit(&form, "b", {});
  auto* c = new vcl::TEdit(&form, "c", {});
  new vcl::TLabel(&form, "label", {});  // labels take no place in the tab order
  EXPECT_EQ(c->tabOrder(), 2);

  c->setTabOrder(0);
  EXPECT_EQ(form.tabList(), (std::vector<vcl::TWinControl*>{c, a, b}));
  EXPECT_EQ(b->tabOrder(), 2);
}

TEST(Edit, OnChangeFollowsEachChangeOfText) {
  vcl::TEdit edit(nullptr, "ebOtherDrives", {});
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  edit.setText("DE");
  edit.setText("DE");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(edit.text(), "DE");
}

TEST(Label, RepaintShowsTheCaptionOfThatMoment) {
  ui::TestBackend ui;
  vcl::TLabel label(nullptr, "Label3", {3, 16, 39, 13});
  label.setCaption("D:\\a.jpg" + std::string(24, ' '));
  label.repaint();
  label.setCaption(" ");
  label.repaint();

  const std::vector<ui::Shown> repaints = ui.shown(ui::Shown::Kind::Repaint);
  ASSERT_EQ(repaints.size(), 2u);
  EXPECT_EQ(repaints[0].name, "Label3");
  EXPECT_EQ(repaints[0].text, "D:\\a.jpg" + std::string(24, ' '));
  EXPECT_EQ(repaints[1].text, " ");
}

}  // namespace
