#include "support/testEngine.h"

#include <algorithm>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

// The leak checker's default suppressions for every test program: FFmpeg's
// streaming dependency keeps a start-up allocation of its own that it never
// frees; it is reported only when its loading thread ends late.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsrt-gnutls.so\n"; }

bool waitUntil(const std::function<bool()>& poll, double seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds((long long)(seconds * 1000));
    while (!poll()) {
        if (std::chrono::steady_clock::now() >= end) return poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

std::string makeTempFolder(const char* tag) {
    std::string templ = std::string("/tmp/zx_") + tag + "_XXXXXX";
    return mkdtemp(templ.data()) ? templ : std::string();
}

void removeFolderTree(const std::string& path) {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

std::string dialogAnswering(const std::string& dir, const std::string& answer, int exitCode) {
    std::string path = dir + "/dialog.sh";
    std::ofstream(path) << "#!/bin/sh\nprintf '%s\\n' '" << answer << "'\nexit " << exitCode << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

CtestEngine::CtestEngine(bool init, const std::string& commandLine, const std::string& saveDir) {
    ownFolder_ = saveDir.empty();
    saveDir_ = ownFolder_ ? makeTempFolder("save") : saveDir;
    Cengine::create();
    gEngine->log.echoToSdl = false;
    gEngine->setSaveFolder(saveDir_);
    const char* data = getenv("ZORBEX_DATA");
    gEngine->setDataRoot(data && *data ? data : "data");
    if (init) {
        initOk_ = gEngine->init(commandLine);
        if (!initOk_) {
            // Why, from the engine's own log: the last lines before it gave up.
            std::string why;
            std::vector<ClogLine> lines = gEngine->log.recentLines();
            for (size_t i = std::max<size_t>(lines.size(), 5) - 5; i < lines.size(); ++i) why += "\n  " + lines[i].text;
            // The test ends here with the reason: nothing may run on an engine
            // that is only half there.
            Cengine::destroy();
            if (ownFolder_) removeFolderTree(saveDir_);
            throw std::runtime_error("engine init failed:" + why);
        }
    }
}

CtestEngine::~CtestEngine() {
    Cengine::destroy();
    if (ownFolder_) removeFolderTree(saveDir_);
}
