// The options dialog, shown modally through the test backend as the packing run shows it, with
// the main window's run settings as its only output.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/Packer.h"
#include "app/options/Optionscrn.h"
#include "platform/Exit.h"
#include "platform/ui/test/TestBackend.h"

namespace {

// Cancel ends the process; under the hook that shows as a throw.
struct EndedProcess {
  int status;
};

// The run settings as one value, so that a test compares them all at once.
struct Settings {
  bool listOnly = false;
  bool toFile = false;
  std::string listingFilePath;
  bool normalizePaths = false;
  bool searchAndRescue = false;
  bool copyIfKnown = false;
  bool bruteForce = false;
  bool otherDrives = false;
  std::string otherDriveLetters;
  bool createArchive = false;
  bool selfExtracting = false;
  friend bool operator==(const Settings&, const Settings&) = default;
};

std::ostream& operator<<(std::ostream& out, const Settings& s) {
  return out << "{listOnly " << s.listOnly << ", toFile " << s.toFile << ", listingFilePath \""
             << s.listingFilePath << "\", normalizePaths " << s.normalizePaths << ", searchAndRescue "
             << s.searchAndRescue << ", copyIfKnown " << s.copyIfKnown << ", bruteForce " << s.bruteForce
             << ", otherDrives " << s.otherDrives << ", otherDriveLetters \"" << s.otherDriveLetters
             << "\", createArchive " << s.createArchive << ", selfExtracting " << s.selfExtracting << "}";
}

Settings settingsOf(const TForm1& form) {
  return {form.listOnly,       form.toFile,         form.listingFilePath,   form.normalizePaths,
          form.searchAndRescue, form.copyIfKnown,    form.bruteForce,        form.otherDrives,
          form.otherDriveLetters, form.createArchive, form.selfExtracting};
}

// What the first OK copies when nobody touched the dialog.
const Settings kFirstRunDefaults = {true, false, "", true, true, true, false, false, "", true, false};

class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHook_ = platform::setEndProcessHook([](int status) { throw EndedProcess{status}; });
    Form1 = new TForm1(nullptr);
    OptionForm = new TOptionForm(nullptr);
  }
  void TearDown() override {
    delete OptionForm;
    OptionForm = nullptr;
    delete Form1;
    Form1 = nullptr;
    platform::setEndProcessHook(previousHook_);
  }

  // Shows the dialog as the packing run does and checks that the script was used up.
  void showDialog() {
    OptionForm->showModal();
    EXPECT_TRUE(ui.unusedSteps().empty()) << "the dialog ended before the script did";
    EXPECT_FALSE(OptionForm->visible());
  }

  ui::TestBackend ui;  // first, so that the forms are made and destroyed with it installed

 private:
  platform::EndProcessHook previousHook_ = nullptr;
};

// --- Layout ---

std::string captionOf(vcl::TComponent* component) {
  if (auto* check = dynamic_cast<vcl::TCheckBox*>(component)) return check->caption();
  if (auto* radio = dynamic_cast<vcl::TRadioButton*>(component)) return radio->caption();
  if (auto* button = dynamic_cast<vcl::TButton*>(component)) return button->caption();
  if (auto* label = dynamic_cast<vcl::TLabel*>(component)) return label->caption();
  if (auto* panel = dynamic_cast<vcl::TPanel*>(component)) return panel->caption();
  if (auto* edit = dynamic_cast<vcl::TEdit*>(component)) return edit->text();
  return "?";
}

std::optional<bool> checkedOf(vcl::TComponent* component) {
  if (auto* check = dynamic_cast<vcl::TCheckBox*>(component)) return check->checked();
  if (auto* radio = dynamic_cast<vcl::TRadioButton*>(component)) return radio->checked();
  return std::nullopt;
}

