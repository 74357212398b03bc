#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/musicIndexer.h"
#include "audio/songInfoMgr.h"
#include "support/musicTree.h"
#include "support/testEngine.h"

namespace fs = std::filesystem;

namespace {
// The walk's own log lines, in order.
std::vector<std::string> walkLog(Cengine* e) {
    std::vector<std::string> out;
    for (const auto& l : e->log.recentLines()) {
        const std::string& t = l.text;
        if (t.rfind("In a folder", 0) == 0 || t.rfind("Up a folder", 0) == 0 || t.rfind("Index:", 0) == 0 ||
            t.rfind("Found Track", 0) == 0 || t.rfind("Rejected Track", 0) == 0 || t.rfind("Failed to get tags", 0) == 0)
            out.push_back(t);
    }
    return out;
}

std::vector<std::string> libraryPaths(const CsongInfoMgr& lib) {
    std::vector<std::string> out;
    for (size_t i = 0; i < lib.size(); ++i)
        if (lib.entry(i)->kind == SONG_LOCAL) out.push_back(lib.entry(i)->path);
    return out;
}

void walkAll(CmusicIndexer& ix) {
    for (int guard = 0; ix.running() && guard < 10000; ++guard) ix.step();
}
}  // namespace

// The walk runs in slices that end within their time but never take fewer
// than three entries, and adds the long tracks depth first.
TEST(MusicIndexer, WalkAddsLongTracksDepthFirstInTimedSlicesAndLogsEveryStep) {
    CtestEngine eng(false);
    std::string root = makeMusicTree();
    CsongInfoMgr lib;
    CmusicIndexer ix(lib);
    eng->log.clearRecent();
    double now = 0;
    ix.clockMs = [&] { return now += 1.0; };   // 1 ms an entry: a 4 ms slice takes four
    ix.start(root + "/");
    EXPECT_EQ(ix.runSlice(4.0), 4);
    ix.clockMs = [&] { return now += 1.5; };   // a third entry would end past the budget
    EXPECT_EQ(ix.runSlice(4.0, 1), 2);
    ix.clockMs = [&] { return now += 50.0; };
    EXPECT_EQ(ix.runSlice(4.0), 3);
    walkAll(ix);
    EXPECT_EQ(ix.tracksFound(), 3);
    EXPECT_EQ(libraryPaths(lib), (std::vector<std::string>{root + "/a/sub/deep.flac", root + "/B Side/01.flac",
                                                           root + "/B Side/02.flac"}));
    EXPECT_EQ(lib.findByPath(root + "/B Side/01.flac")->tags.title, "First");

    std::vector<std::string> want = {
        "In a folder: " + root + "/a",
        "In a folder: " + root + "/a/sub",
        "Found Track: " + root + "/a/sub/deep.flac",
        "Index: Last track filesId=2, dep=2",
        "Up a folder: " + root + "/a",
        "Index: Last track filesId=2, dep=1",
        "Up a folder: " + root,
        "In a folder: " + root + "/B Side",
        "Found Track: " + root + "/B Side/01.flac",
        "Found Track: " + root + "/B Side/02.flac",
        "Index: Last track filesId=3, dep=1",
        "Up a folder: " + root,
        "Failed to get tags: " + root + "/broken.ogg",
        "Rejected Track (too long/short): " + root + "/short.ogg",
        "Index: Last track filesId=7, dep=0",
        "Index: Finished",
    };
    EXPECT_EQ(walkLog(gEngine), want);

    // A second walk knows every path: nothing new, nothing doubled.
    ix.start(root);
    walkAll(ix);
    EXPECT_EQ(ix.tracksFound(), 0);
    EXPECT_EQ(libraryPaths(lib).size(), 3u);
    removeFolderTree(root);
}

TEST(MusicIndexer, TooDeepOrTooLongFoldersAreSkippedWithALogLine) {
    CtestEngine eng(false);
    const CmusicTemplates& t = CmusicTemplates::get();
    std::string root = makeTempFolder("indexer_limits");
    copyTaggedTrack(t.longTrack, root + "/1/2/3/three.flac", "Three");
    copyTaggedTrack(t.longTrack, root + "/1/two.flac", "Two");
    // A path well past the limit, in names the file system still takes.
    std::string longName(200, 'x'), deep = root + "/long";
    for (int i = 0; i < 6; ++i) deep += "/" + longName;
    copyTaggedTrack(t.longTrack, deep + "/far.flac", "Far");

    {
        CsongInfoMgr lib;
        CmusicIndexer ix(lib);
        ix.maxDepth = 3;   // the chosen folder, "1" and "1/2"
        ix.start(root);
        walkAll(ix);
        EXPECT_EQ(libraryPaths(lib), std::vector<std::string>{root + "/1/two.flac"});
        EXPECT_TRUE(eng->log.contains("Index: Folder too deep, skipped: " + root + "/1/2/3"));
    }
    eng->log.clearRecent();
    CsongInfoMgr lib;
    CmusicIndexer ix(lib);
    ix.start(root);
    walkAll(ix);
    EXPECT_EQ(libraryPaths(lib), (std::vector<std::string>{root + "/1/2/3/three.flac", root + "/1/two.flac"}));
    EXPECT_TRUE(eng->log.containsPart("Index: Path too long, skipped: " + root + "/long/"));
    EXPECT_TRUE(eng->log.contains("Index: Finished"));
    removeFolderTree(root);
}

