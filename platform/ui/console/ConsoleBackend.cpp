#include "platform/ui/console/ConsoleBackend.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <thread>

#include "platform/Cp1252.h"
#include "platform/File.h"
#include "platform/WinPath.h"
#include "platform/ui/console/FormView.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace ui {
namespace {

// Words a user types. Compared ignoring letter case.
constexpr std::string_view kOk = "OK";
constexpr std::string_view kCancel = "Cancel";
constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";
constexpr std::string_view kClose = "close";  // the close box of what is shown
constexpr std::string_view kSet = "set";      // "set N text": type text into edit box N
constexpr char kTypeInto = '=';               // "N=text"
constexpr std::string_view kFirstButton = "1";
constexpr std::string_view kSecondButton = "2";

// Titles a file dialog shows when it has none of its own, as the system's dialogs do.
constexpr std::string_view kOpenTitle = "Open";
constexpr std::string_view kSaveTitle = "Save As";

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
  const std::string_view::size_type first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool is(std::string_view answer, std::string_view word) { return platform::ansiEqualsIgnoreCase(answer, word); }

// The number a whole text spells (digits only), or 0.
std::size_t numberIn(std::string_view text) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}

std::size_t leadingDigits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && text[n] >= '0' && text[n] <= '9') ++n;
  return n;
}

// "N=text" or "set N text": the edit box's number and the text exactly as typed (blanks kept).
struct TypedText {
  std::size_t number;
  std::string text;
};

std::optional<TypedText> typedText(std::string_view answer) {
  std::string_view rest = answer.substr(std::min(answer.size(), answer.find_first_not_of(kBlanks)));
  std::size_t digits = leadingDigits(rest);
  if (digits > 0 && digits < rest.size() && rest[digits] == kTypeInto) {
    return TypedText{numberIn(rest.substr(0, digits)), std::string(rest.substr(digits + 1))};
  }
  if (rest.size() <= kSet.size() || !is(rest.substr(0, kSet.size()), kSet) ||
      kBlanks.find(rest[kSet.size()]) == std::string_view::npos) {
    return std::nullopt;
  }
  rest = rest.substr(kSet.size());
  rest = rest.substr(std::min(rest.size(), rest.find_first_not_of(kBlanks)));
  digits = leadingDigits(rest);
  if (digits == 0) return std::nullopt;
  if (digits == rest.size()) return TypedText{numberIn(rest), {}};
  if (rest[digits] != ' ') return std::nullopt;
  return TypedText{numberIn(rest.substr(0, digits)), std::string(rest.substr(digits + 1))};
}

// Whether a user sees the control: it and everything it sits on are visible.
bool onScreen(const vcl::TControl& control) {
  for (const vcl::TControl* c = &control; c != nullptr; c = c->parent()) {
    if (!c->visible()) return false;
  }
  return true;
}

bool onScreen(const vcl::TMenuItem& item) {
  for (const vcl::TMenuItem* i = &item; i != nullptr && i->parent() != nullptr; i = i->parent()) {
    if (!i->visible()) return false;
  }
  return true;
}

std::string lineCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " line" : " lines"); }

bool hasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

bool isFolder(const std::string& windowsPath) {
  const std::optional<std::string> host = platform::toHostPath(windowsPath);
  std::error_code error;
  return host && std::filesystem::is_directory(*host, error);
}

const char* const kFormQuestion = "answer: a number, N=text, a button's caption, or close";
const char* const kMainQuestion = "command: a menu item's number or caption, or close";
const char* const kFileQuestion = "file: a Windows path, a host path (/...), or an empty line to cancel";

}  // namespace

ConsoleBackend::ConsoleBackend(std::istream& in, std::ostream& out, ConsoleOptions options)
    : previous_(vcl::setBackend(this)), transcript_(in, out, options) {}

ConsoleBackend::~ConsoleBackend() { vcl::setBackend(previous_); }

// --- Message boxes ---

