// The console front end driven like a pipe: scripted input lines, the transcript it writes,
// and what the answers did to the forms.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <sstream>

#include "platform/ui/console/ConsoleBackend.h"
#include "tests/platform/vcl/SampleForms.h"
#include "tests/support/TempFolder.h"

namespace {

using corvane::testing::SampleDialog;
using corvane::testing::SampleMainForm;

// A console backend reading the given input lines, installed while it lives.
struct Console {
  explicit Console(std::string input, ui::ConsoleOptions options = {})
      : in(std::move(input)), backend(in, out, options) {}

  std::string transcript() const { return out.str(); }
  // The input nobody read.
  std::string unread() {
    std::string rest;
    std::getline(in, rest, '\0');
    return rest;
  }

  std::istringstream in;
  std::ostringstream out;
  ui::ConsoleBackend backend;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// --- Message boxes ---

TEST(ConsoleMessageBox, TakesOneLinePerPromptAndTheFirstButtonAtEndOfInput) {
  struct Case {
    unsigned buttons;
    std::string input;
    int expected;
    std::string unread;  // what the box must leave for the next prompt
  };
  const Case cases[] = {
      {vcl::MB_OK, "\nnext\n", vcl::IDOK, "next\n"},
      {vcl::MB_OK, "1\nnext\n", vcl::IDOK, "next\n"},
      {vcl::MB_OK, " ok \nnext\n", vcl::IDOK, "next\n"},
      {vcl::MB_OK, "close\n", vcl::IDOK, ""},     // the close box of a box without Cancel
      {vcl::MB_OK, "2\n1\n", vcl::IDOK, ""},      // no second button: asked again
      {vcl::MB_OK, "", vcl::IDOK, ""},            // end of input
      {vcl::MB_OKCANCEL, "2\nnext\n", vcl::IDCANCEL, "next\n"},
      {vcl::MB_OKCANCEL, "CANCEL\n", vcl::IDCANCEL, ""},
      {vcl::MB_OKCANCEL, "close\n", vcl::IDCANCEL, ""},
      {vcl::MB_OKCANCEL, "1\r\n", vcl::IDOK, ""},  // a CR LF line
      {vcl::MB_OKCANCEL, "maybe\n2\n", vcl::IDCANCEL, ""},
      {vcl::MB_OKCANCEL, "", vcl::IDOK, ""},
  };
  for (const Case& c : cases) {
    Console console(c.input);
    EXPECT_EQ(vcl::MessageBox("text", "Guide Me", c.buttons), c.expected) << c.input;
    EXPECT_EQ(console.unread(), c.unread) << c.input;
  }
}

TEST(ConsoleMessageBox, TranscriptShowsCaptionExactTextAndButtons) {
  {
    Console console("2\n");
    vcl::MessageBox("Search Other Drives was specified but\nno other drive letters supplied.", "Whoops!",
                    vcl::MB_OKCANCEL);
    EXPECT_EQ(console.transcript(),
              "message box: Whoops!\n"
              "| Search Other Drives was specified but\n"
              "| no other drive letters supplied.\n"
              "? answer: 1 OK, 2 Cancel\n"
              "> 2\n");
  }
  {
    // Blanks at line ends, an empty caption, a text ending in a line break, code page 1252.
    Console console("");
    vcl::MessageBox("Caf\xE9 \nnext \n", "", vcl::MB_OK);
    EXPECT_EQ(console.transcript(),
              "message box: \n"
              "| Caf\xC3\xA9 \n"
              "| next \n"
              "| \n"
              "? answer: 1 OK\n"
              "! end of input: OK\n");
  }
  {
    Console console("x\n\n");
    vcl::MessageBox("Done!", "-", vcl::MB_OK);
    EXPECT_EQ(console.transcript(),
              "message box: -\n| Done!\n? answer: 1 OK\n> x\n! answer 1 or OK\n? answer: 1 OK\n> \n");
  }
}

TEST(ConsoleTranscript, AtATerminalTypingIsNotEchoedAndProgressOverwritesItself) {
  ui::ConsoleOptions terminal;
  terminal.echoAnswers = false;
  terminal.liveProgress = true;
  Console console("1\n", terminal);
  vcl::TLabel label(nullptr, "Label3", {3, 16, 39, 13});
  label.setCaption("C:\\a.jpg");
  label.repaint();
  label.setCaption("C:\\b.jpg");
  label.repaint();  // within 250 ms of the first: dropped
  vcl::MessageBox("Done!", "-", vcl::MB_OK);
  vcl::MessageBox("Done!", "-", vcl::MB_OK);
  EXPECT_EQ(console.transcript(),
            "\r~ C:\\a.jpg\033[K"
            "\r\033[K"
            "message box: -\n| Done!\n? answer: 1 OK\n> "
            "message box: -\n| Done!\n? answer: 1 OK\n> \n! end of input: OK\n");
}

// --- Modal forms ---

TEST(ConsoleModalForm, ListsEveryControlInTabOrderAndTogglesByNumber) {
  Console console("1\n3=DE\nOK\n");
  SampleDialog dialog(nullptr);

  EXPECT_EQ(dialog.showModal(), vcl::mrCancel);  // the OK handler closes the form

  EXPECT_EQ(dialog.clicks, (std::vector<std::string>{"cbToFileClick", "cbCreateArchiveClick"}));
  EXPECT_FALSE(dialog.cbCreateArchive->checked());
  EXPECT_EQ(dialog.drivesOnOk, "DE");
  const std::string first =
      "dialog: Options\n"
      "  1 [ ] Write the listing to a file.\n"
      "  2 [x] Create Archive file\n"
      "  3 edit []\n"
      "  4   (o) Zip archive\n"
      "  5   ( ) Self Extracting archive\n"
      "  6 <OK>\n"
      "  7 <Cancel>\n"
      "? answer: a number, N=text, a button's caption, or close\n"
      "> 1\n";
  const std::string second =
      "dialog: Options\n"
      "  1 [x] Write the listing to a file.\n"
      "  2 [ ] Create Archive file\n"
      "  3 edit []\n"
      "  4   (o) Zip archive (disabled)\n"
      "  5   ( ) Self Extracting archive (disabled)\n"
      "  6 <OK>\n"
      "  7 <Cancel>\n"
      "? answer: a number, N=text, a button's caption, or close\n"
      "> 3=DE\n";
  EXPECT_EQ(console.transcript().substr(0, first.size() + second.size()), first + second);
  EXPECT_TRUE(contains(console.transcript(), "  3 edit [DE]\n"));
}

TEST(ConsoleModalForm, AnswersByNumberCaptionTextAndCloseBox) {
  struct Case {
    const char* what;
    std::string input;
    vcl::TModalResult result;
    std::string drives;         // what OK took
    std::string notice;         // a remark the answer must draw ("" for none)
    bool selfExtracting = false;
  };
  const Case cases[] = {
      {"close box", "close\n", vcl::mrCancel, "", ""},
      {"Cancel by caption", "cancel\n", vcl::mrCancel, "", ""},
      {"Cancel by number", "7\n", vcl::mrCancel, "", ""},
      {"set N text keeps blanks", "set 3 D E \nOK\n", vcl::mrCancel, "D E ", ""},
      {"typed UTF-8 becomes code page 1252", "3=Z\xC3\xBCrich\nok\n", vcl::mrCancel, "Z\xFCrich", ""},
      {"radio button by caption", "self extracting archive\nclose\n", vcl::mrCancel, "", "", true},
      {"disabled control", "1\n4\nclose\n", vcl::mrCancel, "", "! 4 is disabled\n"},
      {"no such number", "9\nclose\n", vcl::mrCancel, "", "! there is no control 9\n"},
      {"edit box needs text", "3\nclose\n", vcl::mrCancel, "", "! 3 is an edit box: answer 3=text\n"},
      {"text for a check box", "1=x\nclose\n", vcl::mrCancel, "", "! 1 is no edit box\n"},
      {"Enter without default button", "\nclose\n", vcl::mrCancel, "", "! this form has no default button\n"},
      {"unknown caption", "Browse\nclose\n", vcl::mrCancel, "", "! no control has that caption;"},
      // End of input presses OK; its check fails and shows a box (OK at end of input), the form
      // stays open, so the close box ends it instead of pressing OK forever.
      {"end of input, OK refused", "", vcl::mrCancel, "",
       "! end of input: OK\nmessage box: Whoops!\n| No drive letters.\n? answer: 1 OK\n! end of input: OK\n"
       "! end of input: close\n"},
      {"end of input, OK passes", "3=DE\n", vcl::mrCancel, "DE", "! end of input: OK\n"},
  };
  for (const Case& c : cases) {
    Console console(c.input);
    SampleDialog dialog(nullptr);
    EXPECT_EQ(dialog.showModal(), c.result) << c.what;
    EXPECT_EQ(dialog.drivesOnOk, c.drives) << c.what;
    EXPECT_EQ(dialog.rbSelfEx->checked(), c.selfExtracting) << c.what;
    EXPECT_TRUE(contains(console.transcript(), c.notice)) << c.what << "\n" << console.transcript();
    EXPECT_EQ(console.unread(), "") << c.what;
  }
}

TEST(ConsoleModalForm, DefaultButtonTakesAnEmptyLine) {
  Console console("\n");
  SampleDialog dialog(nullptr);
  dialog.btnCancel->setDefault(true);
  EXPECT_EQ(dialog.showModal(), vcl::mrCancel);
  EXPECT_FALSE(contains(console.transcript(), "!"));
}

// --- File dialogs ---

class ConsoleFileDialog : public ::testing::Test {
 protected:
  ConsoleFileDialog() {
    prefix.addDrive('C');
    prefix.writeFile("C:\\Family\\tree.paf", "x");
    prefix.writeFile("C:\\Family\\tree_listing.txt", "x");
    open.setTitle("PAF File Open");
    open.setFilter("PAF Files|*.paf|GEDCOM|*.ged");
    open.setFilterIndex(2);
    open.setInitialDir("C:\\Family\\");
    open.setOptions(vcl::ofHideReadOnly | vcl::ofFileMustExist | vcl::ofEnableSizing);
    save.setFilter("Text File|*.txt");
    save.setFileName("C:\\Family\\tree_listing.txt");
    save.setOptions(vcl::ofOverwritePrompt | vcl::ofHideReadOnly | vcl::ofEnableSizing);
  }