TEST_F(OptionsDialog, EveryControlHasItsCaptionPlaceTabOrderAndFirstRunState) {
  struct Case {
    const char* name;
    const char* parent;
    vcl::Bounds bounds;
    std::string caption;  // or the text of an edit box
    int tabOrder;         // -1: takes no focus
    std::optional<bool> checked;
    bool enabled;
  };
  const Case cases[] = {
      {"cbListOnly", "OptionForm", {40, 32, 201, 17}, "List the multimedia files (to the screen)", 0, true, true},
      {"cbToFile", "OptionForm", {56, 56, 161, 17}, "Write the listing to a file.", 1, false, true},
      {"ebListingFilePath", "OptionForm", {56, 80, 289, 21}, "", 2, std::nullopt, false},
      {"btnBrowseListing", "OptionForm", {368, 80, 75, 25}, "Browse", 3, std::nullopt, false},
      {"cbNormalizePaths", "OptionForm", {40, 120, 185, 17}, "Simplify path of Multi-Media  files.", 4, true, true},
      {"cbSearchAndRescue", "OptionForm", {40, 152, 297, 17}, "Fix broken links to multi-media files.", 5, true,
       true},
      {"cbBruteForce", "OptionForm", {56, 200, 225, 17}, "Search entire disk to find missing files.", 6, false,
       true},
      {"cbOtherDrives", "OptionForm", {88, 248, 201, 17}, "Search other drives too (besides C:)", 7, false, true},
      {"ebOtherDrives", "OptionForm", {304, 248, 121, 21}, "", 8, std::nullopt, true},
      {"cbCopyIfKnown", "OptionForm", {56, 176, 441, 17},
       "If a file by the same name (but different folder) is known use known file for unknown file.", 9, true, true},
      {"cbCreateArchive", "OptionForm", {40, 272, 129, 17}, "Create Archive file", 10, true, true},
      {"Panel1", "OptionForm", {56, 296, 185, 65}, "", 11, std::nullopt, true},
      {"rbZip", "Panel1", {16, 8, 113, 17}, "Zip archive", 0, true, true},
      {"rbSelfEx", "Panel1", {16, 32, 113, 17}, "Self Extracting archive", 1, false, true},
      {"btnOK", "OptionForm", {296, 296, 75, 25}, "OK", 12, std::nullopt, true},
      {"btnCancel", "OptionForm", {296, 336, 75, 25}, "Cancel", 13, std::nullopt, true},
      {"Label1", "OptionForm", {64, 224, 251, 13}, "( else I'll ask you to guide me to where they might be.)", -1,
       std::nullopt, true},
  };
  for (const Case& c : cases) {
    auto* control = dynamic_cast<vcl::TControl*>(OptionForm->findComponent(c.name));
    ASSERT_NE(control, nullptr) << c.name;
    EXPECT_EQ(control->name(), c.name) << "named exactly so, letter case included";
    ASSERT_NE(control->parent(), nullptr) << c.name;
    EXPECT_EQ(control->parent()->name(), c.parent) << c.name;
    EXPECT_EQ(control->bounds(), c.bounds) << c.name;
    EXPECT_EQ(captionOf(control), c.caption) << c.name;
    auto* windowed = dynamic_cast<vcl::TWinControl*>(control);
    EXPECT_EQ(windowed != nullptr ? windowed->tabOrder() : -1, c.tabOrder) << c.name;
    EXPECT_EQ(checkedOf(control), c.checked) << c.name;
    EXPECT_EQ(control->enabled(), c.enabled) << c.name;
    EXPECT_TRUE(control->visible()) << c.name;
  }
  EXPECT_EQ(OptionForm->tabList().size(), 14u) << "nothing else takes the focus on the form";
  EXPECT_EQ(OptionForm->Panel1->tabList().size(), 2u);

  EXPECT_EQ(OptionForm->name(), "OptionForm");
  EXPECT_EQ(OptionForm->caption(), "Options");
  EXPECT_EQ(OptionForm->bounds(), (vcl::Bounds{192, 114, 514, 421}));
  EXPECT_EQ(OptionForm->font().name, "MS Sans Serif");
  EXPECT_EQ(OptionForm->font().height, -11);
  EXPECT_EQ(OptionForm->borderStyle(), vcl::bsSizeable) << "sizable, with the close box";
  EXPECT_FALSE(OptionForm->visible()) << "created hidden";
  for (const vcl::TButton* button : {OptionForm->btnOK, OptionForm->btnCancel, OptionForm->btnBrowseListing}) {
    EXPECT_FALSE(button->isDefault()) << button->name() << ": Enter presses no button";
    EXPECT_FALSE(button->isCancel()) << button->name() << ": Escape presses no button";
    EXPECT_EQ(button->modalResult(), vcl::mrNone) << button->name();
  }

  const vcl::TSaveDialog* save = OptionForm->SaveDialog1;
  EXPECT_EQ(save->name(), "SaveDialog1");
  EXPECT_EQ(save->defaultExt(), "*.txt");
  EXPECT_EQ(save->filter(), "Text File|*.txt");
  EXPECT_EQ(save->options(), vcl::ofOverwritePrompt | vcl::ofHideReadOnly | vcl::ofEnableSizing);
  EXPECT_EQ(save->title(), "");
  EXPECT_EQ(save->fileName(), "");
}