int ConsoleBackend::messageBox(const std::string& text, const std::string& caption, unsigned buttons) {
  const bool withCancel = buttons == vcl::MB_OKCANCEL;
  showChanges();
  transcript_.line("message box: " + caption);
  transcript_.exactText(text);
  while (true) {
    const std::optional<std::string> answer =
        transcript_.ask(withCancel ? "answer: 1 OK, 2 Cancel" : "answer: 1 OK");
    if (!answer) {
      transcript_.notice("end of input: OK");
      return vcl::IDOK;
    }
    const std::string_view a = trimmed(*answer);
    if (a.empty() || a == kFirstButton || is(a, kOk)) return vcl::IDOK;
    if (withCancel && (a == kSecondButton || is(a, kCancel))) return vcl::IDCANCEL;
    if (is(a, kClose)) return withCancel ? vcl::IDCANCEL : vcl::IDOK;
    transcript_.notice(withCancel ? "answer 1 or OK, 2 or Cancel" : "answer 1 or OK");
  }
}

// --- File dialogs ---

std::optional<vcl::FileDialogChoice> ConsoleBackend::runFileDialog(const vcl::TOpenDialog& dialog) {
  const bool save = dialog.isSaveDialog();
  std::string title = dialog.title();
  if (title.empty()) title = save ? kSaveTitle : kOpenTitle;
  showChanges();
  transcript_.line(std::string(save ? "save-file dialog: " : "file-open dialog: ") + title);
  transcript_.line("  filter: " + dialog.filter());
  transcript_.line("  filter index: " + std::to_string(dialog.filterIndex()));
  transcript_.line("  folder: " + dialog.initialDir());
  transcript_.line("  file name: " + dialog.fileName());
  while (true) {
    const std::optional<std::string> answer = transcript_.ask(kFileQuestion);
    if (!answer) {
      transcript_.notice("end of input: Cancel");
      return std::nullopt;
    }
    if (trimmed(*answer).empty()) return std::nullopt;
    if (std::optional<std::string> path = chosenFile(dialog, *answer)) {
      return vcl::FileDialogChoice{*path, dialog.filterIndex()};
    }
  }
}

std::optional<std::string> ConsoleBackend::chosenFile(const vcl::TOpenDialog& dialog, const std::string& answer) {
  const std::string_view typed = trimmed(answer);
  std::string path;
  if (typed.front() == '/') {
    std::optional<std::string> windows = platform::toWindowsPath(typed);
    if (!windows) {
      transcript_.notice("no drive holds that host path, or a name in it has no Windows form");
      return std::nullopt;
    }
    path = std::move(*windows);
  } else {
    std::optional<std::string> ansi = platform::utf8ToAnsi(typed);
    if (!ansi) {
      transcript_.notice("the path has a character that code page 1252 cannot hold");
      return std::nullopt;
    }
    path = std::move(*ansi);
    std::replace(path.begin(), path.end(), '/', '\\');  // the dialog hands back Windows separators
    // A bare name or relative path is taken in the folder the dialog shows.
    if (!hasDrive(path) && path.front() != '\\') {
      const std::string folder =
          !dialog.initialDir().empty() ? dialog.initialDir() : platform::toWindowsPath(".").value_or("");
      path = platform::joinWindowsPath(folder, path);
    }
  }
  const bool save = dialog.isSaveDialog();
  if (isFolder(path)) {
    transcript_.notice(path + " is a folder");
    return std::nullopt;
  }
  if (!save && (dialog.options() & vcl::ofFileMustExist) != 0) {
    if (!platform::fileExists(path)) {
      transcript_.notice(path + " does not exist");
      return std::nullopt;
    }
  } else if (!platform::toHostPath(path, true)) {
    transcript_.notice("the folder of " + path + " does not exist");
    return std::nullopt;
  }
  if (save && (dialog.options() & vcl::ofOverwritePrompt) != 0 && platform::fileExists(path) &&
      !confirmReplace(dialog, path)) {
    return std::nullopt;
  }
  return path;
}

