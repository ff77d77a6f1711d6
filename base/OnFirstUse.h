#pragma once
// An object built the first time it is used and kept from then on: a window nobody opens costs
// nothing, and one that was opened keeps its state between openings.
#include <functional>
#include <memory>
#include <utility>

namespace nimbrel {

template <typename T> class OnFirstUse {
public:
    explicit OnFirstUse(std::function<std::unique_ptr<T>()> build) : build_(std::move(build)) {}

    T& Get() {
        if (!object_) {
            object_ = build_();
        }
        return *object_;
    }
    T& operator*() { return Get(); }
    T* operator->() { return &Get(); }
    // Where a T& is wanted, the object is used: it is built.
    operator T&() { return Get(); } // NOLINT(google-explicit-constructor)
    bool Built() const { return object_ != nullptr; }

private:
    std::function<std::unique_ptr<T>()> build_;
    std::unique_ptr<T> object_;
};

} // namespace nimbrel
