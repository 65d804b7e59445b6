#pragma once

namespace host {

// POSIX: keeps a copy of the argument vector as the caller gave it, before a
// toolkit strips its own options from it. Windows ignores this.
void captureArguments(int argc, char** argv);

}  // namespace host
