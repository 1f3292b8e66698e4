#pragma once

#include <new>
#include <system_error>

#include "planner/worker_pool.h"

namespace kestrin::testing {

/// Starts threads as the system does, except while told to refuse: then it throws what the
/// system throws when it has no thread or no memory left.
class RefusingThreads final : public ThreadStarter {
public:
    enum class Refusal { None, NoThread, NoMemory };

    JoiningThread Start(std::function<void()> body) const override {
        if (refusal == Refusal::NoThread)
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again), "thread");
        if (refusal == Refusal::NoMemory) throw std::bad_alloc();
        return SystemThreads().Start(std::move(body));
    }

    Refusal refusal = Refusal::None;
};

}  // namespace kestrin::testing