// The save dialog's own question before it names an existing file; No unless the user says Yes.
bool ConsoleBackend::confirmReplace(const vcl::TOpenDialog& dialog, const std::string& path) {
  transcript_.line("message box: " + (dialog.title().empty() ? std::string(kSaveTitle) : dialog.title()));
  transcript_.exactText(path + " already exists.\nDo you want to replace it?");
  while (true) {
    const std::optional<std::string> answer = transcript_.ask("answer: 1 Yes, 2 No");
    if (!answer) {
      transcript_.notice("end of input: No");
      return false;
    }
    const std::string_view a = trimmed(*answer);
    if (a == kFirstButton || is(a, kYes)) return true;
    if (a.empty() || a == kSecondButton || is(a, kNo) || is(a, kClose)) return false;
    transcript_.notice("answer 1 or Yes, 2 or No");
  }
}

// --- Modal forms ---

void ConsoleBackend::runModal(vcl::TForm& form) {
  while (form.modalResult() == vcl::mrNone) {
    if (vcl::Application != nullptr && vcl::Application->terminated()) {
      form.setModalResult(vcl::mrCancel);
      break;
    }
    showChanges();
    transcript_.line("dialog: " + form.caption());
    showControls(transcript_, form);
    const std::optional<std::string> answer = transcript_.ask(kFormQuestion);
    if (!answer) {
      endOfInputInForm(form);
    } else {
      answerForm(form, *answer);
    }
  }
}

void ConsoleBackend::endOfInputInForm(vcl::TForm& form) {
  for (vcl::TWinControl* control : numberedControls(form)) {
    auto* button = dynamic_cast<vcl::TButton*>(control);
    if (button == nullptr || !button->usable() || !is(withoutAccelerators(button->caption()), kOk)) continue;
    transcript_.notice("end of input: OK");
    button->click();
    break;
  }
  // Whatever OK did (a check that failed keeps the form open), there is nobody left to answer.
  if (form.modalResult() == vcl::mrNone) {
    transcript_.notice("end of input: close");
    form.close();
  }
}

void ConsoleBackend::answerForm(vcl::TForm& form, const std::string& answer) {
  const std::string_view a = trimmed(answer);
  const std::vector<vcl::TWinControl*> controls = numberedControls(form);
  if (is(a, kClose)) {
    form.close();
    return;
  }
  if (a.empty()) {  // Enter: the default button
    for (vcl::TWinControl* control : controls) {
      auto* button = dynamic_cast<vcl::TButton*>(control);
      if (button != nullptr && button->isDefault() && button->usable()) {
        button->click();
        return;
      }
    }
    transcript_.notice("this form has no default button");
    return;
  }

  const std::optional<TypedText> typed = typedText(answer);
  const std::size_t number = typed ? typed->number : numberIn(a);
  if (number > 0 || typed) {
    if (number == 0 || number > controls.size() || !onScreen(*controls[number - 1])) {
      transcript_.notice("there is no control " + std::to_string(number));
      return;
    }
    vcl::TWinControl& control = *controls[number - 1];
    if (!control.usable()) {
      transcript_.notice(std::to_string(number) + " is disabled");
      return;
    }
    auto* edit = dynamic_cast<vcl::TEdit*>(&control);
    if (typed && edit == nullptr) {
      transcript_.notice(std::to_string(number) + " is no edit box");
    } else if (!typed && edit != nullptr) {
      transcript_.notice(std::to_string(number) + " is an edit box: answer " + std::to_string(number) + "=text");
    } else if (edit != nullptr) {
      std::optional<std::string> text = platform::utf8ToAnsi(typed->text);
      if (!text) {
        transcript_.notice("the text has a character that code page 1252 cannot hold");
        return;
      }
      edit->setText(std::move(*text));
    } else {
      control.click();
    }
    return;
  }

  const std::optional<std::string> caption = platform::utf8ToAnsi(a);
  std::vector<vcl::TWinControl*> named;
  for (vcl::TWinControl* control : controls) {
    if (caption && onScreen(*control) && dynamic_cast<vcl::TEdit*>(control) == nullptr &&
        is(controlCaption(*control), *caption)) {
      named.push_back(control);
    }
  }
  if (named.empty()) {
    transcript_.notice(std::string("no control has that caption; ") + kFormQuestion);
  } else if (named.size() > 1) {
    transcript_.notice("several controls have that caption: answer a number");
  } else if (!named.front()->usable()) {
    transcript_.notice(*caption + " is disabled");
  } else {
    named.front()->click();
  }
}

