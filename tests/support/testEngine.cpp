#include "support/testEngine.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

std::string makeTempFolder(const char* tag) {
    std::string templ = std::string("/tmp/zx_") + tag + "_XXXXXX";
    char* made = mkdtemp(templ.data());
    return made ? std::string(made) : std::string();
}

void removeFolderTree(const std::string& path) {
    std::error_code ec;
    if (!path.empty()) std::filesystem::remove_all(path, ec);
}

CtestEngine::CtestEngine(bool init, const std::string& commandLine) {
    saveDir_ = makeTempFolder("save");
    Cengine::create();
    gEngine->log.echoToSdl = false;
    gEngine->setSaveFolder(saveDir_);
    const char* data = getenv("ZORBEX_DATA");
    gEngine->setDataRoot(data && *data ? data : "data");
    if (init) {
        initOk_ = gEngine->init(commandLine);
        EXPECT_TRUE(initOk_) << "engine init failed";
    }
}

CtestEngine::~CtestEngine() {
    Cengine::destroy();
    removeFolderTree(saveDir_);
}
