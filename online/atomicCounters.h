#pragma once
// CatomicCounters: the service's shared counters (worldwide ship statistics
// such as "%s_TimPlayed" and "%s_ShipDiscover"). Additions and reads queue up
// and go out together as the "Atomic Counters" task; the values read are
// kept by name for the screens.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/threadTask.h"

class k4wSOAP;

class CatomicCounters {
public:
    static constexpr size_t kMaxName = 64;

    explicit CatomicCounters(k4wSOAP& ws) : ws_(ws) {}
    ~CatomicCounters() { task.join(); }

    bool add(const std::string& name, int64_t amount);   // getAtomicCount's sibling addAtomicCount
    bool request(const std::string& name);               // getAtomicCount
    // The last value heard of; false when none has arrived yet.
    bool value(const std::string& name, int64_t& out) const;
    bool pending(const std::string& name) const;
    bool isBusy() const { return !queue_.empty() || task.started(); }
    void update();

    CthreadTask task{"Atomic Counters", CthreadTask::TASK_NETWORK};

private:
    struct Cop {
        std::string name;
        bool add = false;
        int64_t amount = 0;
        bool ok = false;
        int64_t result = 0;
    };
    k4wSOAP& ws_;
    std::vector<Cop> queue_, running_;
    std::map<std::string, int64_t> values_;
};
