#pragma once
// A packing run under the test backend: the main window and the options dialog as start-up
// makes them, a family folder in a throw-away prefix, and the process end turned into an
// exception that the test can catch.
#include <memory>
#include <string>

#include "app/options/Optionscrn.h"
#include "platform/Exit.h"
#include "platform/ui/test/TestBackend.h"
#include "tests/app/FamilyTestSupport.h"

// Thrown instead of ending the process.
struct ProcessEnded {
  int status;
};

class RunTest : public FamilyTest {
 protected:
  RunTest();
  ~RunTest() override;

  // Writes the database as C:\Family\tree.paf without opening it.
  void installFamily(const PafImage& image);

  // Picks C:\Family\tree.paf as File > Open would, and runs. Returns the exit status when the
  // run ended the process, -1 when it returned.
  int run(const std::string& path = "C:\\Family\\tree.paf");

  // The last message box shown.
  ui::Shown lastMessage() const;
  // The bytes of a file at a Windows path on C:.
  std::string fileBytes(const std::string& windowsPath) const;

  ui::TestBackend ui_;
  TOptionForm* options_;

 private:
  platform::EndProcessHook previousHook_;
};