// --- The main window ---

void ConsoleBackend::runMainLoop(vcl::TApplication& app) {
  while (!app.terminated() && app.mainForm() != nullptr) {
    if (anyTimerRunning()) {
      showChanges();
      waitForTimers(app);
      continue;
    }
    vcl::TForm& form = *app.mainForm();
    showMainWindow(form);
    const std::optional<std::string> answer = transcript_.ask(kMainQuestion);
    if (answer) {
      answerMainWindow(form, *answer);
      continue;
    }
    transcript_.notice("end of input: close");
    form.close();
    if (!app.terminated()) break;  // not the application's main window: nothing more can end the loop
  }
  showChanges();
}

void ConsoleBackend::showMainWindow(vcl::TForm& form) {
  transcript_.line("window: " + form.caption());
  for (Window& window : shownWindows_) {
    if (window.form == &form) window.captionShown = form.caption();
  }
  if (vcl::TMainMenu* menu = form.menu()) {
    menu->rethinkHotkeys();  // the menu is built for display
    showMenu(transcript_, *menu);
  }
  showChanges();
}

void ConsoleBackend::answerMainWindow(vcl::TForm& form, const std::string& answer) {
  const std::string_view a = trimmed(answer);
  if (a.empty()) return;
  if (is(a, kClose)) {
    form.close();
    return;
  }
  const std::vector<MenuCommand> commands =
      form.menu() != nullptr ? menuCommands(*form.menu()) : std::vector<MenuCommand>{};
  if (const std::size_t number = numberIn(a); number > 0) {
    if (number > commands.size() || !onScreen(*commands[number - 1].item)) {
      transcript_.notice("there is no menu item " + std::to_string(number));
      return;
    }
    pickMenuItem(form, *commands[number - 1].item, commands[number - 1].path);
    return;
  }
  const std::optional<std::string> caption = platform::utf8ToAnsi(a);
  const MenuCommand* named = nullptr;
  int matches = 0;
  for (const MenuCommand& command : commands) {
    if (!caption || !onScreen(*command.item)) continue;
    if (is(command.path, *caption) || is(withoutAccelerators(command.item->caption()), *caption)) {
      named = &command;
      ++matches;
    }
  }
  if (matches == 0) {
    transcript_.notice(std::string("no menu item has that caption; ") + kMainQuestion);
  } else if (matches > 1) {
    transcript_.notice("several menu items have that caption: answer a number");
  } else {
    pickMenuItem(form, *named->item, named->path);
  }
}

void ConsoleBackend::pickMenuItem(vcl::TForm& form, vcl::TMenuItem& item, const std::string& shownAs) {
  if (!item.usable()) {
    transcript_.notice(shownAs + " is disabled");
    return;
  }
  form.menu()->rethinkHotkeys();  // the user opened the menu: it is built for display
  item.click();
}

// --- What changed on the windows ---

void ConsoleBackend::showChanges() {
  for (Window& window : shownWindows_) {
    if (window.form->modal()) continue;
    if (window.captionShown != window.form->caption()) {
      window.captionShown = window.form->caption();
      transcript_.line("window: " + window.form->caption());
    }
    showChangesIn(*window.form);
  }
}