// --- How the dialog ends ---

TEST_F(OptionsDialog, FirstOkWithoutChangesCopiesTheDefaults) {
  ui.click("btnOK");
  showDialog();
  EXPECT_EQ(settingsOf(*Form1), kFirstRunDefaults);
  EXPECT_TRUE(ui.shown(ui::Shown::Kind::MessageBox).empty());
}

TEST_F(OptionsDialog, CloseBoxCopiesNothingInTheFirstRunOrLater) {
  ui.click("cbBruteForce").closeBox();
  showDialog();
  EXPECT_EQ(settingsOf(*Form1), Settings{}) << "before the first OK every setting is false or empty";

  ui.click("btnOK");  // the brute-force box is still checked from the first run
  showDialog();
  Settings afterOk = kFirstRunDefaults;
  afterOk.bruteForce = true;
  EXPECT_EQ(settingsOf(*Form1), afterOk);

  ui.click("cbListOnly").click("rbSelfEx").type("ebOtherDrives", "DE").closeBox();
  showDialog();
  EXPECT_EQ(settingsOf(*Form1), afterOk) << "the settings of the last OK stay";
  EXPECT_FALSE(OptionForm->cbListOnly->checked()) << "the controls keep what the user did";
}

TEST_F(OptionsDialog, CancelEndsTheProgramWithStatus0AndCopiesNothing) {
  Form1->databasePath = "C:\\Family\\tree.paf";
  ui.click("cbToFile").click("btnCancel");
  try {
    OptionForm->showModal();
    FAIL() << "Cancel did not end the program";
  } catch (const EndedProcess& ended) {
    EXPECT_EQ(ended.status, 0);
  }
  EXPECT_FALSE(OptionForm->visible());
  Settings expected;
  expected.listingFilePath = "C:\\Family\\tree_listing.txt";  // set by the listing box itself, not by OK
  EXPECT_EQ(settingsOf(*Form1), expected);
  EXPECT_TRUE(ui.shown(ui::Shown::Kind::MessageBox).empty()) << "no message on the way out";
}

// --- The listing file ---

