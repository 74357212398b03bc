#pragma once
// Ck4wInFlight: the k4w calls on the wire right now. abort() ends every one of
// them at once (their sockets are shut down) and refuses new ones, so that
// quitting never waits for a service that stalls.
#include <atomic>
#include <mutex>
#include <vector>

struct soap;

class Ck4wInFlight {
public:
    // The call's gSOAP context is watched from its start to its end.
    void add(struct soap* soap);
    void remove(struct soap* soap);
    // Shuts down the call's socket before gSOAP closes it, under the same
    // lock as abort(), so abort() never touches a number reused elsewhere.
    int closeSocket(struct soap* soap, int fd);
    // A socket just connected: shut at once when the calls were aborted.
    void connected(struct soap* soap, int fd);

    void abort();
    void allow() { aborted_ = false; }
    bool aborted() const { return aborted_.load(); }

private:
    struct Centry {
        struct soap* soap;
        int fd;
    };
    std::mutex mutex_;
    std::vector<Centry> calls_;
    std::atomic<bool> aborted_{false};
};