void ConsoleBackend::showChangesIn(const vcl::TWinControl& parent) {
  for (vcl::TControl* control : parent.controls()) {
    if (!control->visible()) continue;
    if (auto* memo = dynamic_cast<vcl::TMemo*>(control)) {
      const vcl::TComponent* key = memo;
      const auto shown = memosShown_.find(key);
      const bool never = shown == memosShown_.end();
      if ((never && memo->lines().empty()) || (!never && shown->second == memo->lines())) continue;
      memosShown_[key] = memo->lines();
      transcript_.line("memo " + memo->name() + " (" + lineCount(memo->lines().size()) + "):");
      for (const std::string& line : memo->lines()) transcript_.exactText(line);
    } else if (auto* label = dynamic_cast<vcl::TLabel*>(control)) {
      const vcl::TComponent* key = label;
      std::string& shown = labelsShown_[key];
      if (shown == label->caption()) continue;
      shown = label->caption();
      transcript_.line("label " + label->name() + ":");
      transcript_.exactText(label->caption());
    } else if (auto* inner = dynamic_cast<vcl::TWinControl*>(control)) {
      showChangesIn(*inner);
    }
  }
}

void ConsoleBackend::formShown(vcl::TForm& form) {
  if (form.modal()) return;  // listed whole by runModal
  const vcl::TComponent* key = &form;
  if (std::any_of(shownWindows_.begin(), shownWindows_.end(), [&](const Window& w) { return w.component == key; })) {
    return;
  }
  shownWindows_.push_back({key, &form, std::nullopt});
  // Labels as first shown are the window's face, not news: only later changes are shown.
  for (vcl::TComponent* component : form.components()) {
    if (auto* label = dynamic_cast<vcl::TLabel*>(component)) labelsShown_[component] = label->caption();
  }
}

void ConsoleBackend::repaint(vcl::TControl& control) {
  if (auto* label = dynamic_cast<vcl::TLabel*>(&control)) transcript_.progress(label->caption());
}

// --- Timers ---

void ConsoleBackend::timerChanged(vcl::TTimer& timer) {
  const vcl::TComponent* key = &timer;
  // As in the system's timers, a change of interval or state starts the interval anew.
  const Clock::time_point due = Clock::now() + std::chrono::milliseconds(timer.interval());
  for (Timer& t : timers_) {
    if (t.component == key) {
      t.due = due;
      return;
    }
  }
  timers_.push_back({&timer, &timer, due});
}

bool ConsoleBackend::anyTimerRunning() const {
  return std::any_of(timers_.begin(), timers_.end(), [](const Timer& t) { return t.timer->running(); });
}

void ConsoleBackend::waitForTimers(const vcl::TApplication& app) {
  std::string names;
  for (const Timer& t : timers_) {
    if (t.timer->running()) names += (names.empty() ? "" : ", ") + t.timer->name();
  }
  transcript_.notice("waiting for " + names + " to stop");
  while (!app.terminated()) {
    Timer* next = nullptr;
    for (Timer& t : timers_) {
      if (t.timer->running() && (next == nullptr || t.due < next->due)) next = &t;
    }
    if (next == nullptr) return;
    std::this_thread::sleep_until(next->due);
    next->due = Clock::now() + std::chrono::milliseconds(next->timer->interval());
    next->timer->tick();  // may show prompts, change or destroy timers: next is not used after it
  }
}

void ConsoleBackend::destroying(vcl::TComponent& component) {
  const vcl::TComponent* key = &component;
  std::erase_if(shownWindows_, [&](const Window& w) { return w.component == key; });
  std::erase_if(timers_, [&](const Timer& t) { return t.component == key; });
  memosShown_.erase(key);
  labelsShown_.erase(key);
}

std::unique_ptr<vcl::Backend> makeConsoleBackend(std::istream& in, std::ostream& out, ConsoleOptions options) {
  return std::make_unique<ConsoleBackend>(in, out, options);
}

}  // namespace ui
