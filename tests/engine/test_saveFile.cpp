#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "engine/resourceFile.h"
#include "engine/saveFile.h"
#include "support/testEngine.h"

namespace {
struct Csettings {
    int32_t volume = 7;
    float detail = 0.5f;
    char name[16] = "pilot";
};
}  // namespace

TEST(SaveFile, MissingRecordsKeepDefaultsAndMissingFileReportsIt) {
    CtestEngine eng;
    CsaveFile file("absent");
    EXPECT_FALSE(file.loadItems());
    EXPECT_EQ(file.lastResult(), SAVE_MISSING);
    CsaveFile older("partial");
    int a = 11;
    older.addRecord("A", &a, sizeof a);
    ASSERT_TRUE(older.saveItems());
    CsaveFile newer("partial");
    int a2 = 0, b2 = 99;
    newer.addRecord("A", &a2, sizeof a2);
    newer.addRecord("B", &b2, sizeof b2);
    ASSERT_TRUE(newer.loadItems());
    EXPECT_TRUE(a2 == 11 && b2 == 99);
}

TEST(SaveFile, CorruptOrTruncatedFileLeavesRecordsUntouched) {
    CtestEngine eng;
    Csettings s;
    int other = 5;
    CsaveFile file("corrupt");
    file.addRecord("Settings", &s, sizeof s);
    file.addRecord("Other", &other, sizeof other);
    s.volume = 42;
    other = 6;
    ASSERT_TRUE(file.saveItems());
    Cbytes bytes;
    ASSERT_TRUE(CresourceFile::readWholeFile(gEngine->savePath("corrupt"), bytes));

    for (size_t cut : {bytes.size() - 1, bytes.size() / 2, (size_t)13, (size_t)3}) {
        ASSERT_TRUE(CresourceFile::writeFileAtomic(gEngine->savePath("corrupt"), bytes.data(), cut));
        s = Csettings();
        other = 5;
        EXPECT_FALSE(file.loadItems()) << "cut at " << cut;
        EXPECT_EQ(file.lastResult(), SAVE_CORRUPT);
        EXPECT_TRUE(s.volume == 7 && other == 5);
    }

    // A stream whose second record runs past the end: nothing is assigned.
    CsaveFile probe("probe");
    int x = 1, y = 2;
    probe.addRecord("X", &x, sizeof x);
    probe.addRecord("Y", &y, sizeof y);
    Cbytes stream = probe.serialise();
    stream.resize(stream.size() - 2);
    x = y = 0;
    EXPECT_FALSE(probe.deserialise(stream.data(), stream.size()));
    EXPECT_TRUE(x == 0 && y == 0);
}

TEST(SaveFile, SurvivesKillBetweenWriteAndRename) {
    CtestEngine eng;
    int32_t counter = 0;
    char payload[4096];
    CsaveFile file("killed");
    file.addRecord("Counter", &counter, sizeof counter);
    file.addRecord("Payload", payload, sizeof payload);
    memset(payload, 'p', sizeof payload);
    ASSERT_TRUE(file.saveItems());

    // A save the disk has no room for (here a file size limit, which binds
    // root too) fails and leaves the last save whole.
    pid_t full = fork();
    ASSERT_GE(full, 0);
    if (full == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit lim;
        getrlimit(RLIMIT_FSIZE, &lim);
        lim.rlim_cur = 1000;
        for (char& c : payload) c = (char)rand();   // past the limit however it packs
        _exit(setrlimit(RLIMIT_FSIZE, &lim) == 0 && !file.saveItems() ? 0 : 1);
    }
    int status = 0;
    waitpid(full, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(file.loadItems());
    EXPECT_EQ(payload[0], 'p');

    for (int round = 0; round < 5; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t i = 1;; ++i) {
                counter = i;
                memset(payload, 'a' + (i % 26), sizeof payload);
                file.saveItems();
            }
        }
        usleep(20000 + round * 7000);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        counter = -1;
        ASSERT_TRUE(file.loadItems()) << "round " << round;
        EXPECT_GE(counter, 0);
        // The payload belongs to the same save as the counter.
        char expect = counter == 0 ? 'p' : (char)('a' + (counter % 26));
        for (char c : payload) ASSERT_EQ(c, expect);
    }
}

TEST(SaveFile, CloudFlagWritesLocalCopyEvenWhenCloudFails) {
    CtestEngine eng;
    int value = 77;
    CsaveFile file("cloudy", true);
    file.addRecord("V", &value, sizeof value);
    int cloudCalls = 0;
    gEngine->cloudSave = [&](const std::string&, const Cbytes&) {
        ++cloudCalls;
        return false;
    };
    gEngine->cloudLoad = [&](const std::string&, Cbytes&) { return CLOUD_NONE; };
    EXPECT_TRUE(file.saveItems());
    EXPECT_TRUE(cloudCalls == 1 && gEngine->log.contains("Cloud save failed: cloudy"));
    value = 0;
    ASSERT_TRUE(file.loadItems());   // falls back to the local copy
    EXPECT_EQ(value, 77);

}

TEST(SaveFile, CommitsRunOnlyWhenEveryReaderAccepts) {
    CtestEngine eng;
    int a = 1, b = 2, fixed = 3, stagedA = 0, stagedB = 0, commits = 0;
    bool refuseB = false;
    CsaveFile file("staged");
    auto writer = [](int& v) { return [&v](Cbytes& out) { out.assign((uint8_t*)&v, (uint8_t*)&v + sizeof v); }; };
    auto reader = [](int& staged, bool* refuse) {
        return [&staged, refuse](const uint8_t* p, size_t n) {
            if (n != sizeof(int) || (refuse && *refuse)) return false;
            memcpy(&staged, p, n);
            return true;
        };
    };
    file.addRecord("A", writer(a), reader(stagedA, nullptr), [&] { a = stagedA, ++commits; });
    file.addRecord("Fixed", &fixed, sizeof fixed);   // read before the refusing one
    file.addRecord("B", writer(b), reader(stagedB, &refuseB), [&] { b = stagedB, ++commits; });
    ASSERT_TRUE(file.saveItems());
    a = b = fixed = 0;
    refuseB = true;
    EXPECT_FALSE(file.loadItems());
    EXPECT_TRUE(commits == 0 && a == 0 && fixed == 0);   // A's reader passed, but nothing was applied
    refuseB = false;
    ASSERT_TRUE(file.loadItems());
    EXPECT_TRUE(commits == 2 && a == 1 && b == 2 && fixed == 3);
}