  corvane::testing::TempPrefix prefix;
  vcl::TOpenDialog open{nullptr, "OpenDialog1"};
  vcl::TSaveDialog save{nullptr, "SaveDialog1"};
};

TEST_F(ConsoleFileDialog, TypedPathPicksAndAnEmptyLineOrEndOfInputCancels) {
  struct Case {
    const char* what;
    bool saveDialog;
    std::string input;
    std::string picked;  // "" = cancelled
    std::string notice;
  };
  const std::string host = prefix.host("C:\\Family\\tree.paf").string();
  const Case cases[] = {
      {"Windows path", false, "C:\\Family\\tree.paf\n", "C:\\Family\\tree.paf", ""},
      {"host path", false, host + "\n", "C:\\Family\\tree.paf", ""},
      {"Windows path with slashes", false, "c:/Family/tree.paf\n", "c:\\Family\\tree.paf", ""},
      {"name in the dialog's folder", false, "tree.paf\n", "C:\\Family\\tree.paf", ""},
      {"empty line", false, "\n", "", ""},
      {"end of input", false, "", "", "! end of input: Cancel\n"},
      {"file must exist", false, "C:\\Family\\gone.paf\n\n", "", "! C:\\Family\\gone.paf does not exist\n"},
      {"a folder", false, "C:\\Family\n\n", "", "! C:\\Family is a folder\n"},
      {"new file to save", true, "C:\\Family\\new.txt\n", "C:\\Family\\new.txt", ""},
      {"save into no folder", true, "C:\\Nowhere\\new.txt\n\n", "", "! the folder of C:\\Nowhere\\new.txt does not exist\n"},
      {"replace: yes", true, "C:\\Family\\tree_listing.txt\nyes\n", "C:\\Family\\tree_listing.txt",
       "message box: Save As\n| C:\\Family\\tree_listing.txt already exists.\n| Do you want to replace it?\n"
       "? answer: 1 Yes, 2 No\n"},
      {"replace: no, then cancel", true, "C:\\Family\\tree_listing.txt\n2\n\n", "", ""},
      {"replace at end of input", true, "C:\\Family\\tree_listing.txt\n", "",
       "! end of input: No\n? file: a Windows path, a host path (/...), or an empty line to cancel\n"
       "! end of input: Cancel\n"},
  };
  for (const Case& c : cases) {
    Console console(c.input);
    vcl::TOpenDialog& dialog = c.saveDialog ? save : open;
    const std::string before = dialog.fileName();
    const bool picked = dialog.execute();
    EXPECT_EQ(picked, !c.picked.empty()) << c.what;
    EXPECT_EQ(dialog.fileName(), picked ? c.picked : before) << c.what;
    EXPECT_TRUE(contains(console.transcript(), c.notice)) << c.what << "\n" << console.transcript();
    EXPECT_EQ(console.unread(), "") << c.what;
  }
  EXPECT_EQ(open.filterIndex(), 2) << "the filter shown stays in force";
}

TEST_F(ConsoleFileDialog, TranscriptShowsTitleFilterFolderAndFileName) {
  Console console("\n");
  open.execute();
  save.execute();
  EXPECT_EQ(console.transcript(),
            "file-open dialog: PAF File Open\n"
            "  filter: PAF Files|*.paf|GEDCOM|*.ged\n"
            "  filter index: 2\n"
            "  folder: C:\\Family\\\n"
            "  file name: \n"
            "? file: a Windows path, a host path (/...), or an empty line to cancel\n"
            "> \n"
            "save-file dialog: Save As\n"
            "  filter: Text File|*.txt\n"
            "  filter index: 1\n"
            "  folder: \n"
            "  file name: C:\\Family\\tree_listing.txt\n"
            "? file: a Windows path, a host path (/...), or an empty line to cancel\n"
            "! end of input: Cancel\n");
}

// --- The main window ---

class ConsoleMainWindow : public ::testing::Test {
 protected:
  void start() { app.createForm(form); }

