#pragma once
// Folders of generated, tagged music files for the library and indexing
// tests (link zx_audiogen). Silent 8 kHz mono, so they are small.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/audioTestFiles.h"
#include "support/testEngine.h"

// Two templates made once per test program: a 40-second track and a 10-second one.
struct CmusicTemplates {
    std::string folder = makeTempFolder("music_templates");
    std::string longTrack = writeTestAudio(folder, "long.flac", synth::makeTone(440.0, 40.0, 8000, 1, 0.0f));
    std::string shortTrack = writeTestAudio(folder, "short.ogg", synth::makeTone(440.0, 10.0, 8000, 1, 0.0f), nullptr, 32);
    ~CmusicTemplates() { removeFolderTree(folder); }
    static const CmusicTemplates& get() {
        static CmusicTemplates t;
        return t;
    }
};

// A copy of a template at path (folders made as needed) with its own tags.
inline void copyTaggedTrack(const std::string& from, const std::string& to, const std::string& title,
                            const std::string& album = "Album", const std::string& artist = "Artist",
                            int trackNumber = 1) {
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(to).parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    CfileTags t{title, artist, album, "Genre", trackNumber, 2026};
    ASSERT_TRUE(writeFileTags(to, t)) << to;
}

// root/
//   B Side/02.flac, 01.flac      two long tracks
//   a/sub/deep.flac              a long track two levels down
//   .hidden/secret.flac          never walked
//   short.ogg                    rejected (10 s)
//   broken.ogg                   not audio: its tags can't be read
//   notes.txt                    not music
//   loop -> root                 a link back up: not followed
inline std::string makeMusicTree() {
    const CmusicTemplates& t = CmusicTemplates::get();
    std::string root = makeTempFolder("music_tree");
    copyTaggedTrack(t.longTrack, root + "/B Side/02.flac", "Second", "Flip", "Band", 2);
    copyTaggedTrack(t.longTrack, root + "/B Side/01.flac", "First", "Flip", "Band", 1);
    copyTaggedTrack(t.longTrack, root + "/a/sub/deep.flac", "Deep", "Down", "Diver", 1);
    copyTaggedTrack(t.longTrack, root + "/.hidden/secret.flac", "Secret");
    copyTaggedTrack(t.shortTrack, root + "/short.ogg", "Short");
    std::ofstream(root + "/broken.ogg") << "not audio at all";
    std::ofstream(root + "/notes.txt") << "hello";
    std::filesystem::create_directory_symlink(root, root + "/loop");
    return root;
}
