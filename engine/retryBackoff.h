#pragma once
// CretryBackoff: when to try again after a failure. The first retry waits
// firstMs, each failure after it doubles the wait up to maxMs, and a success
// ends the streak. Times are the caller's clock in milliseconds.
class CretryBackoff {
public:
    explicit CretryBackoff(double firstMs = 1000.0, double maxMs = 60000.0) : firstMs_(firstMs), maxMs_(maxMs) {}

    // An attempt may be made now (no failure streak, or its wait is over).
    bool due(double nowMs) const { return !failing_ || nowMs >= nextAtMs_; }
    // Records a failed attempt; true when it starts a streak.
    bool failed(double nowMs);
    // Records a success; true when it ends a streak.
    bool succeeded();
    bool failing() const { return failing_; }
    // The wait before the next attempt (0 when not failing).
    double waitMs() const { return failing_ ? waitMs_ : 0.0; }
    double nextAtMs() const { return nextAtMs_; }

private:
    double firstMs_, maxMs_;
    double waitMs_ = 0.0;
    double nextAtMs_ = 0.0;
    bool failing_ = false;
};