  vcl::TApplication app;
  SampleMainForm* form = nullptr;
};

TEST_F(ConsoleMainWindow, ShowsCaptionMenuAndMemoThenRunsTheChosenItem) {
  Console console("Exit\n");
  start();
  app.run();
  EXPECT_TRUE(app.terminated());
  EXPECT_FALSE(form->visible());
  EXPECT_EQ(console.transcript(),
            "window: Sample\n"
            "menu:\n"
            "  File\n"
            "    1 Open\n"
            "    2 C:\\Family\\smith.paf\n"
            "    3 Exit\n"
            "memo Memo1 (1 line):\n"
            "| Welcome.\n"
            "? command: a menu item's number or caption, or close\n"
            "> Exit\n");
}

TEST(ConsoleMainMenu, ItemsByNumberOrCaptionAndTheirState) {
  struct Case {
    const char* what;
    std::string input;
    std::function<void(SampleMainForm&)> setUp;
    std::string pathFromMenu;
    std::string notice;
  };
  const Case cases[] = {
      {"recent file by number: the handler gets the path without the menu's \"&\"", "2\n", nullptr,
       "C:\\Family\\smith.paf", ""},
      {"recent file by caption", "c:\\family\\smith.paf\n", nullptr, "C:\\Family\\smith.paf", ""},
      {"by the way through the menu", "File > C:\\Family\\smith.paf\n", nullptr, "C:\\Family\\smith.paf", ""},
      {"disabled item", "2\n", [](SampleMainForm& f) { f.mru1->setEnabled(false); }, "",
       "    2 C:\\Family\\smith.paf (disabled)\n"},
      {"disabled item is not run", "2\n", [](SampleMainForm& f) { f.mru1->setEnabled(false); }, "",
       "! File > C:\\Family\\smith.paf is disabled\n"},
      {"hidden item keeps the others' numbers", "1\n",
       [](SampleMainForm& f) { f.Open1->setVisible(false); }, "",
       "  File\n    2 C:\\Family\\smith.paf\n    3 Exit\n"},
      {"hidden item cannot be picked", "1\n", [](SampleMainForm& f) { f.Open1->setVisible(false); }, "",
       "! there is no menu item 1\n"},
      {"unknown caption", "Save\n", nullptr, "", "! no menu item has that caption;"},
  };
  for (const Case& c : cases) {
    Console console(c.input);
    vcl::TApplication application;
    SampleMainForm* main = nullptr;
    application.createForm(main);
    if (c.setUp) c.setUp(*main);
    application.run();
    EXPECT_EQ(main->pathFromMenu, c.pathFromMenu) << c.what;
    EXPECT_TRUE(contains(console.transcript(), c.notice)) << c.what << "\n" << console.transcript();
    EXPECT_TRUE(application.terminated()) << c.what << ": end of input closes the window";
    EXPECT_TRUE(contains(console.transcript(), "! end of input: close\n")) << c.what;
  }
}

TEST_F(ConsoleMainWindow, MemoAndLabelsShowTheirLastStateOnceBeforeThePrompt) {
  Console console("Open\n");
  start();
  form->Open1->OnClick = [this] {
    form->Memo1->setText("Working\n");
    form->Memo1->setText("C:\\Family\\a.jpg\n\nDone.");
    for (int i = 1; i <= 100; ++i) {
      form->Label2->setCaption("C:\\Family\\" + std::to_string(i) + ".jpg ");
      form->Label2->repaint();
    }
    vcl::MessageBox("Done!", "-", vcl::MB_OK);
    form->Memo1->setText("C:\\Family\\a.jpg\n\nDone.");  // the same text again: nothing new
  };
  app.run();

  const std::string transcript = console.transcript();
  EXPECT_TRUE(contains(transcript,
                       "> Open\n"
                       "label Label2:\n"
                       "| C:\\Family\\100.jpg \n"
                       "memo Memo1 (3 lines):\n"
                       "| C:\\Family\\a.jpg\n"
                       "| \n"
                       "| Done.\n"
                       "message box: -\n"
                       "| Done!\n"))
      << transcript;
  EXPECT_FALSE(contains(transcript, "Working"));
  EXPECT_FALSE(contains(transcript, "99.jpg"));
  EXPECT_EQ(count(transcript, "memo Memo1"), 2u) << "the welcome and the report, nothing more";
  EXPECT_EQ(count(transcript, "label Label2"), 1u) << "its first blank caption is no news";
}

TEST_F(ConsoleMainWindow, EndOfInputWaitsForRunningTimersThenClosesTheWindow) {
  using Clock = std::chrono::steady_clock;
  constexpr unsigned kInterval = 20;
  Console console("");
  start();
  bool visibleAtLastTick = false;
  form->Timer1->OnTimer = [&] {
    if (++form->ticks == 3) form->Timer1->setEnabled(false);
    visibleAtLastTick = form->visible();
  };
  form->Timer1->setInterval(kInterval);
  form->Timer1->setEnabled(true);

  const Clock::time_point start = Clock::now();
  app.run();
  const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);

