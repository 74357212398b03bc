// Runs the local k4w service for a real game to talk to, and writes a
// service settings file that points the game at it ($ZORBEX_WEB_SERVICE).
// Usage: zx_local_service <settings file> [answer delay ms]
// Runs until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "online/localService/localWebService.h"

static volatile std::sig_atomic_t stopRequested = 0;

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <settings file> [delay ms]\n", argv[0]);
        return 2;
    }
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::signal(SIGINT, [](int) { stopRequested = 1; });
    ClocalWebService service;
    if (!service.start()) return 1;
    if (argc > 2) service.delayMs = atoi(argv[2]);
    FILE* f = fopen(argv[1], "w");
    if (!f) return 1;
    fprintf(f, "WebService Scheme http Host \"127.0.0.1\" Port %d Path \"/k4w\" StartTimeout 5 ConnectTimeout 5 IoTimeout 10\n"
               "EndWebService EndFile\n", service.port());
    fclose(f);
    printf("local k4w service on port %d\n", service.port());
    fflush(stdout);
    while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    service.stop();
    return 0;
}
