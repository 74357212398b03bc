// Runs the local k4w service for a real game to talk to, and writes a
// service settings file that points the game at it ($ZORBEX_WEB_SERVICE).
// Usage: zx_local_service <settings file> [answer delay ms] [--showcase] [--challenge <seconds>]
//        [--fault stall|garbage|refuse|trickle] [--fault-ops Op1,Op2,...]
// With --showcase the service also runs a daily challenge with a few scores
// and holds a few daily-tracks submits, for the screens that show them.
// With --challenge <seconds> the service runs a daily and a lightning
// challenge on a track of that length, its clock set ten minutes into the day
// so that either can be attempted whenever the road runs.
// With --fault the service misbehaves for the operations named (every one
// when none are), so that the game can be seen coping with it.
// SIGUSR1 moves the service's clock a day on, SIGUSR2 four hours: the next
// daily or lightning challenge period, with the last one's board final.
// Runs until SIGTERM or SIGINT.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "online/localService/localWebService.h"
#include "online/scoreRecord.h"

static volatile std::sig_atomic_t stopRequested = 0;
static volatile std::sig_atomic_t daysOn = 0, lightningPeriodsOn = 0;

static void addShowcase(ClocalWebService& service) {
    ClocalChallenge c;
    c.trackTitle = "Night Drive";
    c.artist = "The Synths";
    c.duration = 215;
    c.difficulty = 3;
    c.noExtraLives = true;
    c.weaponRestriction = 2;
    service.setChallenge(24, c);
    const long long period = (long long)(time(nullptr) / 3600 / 24);
    const std::string board = "24HourChall_HS_" + std::to_string(period);
    const char* names[] = {"Ace", "Nova", "Vex", "Kite", "Moss"};
    for (int i = 0; i < 5; ++i) {
        CperSongScore rec;
        rec.name = names[i];
        rec.ship = "Standard";
        rec.comment = "GG";
        rec.country = "gb";
        service.addRow(board, 1000 + (uint64_t)i, 90000 - (uint64_t)i * 7000, rec.write());
    }
    const char* titles[] = {"Night Drive", "Glass Rain", "Low Orbit", "Static Bloom"};
    const char* artists[] = {"The Synths", "Mira K", "Orbitals", "Pale Fire"};
    const char links[] = {'Y', 'S', 0, 'Y'};
    for (int i = 0; i < 4; ++i) {
        CdailyTrackScore rec;
        rec.name = names[i];
        rec.title = titles[i];
        rec.artist = artists[i];
        rec.album = "Demo";
        rec.length = 200 + i * 20;
        rec.gameScore = 50000 - (uint64_t)i * 4000;
        rec.ship = "Standard";
        rec.shipDefName = "Standard";
        rec.country = "gb";
        rec.linkKind = links[i];
        rec.linkId = links[i] ? "abcDEF12345" : "";
        service.addRow("DailyTracks3", 2000 + (uint64_t)i, (uint64_t)time(nullptr) - 600 * (uint64_t)(i + 1), rec.write());
    }
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <settings file> [delay ms]\n", argv[0]);
        return 2;
    }
    std::signal(SIGTERM, [](int) { stopRequested = 1; });
    std::signal(SIGINT, [](int) { stopRequested = 1; });
    std::signal(SIGUSR1, [](int) { daysOn = daysOn + 1; });
    std::signal(SIGUSR2, [](int) { lightningPeriodsOn = lightningPeriodsOn + 1; });
    ClocalWebService service;
    if (!service.start()) return 1;
    ClocalWebService::Efault fault = ClocalWebService::FAULT_NONE;
    std::vector<std::string> faultOps;
    for (int i = 2; i < argc; ++i) {
        if (strcmp(argv[i], "--showcase") == 0) {
            addShowcase(service);
        } else if (strcmp(argv[i], "--challenge") == 0 && i + 1 < argc) {
            ClocalChallenge c;
            c.trackTitle = "Test Tone";
            c.artist = "Zorbex Tests";
            c.duration = atoi(argv[++i]);
            c.difficulty = 1;
            service.setChallenge(24, c);
            service.setChallenge(4, c);
            service.moveClock(600 - service.unixTime() % 86400);
        } else if (strcmp(argv[i], "--fault") == 0 && i + 1 < argc) {
            fault = ClocalWebService::faultByName(argv[++i]);
            if (fault == ClocalWebService::FAULT_NONE) {
                fprintf(stderr, "unknown fault %s\n", argv[i]);
                return 2;
            }
        } else if (strcmp(argv[i], "--fault-ops") == 0 && i + 1 < argc) {
            std::string list = argv[++i];
            for (size_t at = 0; at <= list.size();) {
                size_t comma = list.find(',', at);
                if (comma == std::string::npos) comma = list.size();
                if (comma > at) faultOps.push_back(list.substr(at, comma - at));
                at = comma + 1;
            }
        } else if (argv[i][0] != '-') {
            service.delayMs = atoi(argv[i]);
        }
    }
    service.setFault(fault, faultOps);
    FILE* f = fopen(argv[1], "w");
    if (!f) return 1;
    fprintf(f, "WebService Scheme http Host \"127.0.0.1\" Port %d Path \"/k4w\" StartTimeout 5 ConnectTimeout 5 IoTimeout 10\n"
               "EndWebService EndFile\n", service.port());
    fclose(f);
    printf("local k4w service on port %d\n", service.port());
    fflush(stdout);
    while (!stopRequested) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        for (auto [pending, hours] : {std::pair{&daysOn, 24}, std::pair{&lightningPeriodsOn, 4}}) {
            if (!*pending) continue;
            *pending = *pending - 1;
            service.moveClock((int64_t)hours * 3600);
            printf("clock moved %d hours on: %lld\n", hours, (long long)service.unixTime());
            fflush(stdout);
        }
    }
    service.stop();
    return 0;
}