TEST_F(OptionsDialog, ListingFileTurnsPackingOffAndBackOn) {
  Form1->databasePath = "C:\\Family\\tree.paf";
  const std::string listing = "C:\\Family\\tree_listing.txt";

  ui.click("cbToFile").closeBox();
  showDialog();
  const TOptionForm& dialog = *OptionForm;
  EXPECT_EQ(dialog.ebListingFilePath->text(), listing);
  EXPECT_EQ(Form1->listingFilePath, listing);
  EXPECT_EQ(dialog.SaveDialog1->fileName(), listing);
  EXPECT_TRUE(dialog.ebListingFilePath->enabled());
  EXPECT_TRUE(dialog.btnBrowseListing->enabled());
  EXPECT_FALSE(dialog.cbCreateArchive->checked());
  EXPECT_FALSE(dialog.cbNormalizePaths->checked());
  EXPECT_FALSE(dialog.cbSearchAndRescue->checked());
  EXPECT_FALSE(dialog.rbZip->enabled());
  EXPECT_FALSE(dialog.rbSelfEx->enabled());
  EXPECT_TRUE(dialog.rbZip->checked()) << "the archive kind is greyed out, not changed";

  ui.click("btnOK");
  showDialog();
  EXPECT_EQ(settingsOf(*Form1), (Settings{true, true, listing, false, false, true, false, false, "", false, false}));

  ui.click("cbToFile").click("btnOK");
  showDialog();
  EXPECT_EQ(dialog.ebListingFilePath->text(), "");
  EXPECT_FALSE(dialog.ebListingFilePath->enabled());
  EXPECT_FALSE(dialog.btnBrowseListing->enabled());
  EXPECT_TRUE(dialog.cbCreateArchive->checked());
  EXPECT_TRUE(dialog.cbNormalizePaths->checked());
  EXPECT_TRUE(dialog.cbSearchAndRescue->checked());
  EXPECT_TRUE(dialog.rbZip->enabled());
  EXPECT_TRUE(dialog.rbSelfEx->enabled());
  Settings expected = kFirstRunDefaults;
  expected.listingFilePath = listing;  // unchecking the box keeps the path it set
  EXPECT_EQ(settingsOf(*Form1), expected);
}

TEST_F(OptionsDialog, ListingFileIsNamedAfterTheDatabaseInItsFolder) {
  struct Case {
    const char* databasePath;
    const char* listing;
  };
  const Case cases[] = {
      {"C:\\Family\\tree.paf", "C:\\Family\\tree_listing.txt"},
      {"C:\\Family\\tree.v2.paf", "C:\\Family\\tree.v2_listing.txt"},
      // A dot in a folder name starts no extension: the listing stays beside the database.
      {"C:\\My.Data\\tree", "C:\\My.Data\\tree_listing.txt"},
      {"D:/My.Data/tree", "D:/My.Data/tree_listing.txt"},
      {"C:.paf\\tree", "C:.paf\\tree_listing.txt"},
      // No dot at all: the whole path stays rather than a bare name in the current folder.
      {"C:\\Family\\tree", "C:\\Family\\tree_listing.txt"},
      {"tree", "tree_listing.txt"},
  };
  for (const Case& c : cases) {
    Form1->databasePath = c.databasePath;
    Form1->listingFilePath.clear();
    OptionForm->cbToFile->setChecked(false);
    ui.click("cbToFile").closeBox();
    showDialog();
    EXPECT_EQ(Form1->listingFilePath, c.listing) << c.databasePath;
    EXPECT_EQ(OptionForm->ebListingFilePath->text(), c.listing) << c.databasePath;
    EXPECT_EQ(OptionForm->SaveDialog1->fileName(), c.listing) << c.databasePath;
  }
}

TEST_F(OptionsDialog, BrowseSetsOnlyTheListingPath) {
  struct Case {
    const char* what;
    std::optional<std::string> picked;  // nullopt: the user cancels
    std::string listing;
  };
  const Case cases[] = {
      {"confirmed", "D:\\out.txt", "D:\\out.txt"},
      {"cancelled", std::nullopt, ""},
  };
  for (const Case& c : cases) {
    Form1->databasePath = "C:\\Family\\tree.paf";
    OptionForm->cbToFile->setChecked(false);
    ui.click("cbToFile").click("btnBrowseListing");
    c.picked ? ui.pick(*c.picked) : ui.cancel();
    ui.click("btnOK");
    showDialog();

    EXPECT_EQ(Form1->listingFilePath, c.listing) << c.what;
    EXPECT_EQ(OptionForm->ebListingFilePath->text(), "C:\\Family\\tree_listing.txt") << c.what;
    EXPECT_TRUE(OptionForm->cbToFile->checked()) << c.what;
    EXPECT_TRUE(Form1->toFile) << c.what;

    const std::vector<ui::Shown> dialogs = ui.shown(ui::Shown::Kind::SaveDialog);
    ASSERT_FALSE(dialogs.empty()) << c.what;
    const ui::Shown& shown = dialogs.back();
    EXPECT_EQ(shown.name, "SaveDialog1");
    EXPECT_EQ(shown.fileName, "C:\\Family\\tree_listing.txt") << "preset to the default listing file";
    EXPECT_EQ(shown.filter, "Text File|*.txt");
    EXPECT_EQ(shown.defaultExt, "*.txt");
    EXPECT_EQ(shown.caption, "") << "no title of its own";
  }
}

