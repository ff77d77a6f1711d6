#pragma once
// A view that only hears of a run's end (the full refresh that follows it).
#include "app/MainView.h"

#include <functional>
#include <utility>

namespace nimbrel::testing {

class RunEndView final : public MainView {
public:
    explicit RunEndView(std::function<void()> ended) : ended_(std::move(ended)) {}
    void LocationsUpdated() override { ended_(); }

private:
    std::function<void()> ended_;
};

} // namespace nimbrel::testing
