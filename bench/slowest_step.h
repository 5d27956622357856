#pragma once

#include <algorithm>
#include <chrono>

// Times each step of a user's road through the windows and keeps the slowest, the wait a user notices.
class SlowestStep {
public:
    template <typename Step> void operator()(const Step& step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        slowest_ = std::max(
            slowest_,
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    double Milliseconds() const { return slowest_; }

private:
    double slowest_ = 0;
};
