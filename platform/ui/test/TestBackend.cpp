#include "platform/ui/test/TestBackend.h"

#include <algorithm>

#include "platform/File.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"

namespace ui {
namespace {

constexpr std::size_t kShownInFailure = 20;  // the latest records a failure lists

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string buttonsName(unsigned buttons) { return buttons == vcl::MB_OKCANCEL ? "[OK] [Cancel]" : "[OK]"; }

std::string answerName(int button) { return button == vcl::IDCANCEL ? "Cancel" : button == vcl::IDOK ? "OK" : "?"; }

// What a repainted control shows.
std::string shownText(vcl::TControl& control) {
  if (auto* label = dynamic_cast<vcl::TLabel*>(&control)) return label->caption();
  if (auto* form = dynamic_cast<vcl::TForm*>(&control)) return form->caption();
  if (auto* memo = dynamic_cast<vcl::TMemo*>(&control)) return memo->text();
  if (auto* edit = dynamic_cast<vcl::TEdit*>(&control)) return edit->text();
  if (auto* panel = dynamic_cast<vcl::TPanel*>(&control)) return panel->caption();
  if (auto* button = dynamic_cast<vcl::TButton*>(&control)) return button->caption();
  if (auto* check = dynamic_cast<vcl::TCheckBox*>(&control)) return check->caption();
  if (auto* radio = dynamic_cast<vcl::TRadioButton*>(&control)) return radio->caption();
  return {};
}

}  // namespace

std::string Shown::describe() const {
  switch (kind) {
    case Kind::MessageBox:
      return "message box " + quoted(caption) + ": " + quoted(text) + " " + buttonsName(buttons) +
             (answer.empty() ? "" : " -> " + answer);
    case Kind::OpenDialog:
    case Kind::SaveDialog:
      return std::string(kind == Kind::OpenDialog ? "file-open" : "save-file") + " dialog " + name +
             " title " + quoted(caption) + ", filter " + quoted(filter) + " #" + std::to_string(filterIndex) +
             ", file " + quoted(fileName) + ", folder " + quoted(initialDir) +
             (answer.empty() ? "" : " -> " + answer);
    case Kind::Form:
      return "form " + name + " " + quoted(caption);
    case Kind::ModalForm:
      return "modal form " + name + " " + quoted(caption);
    case Kind::Repaint:
      return "repaint " + name + " " + quoted(text);
  }
  return {};
}

std::string TestBackend::Step::describe() const {
  switch (kind) {
    case Kind::Press: return "press " + answerName(button);
    case Kind::Pick: return "pick " + quoted(target);
    case Kind::Cancel: return "cancel";
    case Kind::Click: return "click " + target;
    case Kind::Type: return "type " + quoted(text) + " into " + target;
    case Kind::CloseBox: return "close box";
    case Kind::Tick: return "tick";
  }
  return {};
}

TestBackend::TestBackend() : previous_(vcl::setBackend(this)) {}

TestBackend::~TestBackend() { vcl::setBackend(previous_); }

TestBackend& TestBackend::add(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

TestBackend& TestBackend::press(int button) { return add({Step::Kind::Press, button, {}, {}, 0}); }

TestBackend& TestBackend::pick(std::string windowsPath, int filterIndex) {
  return add({Step::Kind::Pick, 0, std::move(windowsPath), {}, filterIndex});
}

TestBackend& TestBackend::cancel() { return add({Step::Kind::Cancel, 0, {}, {}, 0}); }

TestBackend& TestBackend::click(std::string name) { return add({Step::Kind::Click, 0, std::move(name), {}, 0}); }

TestBackend& TestBackend::type(std::string name, std::string text) {
  return add({Step::Kind::Type, 0, std::move(name), std::move(text), 0});
}

TestBackend& TestBackend::closeBox() { return add({Step::Kind::CloseBox, 0, {}, {}, 0}); }

TestBackend& TestBackend::tick() { return add({Step::Kind::Tick, 0, {}, {}, 0}); }

std::vector<Shown> TestBackend::shown(Shown::Kind kind) const {
  std::vector<Shown> result;
  std::copy_if(shown_.begin(), shown_.end(), std::back_inserter(result),
               [kind](const Shown& s) { return s.kind == kind; });
  return result;
}

std::vector<std::string> TestBackend::unusedSteps() const {
  std::vector<std::string> result;
  for (std::size_t i = next_; i < steps_.size(); ++i) result.push_back(steps_[i].describe());
  return result;
}

int TestBackend::tickTimers() {
  const std::vector<Timer> snapshot = timers_;
  int ticked = 0;
  for (const Timer& t : snapshot) {
    const bool alive = std::any_of(timers_.begin(), timers_.end(),
                                   [&](const Timer& live) { return live.component == t.component; });
    if (!alive || !t.timer->running()) continue;
    t.timer->tick();
    ++ticked;
  }
  return ticked;
}

TestBackend::Step TestBackend::take(const std::string& waiting) {
  if (next_ >= steps_.size()) fail(waiting + ", and the script has no step left");
  return steps_[next_++];
}

void TestBackend::fail(const std::string& what) const {
  std::string message = "Unexpected: " + what + ".";
  if (next_ < steps_.size()) message += "\nNext in the script: " + steps_[next_].describe() + ".";
  message += "\nShown so far (latest last):";
  std::vector<const Shown*> latest;
  for (auto it = shown_.rbegin(); it != shown_.rend() && latest.size() < kShownInFailure; ++it) {
    if (it->kind != Shown::Kind::Repaint) latest.push_back(&*it);
  }
  if (latest.empty()) message += " nothing";
  for (auto it = latest.rbegin(); it != latest.rend(); ++it) message += "\n  " + (*it)->describe();
  throw UnexpectedPrompt(message);
}

int TestBackend::messageBox(const std::string& text, const std::string& caption, unsigned buttons) {
  Shown box;
  box.kind = Shown::Kind::MessageBox;
  box.caption = caption;
  box.text = text;
  box.buttons = buttons;
  shown_.push_back(box);
  const std::string waiting = "the " + box.describe() + " waits for an answer";
  const Step step = take(waiting);
  int answer = 0;
  if (step.kind == Step::Kind::Press &&
      (step.button == vcl::IDOK || (step.button == vcl::IDCANCEL && buttons == vcl::MB_OKCANCEL))) {
    answer = step.button;
  } else if (step.kind == Step::Kind::CloseBox) {
    answer = buttons == vcl::MB_OKCANCEL ? vcl::IDCANCEL : vcl::IDOK;
  } else {
    --next_;
    fail(waiting);
  }
  shown_.back().answer = answerName(answer);
  return answer;
}

std::optional<vcl::FileDialogChoice> TestBackend::runFileDialog(const vcl::TOpenDialog& dialog) {
  Shown record;
  record.kind = dialog.isSaveDialog() ? Shown::Kind::SaveDialog : Shown::Kind::OpenDialog;
  record.name = dialog.name();
  record.caption = dialog.title();
  record.filter = dialog.filter();
  record.filterIndex = dialog.filterIndex();
  record.fileName = dialog.fileName();
  record.initialDir = dialog.initialDir();
  record.defaultExt = dialog.defaultExt();
  record.options = dialog.options();
  shown_.push_back(record);
  const std::string waiting = "the " + record.describe() + " waits for a file";
  const Step step = take(waiting);
  if (step.kind == Step::Kind::Cancel || step.kind == Step::Kind::CloseBox) {
    shown_.back().answer = "Cancel";
    return std::nullopt;
  }
  if (step.kind != Step::Kind::Pick) {
    --next_;
    fail(waiting);
  }
  if (!dialog.isSaveDialog() && (dialog.options() & vcl::ofFileMustExist) != 0 &&
      !platform::fileExists(step.target)) {
    fail("the " + record.describe() + " accepts existing files only, and " + quoted(step.target) +
         " does not exist");
  }
  shown_.back().answer = step.target;
  return vcl::FileDialogChoice{step.target, step.filterIndex != 0 ? step.filterIndex : dialog.filterIndex()};
}

void TestBackend::act(vcl::TForm& form, const std::string& waiting) {
  const Step step = take(waiting);
  switch (step.kind) {
    case Step::Kind::Click: {
      vcl::TComponent* target = form.findComponent(step.target);
      if (auto* item = dynamic_cast<vcl::TMenuItem*>(target)) {
        if (item->menu() == nullptr || item->menu() != form.menu()) fail(step.target + " is not in the menu of " + form.name());
        if (!item->usable()) fail("menu item " + step.target + " is hidden or disabled");
        form.menu()->rethinkHotkeys();  // the user opened the menu: it is built for display
        item->click();
      } else if (auto* control = dynamic_cast<vcl::TControl*>(target)) {
        if (!control->usable()) fail(step.target + " is hidden or disabled and cannot be clicked");
        control->click();
      } else {
        fail(form.name() + " has no control or menu item " + step.target + " to click");
      }
      return;
    }
    case Step::Kind::Type: {
      auto* edit = dynamic_cast<vcl::TEdit*>(form.findComponent(step.target));
      if (edit == nullptr) fail(form.name() + " has no edit box " + step.target);
      if (!edit->usable()) fail("edit box " + step.target + " is hidden or disabled");
      edit->setText(step.text);
      return;
    }
    case Step::Kind::CloseBox:
      form.close();
      return;
    case Step::Kind::Tick:
      tickTimers();
      return;
    case Step::Kind::Press:
    case Step::Kind::Pick:
    case Step::Kind::Cancel:
      --next_;
      fail(waiting + ", but no message box or file dialog is shown");
  }
}

void TestBackend::runModal(vcl::TForm& form) {
  Shown record;
  record.kind = Shown::Kind::ModalForm;
  record.name = form.name();
  record.caption = form.caption();
  shown_.push_back(record);
  while (form.modalResult() == vcl::mrNone) {
    if (vcl::Application != nullptr && vcl::Application->terminated()) {
      form.setModalResult(vcl::mrCancel);
      break;
    }
    act(form, "the " + record.describe() + " waits for input");
  }
}

void TestBackend::runMainLoop(vcl::TApplication& app) {
  // Runs until the application terminates or the script has nothing more for the main window;
  // a test may then look at the state, add steps and call run() again.
  while (!app.terminated() && app.mainForm() != nullptr && next_ < steps_.size()) {
    act(*app.mainForm(), "the main window " + app.mainForm()->name() + " waits for input");
  }
}

void TestBackend::formShown(vcl::TForm& form) {
  if (form.modal()) return;  // recorded by runModal
  Shown record;
  record.kind = Shown::Kind::Form;
  record.name = form.name();
  record.caption = form.caption();
  shown_.push_back(record);
}

void TestBackend::repaint(vcl::TControl& control) {
  if (!recordRepaints_) return;
  Shown record;
  record.kind = Shown::Kind::Repaint;
  record.name = control.name();
  record.text = shownText(control);
  shown_.push_back(record);
}

void TestBackend::timerChanged(vcl::TTimer& timer) {
  vcl::TComponent* component = &timer;
  const bool known = std::any_of(timers_.begin(), timers_.end(),
                                 [&](const Timer& t) { return t.component == component; });
  if (!known) timers_.push_back({component, &timer});
}

void TestBackend::destroying(vcl::TComponent& component) {
  std::erase_if(timers_, [&](const Timer& t) { return t.component == &component; });
}

}  // namespace ui
