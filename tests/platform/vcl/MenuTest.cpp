// Automatic accelerators of a menu: added to captions without one when the menu is built for
// display, kept out of a caption stored back without one until the menu is built again.
#include <gtest/gtest.h>

#include "platform/ui/test/TestBackend.h"
#include "tests/platform/vcl/SampleForms.h"

namespace {

using corvane::testing::SampleMainForm;

struct AcceleratorCase {
  const char* what;
  std::vector<std::string> captions;  // "!" in front: a hidden item
  std::vector<std::string> expected;
};

class Accelerators : public ::testing::TestWithParam<AcceleratorCase> {};

TEST_P(Accelerators, GoToTheFirstCharacterNoVisibleSiblingUses) {
  vcl::TMainMenu menu(nullptr, "menu");
  auto* file = new vcl::TMenuItem(menu.items(), "File1", "&File");
  std::vector<vcl::TMenuItem*> items;
  for (const std::string& caption : GetParam().captions) {
    const bool hidden = caption.starts_with('!');
    auto* item = new vcl::TMenuItem(file, "item", hidden ? caption.substr(1) : caption);
    item->setVisible(!hidden);
    items.push_back(item);
  }

  menu.rethinkHotkeys();

  std::vector<std::string> captions;
  for (vcl::TMenuItem* item : items) captions.push_back(item->caption());
  EXPECT_EQ(captions, GetParam().expected) << GetParam().what;
  EXPECT_EQ(file->caption(), "&File");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Accelerators,
    ::testing::Values(
        AcceleratorCase{"a recent file gets its drive letter",
                        {"&Open", "C:\\Family\\smith.paf", "E&xit"},
                        {"&Open", "&C:\\Family\\smith.paf", "E&xit"}},
        AcceleratorCase{"the second file on C: takes the next free letter",
                        {"&Open", "C:\\a.paf", "C:\\Family\\b.paf"},
                        {"&Open", "&C:\\a.paf", "C:\\&Family\\b.paf"}},
        AcceleratorCase{"letter case does not matter", {"&open", "Options"}, {"&open", "O&ptions"}},
        AcceleratorCase{"no free character: nothing added", {"&Ab", "ba", "A"}, {"&Ab", "&ba", "A"}},
        AcceleratorCase{"\"&&\" is a literal ampersand", {"Save && Quit"}, {"&Save && Quit"}},
        AcceleratorCase{"a hidden item neither takes nor blocks", {"!C:\\x.paf", "C:\\y.paf"},
                        {"C:\\x.paf", "&C:\\y.paf"}},
        AcceleratorCase{"accented letters count", {"&\xE9t\xE9", "\xC9t\xE9"}, {"&\xE9t\xE9", "\xC9&t\xE9"}},
        AcceleratorCase{"separators and blanks are skipped", {"-", "  1st"}, {"-", "  &1st"}}));

TEST(MenuAccelerators, ManualMenuAddsNone) {
  vcl::TMainMenu menu(nullptr, "menu");
  auto* item = new vcl::TMenuItem(menu.items(), "About1", "About");
  menu.setAutoHotkeys(vcl::maManual);
  menu.rethinkHotkeys();
  EXPECT_EQ(item->caption(), "About");
}

TEST(MenuAccelerators, RecentFileCaptionGainsItWhenShownLosesItWhenStoredBackAndGainsItAgainWhenOpened) {
  ui::TestBackend ui;
  vcl::TApplication app;
  SampleMainForm* form = nullptr;
  app.createForm(form);
  EXPECT_EQ(form->mru1->caption(), "C:\\Family\\smith.paf") << "set in code, not yet displayed";

  ui.click("mru1");
  app.run();  // shows the window, then the user picks the recent file

  EXPECT_EQ(form->pathFromMenu, "C:\\Family\\smith.paf");
  EXPECT_EQ(form->mru1->caption(), "C:\\Family\\smith.paf") << "stored back without its \"&\"";

  ui.click("Open1");  // the user opens the menu again
  app.run();
  EXPECT_EQ(form->mru1->caption(), "&C:\\Family\\smith.paf");
}

TEST(MenuItem, DisabledItemIgnoresClickAndHiddenOneCannotBePicked) {
  ui::TestBackend ui;
  vcl::TApplication app;
  SampleMainForm* form = nullptr;
  app.createForm(form);
  int clicks = 0;
  form->Open1->OnClick = [&] { ++clicks; };

  form->Open1->setEnabled(false);
  form->Open1->click();
  EXPECT_EQ(clicks, 0);

  form->Open1->setEnabled(true);
  form->File1->setVisible(false);
  ui.click("Open1");
  EXPECT_THROW(app.run(), ui::UnexpectedPrompt);
}

}  // namespace
