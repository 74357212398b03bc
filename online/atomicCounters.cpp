#include "online/atomicCounters.h"

#include "online/k4wTransport.h"

using namespace k4wGen;

bool CatomicCounters::add(const std::string& name, int64_t amount) {
    if (k4wSOAP::serviceOff() || name.empty() || name.size() > kMaxName) return false;
    queue_.push_back({name, true, amount});
    return true;
}

bool CatomicCounters::request(const std::string& name) {
    if (k4wSOAP::serviceOff() || name.empty() || name.size() > kMaxName) return false;
    for (const auto& op : queue_)
        if (!op.add && op.name == name) return true;
    queue_.push_back({name, false, 0});
    return true;
}

bool CatomicCounters::value(const std::string& name, int64_t& out) const {
    auto it = values_.find(name);
    if (it == values_.end()) return false;
    out = it->second;
    return true;
}

bool CatomicCounters::pending(const std::string& name) const {
    for (const auto& v : {&queue_, &running_})
        for (const auto& op : *v)
            if (op.name == name) return true;
    return false;
}

void CatomicCounters::update() {
    if (task.finished()) {
        task.reset();
        for (const auto& op : running_)
            if (op.ok) values_[op.name] = op.result;
        running_.clear();
    }
    if (k4wSOAP::serviceOff()) {
        queue_.clear();
        return;
    }
    if (task.started() || queue_.empty()) return;
    running_ = std::move(queue_);
    queue_.clear();
    task.start([this] {
        bool all = true;
        for (auto& op : running_) {
            Ck4wCallResult r;
            if (op.add) {
                _k4w__addAtomicCount req;
                req.name = op.name;
                req.amount = op.amount;
                r = k4wTokenCall(ws_, "addAtomicCount", &k4wProxy::addAtomicCount, req,
                                 [&](_k4w__addAtomicCountResponse& resp) {
                                     op.result = resp.count;
                                     return true;
                                 });
            } else {
                _k4w__getAtomicCount req;
                req.name = op.name;
                r = k4wTokenCall(ws_, "getAtomicCount", &k4wProxy::getAtomicCount, req,
                                 [&](_k4w__getAtomicCountResponse& resp) {
                                     op.result = resp.count;
                                     return true;
                                 });
            }
            op.ok = r.ok();
            all = all && op.ok;
            // A service that does not answer would not answer the rest either.
            if (r.code == K4W_TIMEOUT || r.code == K4W_NO_CONNECTION) break;
        }
        return all;
    });
}
