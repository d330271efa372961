#pragma once
// Helpers shared by the test files: running a test body on a fresh thread
// (whose library state starts zeroed) and checking the error a call raises.
#include <gtest/gtest.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

#include "core/error.h"

namespace qxtest {

// Runs fn on a new thread and waits for it; an exception that escapes fn is
// rethrown here, so that the test reports it instead of the process ending.
inline void runOnFreshThread(const std::function<void()>& fn) {
    std::exception_ptr escaped;
    std::thread([&] {
        try {
            fn();
        } catch (...) {
            escaped = std::current_exception();
        }
    }).join();
    if (escaped) std::rethrow_exception(escaped);
}

// Success when fn raises the host runtime error `number`.
template <typename F>
::testing::AssertionResult raisesError(std::int32_t number, F&& fn) {
    try {
        fn();
    } catch (const qx::RuntimeError& e) {
        if (e.number() == number) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "raised error " << e.number() << " (" << e.what() << ") instead of "
                                             << number;
    }
    return ::testing::AssertionFailure() << "raised nothing, expected error " << number;
}

}  // namespace qxtest

#define EXPECT_RAISES(number, expr) EXPECT_TRUE(::qxtest::raisesError((number), [&] { (void)(expr); }))
