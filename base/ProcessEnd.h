#pragma once
// The end of a process that may have left threads to finish alone (a fetch worker cut off by
// the watchdog or by Exit). Such a thread holds a share of what it calls into; once the last
// share has gone it touches nothing of the program's any more. One that is still running at
// the end (blocked in a name lookup, which nothing can interrupt) must not meet the standard
// library's static objects being destroyed under it.
#include <chrono>
#include <memory>

namespace nimbrel {

// How long the end of a process waits for threads left to finish alone: a cut-off worker
// needs a few milliseconds to unwind from its closed sockets.
inline constexpr std::chrono::milliseconds ThreadsLetGoBound{2000};

// Waits until lastUse has expired, for at most bound. True when it has.
bool WaitUntilLetGo(const std::weak_ptr<const void>& lastUse, std::chrono::milliseconds bound);

// The end of a command or program once the front end's scheduler is gone: returns when every
// thread left to finish alone has let go within the bound, so that the caller returns from
// main as usual (static objects destroyed, exit checks run); otherwise ends the process here, after
// flushing the standard streams, without destroying the static objects that thread may still
// use. Everything the process must save has been saved before.
void LetThreadsGoOrEnd(int code, const std::weak_ptr<const void>& lastUse,
                       std::chrono::milliseconds bound = ThreadsLetGoBound);

} // namespace nimbrel
