#include "engine/retryBackoff.h"

#include <algorithm>

bool CretryBackoff::failed(double nowMs) {
    bool first = !failing_;
    waitMs_ = first ? firstMs_ : std::min(waitMs_ * 2.0, maxMs_);
    failing_ = true;
    nextAtMs_ = nowMs + waitMs_;
    return first;
}

bool CretryBackoff::succeeded() {
    bool ended = failing_;
    failing_ = false;
    waitMs_ = 0.0;
    return ended;
}
