#include "tests/app/RunTestSupport.h"

namespace {
[[noreturn]] void throwProcessEnded(int status) { throw ProcessEnded{status}; }
}  // namespace

RunTest::RunTest() : options_(new TOptionForm(nullptr)), previousHook_(platform::setEndProcessHook(throwProcessEnded)) {
  OptionForm = options_;
}

RunTest::~RunTest() {
  platform::setEndProcessHook(previousHook_);
  OptionForm = nullptr;
  delete options_;
}

void RunTest::installFamily(const PafImage& image) { image.writeTo(prefix_.host("C:\\Family\\tree.paf")); }

int RunTest::run(const std::string& path) {
  form_->databasePath = path;
  try {
    form_->packDatabase();
  } catch (const ProcessEnded& ended) {
    return ended.status;
  }
  return -1;
}

ui::Shown RunTest::lastMessage() const {
  const std::vector<ui::Shown> boxes = ui_.shown(ui::Shown::Kind::MessageBox);
  return boxes.empty() ? ui::Shown{} : boxes.back();
}

std::string RunTest::fileBytes(const std::string& windowsPath) const {
  return corvane::testing::readBytes(prefix_.host(windowsPath));
}
