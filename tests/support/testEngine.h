#pragma once
// Test support: an engine with a fresh save folder and the built data folder.
#include <functional>
#include <string>

#include "engine/engine.h"

// How long a test waits for something another thread or process does (an
// answer, a decoded buffer, a finished task). The limit only ends a wait for
// an event that never comes, so it is generous: a loaded machine is slow.
constexpr double kEventWaitSeconds = 60.0;

// Calls poll until it returns true, a millisecond apart, for at most seconds
// of real time. True when poll did.
bool waitUntil(const std::function<bool()>& poll, double seconds = kEventWaitSeconds);

class CtestEngine {
public:
    // Creates the engine; with init, reads the data folder's tables too.
    // With a save folder the engine uses it and leaves it in place (a later
    // engine over the same folder is the game started again). When init
    // fails, the test ends there, its failure naming the engine's last log lines.
    explicit CtestEngine(bool init = true, const std::string& commandLine = "", const std::string& saveDir = "");
    ~CtestEngine();
    Cengine* operator->() { return gEngine; }
    const std::string& saveDir() const { return saveDir_; }
    bool initOk() const { return initOk_; }

private:
    std::string saveDir_;
    bool ownFolder_ = true;
    bool initOk_ = false;
};

// A fresh empty folder under the system's temp folder.
std::string makeTempFolder(const char* tag);
void removeFolderTree(const std::string& path);
// A stand-in for the desktop's file and folder dialogs: a script in dir that
// prints answer and exits with exitCode. Its path goes in Cplatform::dialogProgram.
std::string dialogAnswering(const std::string& dir, const std::string& answer, int exitCode = 0);
