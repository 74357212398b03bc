#pragma once
// Counts what operator new hands out on the calling thread while a meter is
// running, so a test can see the peak a call reached. The replaced operators
// live in allocationMeter.cpp and serve the whole test program.
#include <cstddef>
#include <cstdint>

class CallocationMeter {
public:
    CallocationMeter();
    ~CallocationMeter();
    CallocationMeter(const CallocationMeter&) = delete;
    CallocationMeter& operator=(const CallocationMeter&) = delete;

    // The most bytes held at once since the meter started (blocks freed that
    // were made before it count against what was made after).
    int64_t peakBytes() const;
};
