#include "base/ProcessEnd.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace nimbrel {

bool WaitUntilLetGo(const std::weak_ptr<const void>& lastUse, std::chrono::milliseconds bound) {
    // A weak pointer cannot wake anyone when it expires; the wait is short and ends at the
    // bound, so a fine-grained look is cheap.
    constexpr auto step = std::chrono::milliseconds(1);
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!lastUse.expired()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(step);
    }
    return true;
}

namespace {

[[noreturn]] void EndWithoutStaticDestructors(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace

void LetThreadsGoOrEnd(int code, const std::weak_ptr<const void>& lastUse,
                       std::chrono::milliseconds bound) {
    if (!WaitUntilLetGo(lastUse, bound)) {
        EndWithoutStaticDestructors(code);
    }
}

} // namespace nimbrel