  EXPECT_EQ(form->ticks, 3);
  EXPECT_TRUE(visibleAtLastTick) << "the window closes only after the timer stopped";
  EXPECT_GE(waited.count(), 3 * kInterval) << "ticks come on the timer's interval";
  EXPECT_TRUE(app.terminated());
  const std::string transcript = console.transcript();
  EXPECT_LT(transcript.find("! waiting for Timer1 to stop\n"), transcript.find("! end of input: close\n"));
}

TEST_F(ConsoleMainWindow, TimerHandlerThatReportsAndClosesEndsTheLoop) {
  Console console("Open\n");  // the report's box takes the end of input
  start();
  form->Open1->OnClick = [this] {
    form->Timer1->setInterval(5);
    form->Timer1->setEnabled(true);
  };
  form->Timer1->OnTimer = [this] {
    if (++form->ticks < 2) return;  // the batch has not finished yet
    form->Timer1->setInterval(0);
    form->Timer1->setEnabled(false);
    vcl::MessageBox("C:\\Family\\tree.zip has been created.", "Done", vcl::MB_OK);
    form->close();
  };
  app.run();

  EXPECT_EQ(form->ticks, 2);
  EXPECT_TRUE(app.terminated());
  const std::string transcript = console.transcript();
  EXPECT_TRUE(contains(transcript,
                       "> Open\n"
                       "! waiting for Timer1 to stop\n"
                       "message box: Done\n"
                       "| C:\\Family\\tree.zip has been created.\n"
                       "? answer: 1 OK\n"
                       "! end of input: OK\n"))
      << transcript;
  EXPECT_FALSE(contains(transcript, "! end of input: close")) << "the handler closed the window";
}

}  // namespace