// --- Other drives and the archive ---

TEST_F(OptionsDialog, OtherDrivesWithoutLettersKeepsTheDialogOpen) {
  ui.click("cbBruteForce").click("btnOK");
  showDialog();
  Settings before = kFirstRunDefaults;
  before.bruteForce = true;
  ASSERT_EQ(settingsOf(*Form1), before);

  ui.click("cbListOnly").click("cbOtherDrives").click("btnOK").press(vcl::IDOK);
  ui.closeBox();  // the dialog is still there after the message
  showDialog();
  const std::vector<ui::Shown> boxes = ui.shown(ui::Shown::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Whoops!");
  EXPECT_EQ(boxes[0].text, "Search Other Drives was specified but\nno other drive letters supplied.");
  EXPECT_EQ(boxes[0].buttons, vcl::MB_OK);
  EXPECT_EQ(settingsOf(*Form1), before) << "nothing copied";
}

TEST_F(OptionsDialog, DriveLettersAreCopiedAsTypedWhetherOrNotUsed) {
  struct Case {
    bool otherDrives;
    const char* letters;
  };
  const Case cases[] = {
      {true, "DE"},
      {false, "XY"},
      {false, ""},
      {true, "d:,e;?"},  // the letters are not checked
  };
  for (const Case& c : cases) {
    OptionForm->cbOtherDrives->setChecked(c.otherDrives);
    ui.type("ebOtherDrives", c.letters).click("btnOK");
    showDialog();
    EXPECT_EQ(Form1->otherDrives, c.otherDrives) << c.letters;
    EXPECT_EQ(Form1->otherDriveLetters, c.letters);
  }
  EXPECT_TRUE(ui.shown(ui::Shown::Kind::MessageBox).empty());
}

TEST_F(OptionsDialog, ArchiveKindIsGreyedWithoutArchiveAndStillCopied) {
  struct Case {
    const char* kind;  // the radio button the user picks before unchecking the archive
    bool selfExtracting;
  };
  const Case cases[] = {{"rbZip", false}, {"rbSelfEx", true}};
  for (const Case& c : cases) {
    OptionForm->cbCreateArchive->setChecked(true);
    ui.click(c.kind).click("cbCreateArchive").click("btnOK");
    showDialog();
    EXPECT_FALSE(OptionForm->rbZip->enabled()) << c.kind;
    EXPECT_FALSE(OptionForm->rbSelfEx->enabled()) << c.kind;
    EXPECT_FALSE(Form1->createArchive) << c.kind;
    EXPECT_EQ(Form1->selfExtracting, c.selfExtracting) << c.kind;
  }

  // The listing box turned on while the archive is already off: the box does not change, so
  // only the listing's own handler keeps the archive kind greyed out.
  ui.click("cbToFile").closeBox();
  showDialog();
  EXPECT_FALSE(OptionForm->rbZip->enabled());
  EXPECT_FALSE(OptionForm->rbSelfEx->enabled());

  ui.click("cbToFile").click("btnOK");
  showDialog();
  EXPECT_TRUE(OptionForm->rbZip->enabled());
  EXPECT_TRUE(OptionForm->rbSelfEx->enabled());
  EXPECT_TRUE(Form1->createArchive);
  EXPECT_TRUE(Form1->selfExtracting);
}

}  // namespace
