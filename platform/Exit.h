#pragma once
// Ending the process with a status. Every place of the system that ends the process at once
// (a cancelled dialog, nothing to do, a folder the search cannot list, no memory for a text)
// goes through endProcess, so that tests can observe it instead of losing their process.

namespace platform {

// Ends the process with the status. Under a test hook, calls the hook instead; the hook must
// not return (it throws or longjmps), and endProcess aborts if it does.
[[noreturn]] void endProcess(int status);

using EndProcessHook = void (*)(int status);
// Installs a hook (nullptr restores the real exit); returns the previous one.
EndProcessHook setEndProcessHook(EndProcessHook hook);

}  // namespace platform
