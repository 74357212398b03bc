#pragma once
// Cengine: the engine singleton. It holds the log, the string tables, the
// resource machinery and the long-lived engine-side services, and is reached
// through the one global pointer gEngine.
#include <SDL.h>

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "engine/colourTable.h"
#include "engine/input.h"
#include "engine/log.h"
#include "engine/maths.h"
#include "engine/platform.h"
#include "engine/random.h"
#include "engine/render/render.h"
#include "engine/stringTable.h"
#include "engine/ui/uiMgr.h"
#include "engine/webMessage.h"
#include "audio/acrCloud.h"
#include "audio/audioBASS.h"
#include "services/analytics.h"
#include "services/steamServices.h"
#include "services/twitter.h"
#include "services/workshop.h"

class CthreadTask;

// What a cloud load found.
enum EcloudRead { CLOUD_NONE = 0, CLOUD_READ, CLOUD_UNREADABLE };

enum EstringTableId { TABLE_INTERNAL = 0, TABLE_GAME_SYSTEM = 1, TABLE_LANGUAGE = 2 };

struct CcommandLine {
    bool linuxSwitch = false;     // "-Linux"
    bool noGrab = false;          // "-NoGrab"
    bool noScreenShots = false;   // "-NoScreenShots"
    bool steamBoards = false;     // "-SteamBoards": the web service makes no requests
    bool noGoogle = false;        // "-NoGoogle": no analytics hits
    void parse(const std::string& line);
};

class Cengine {
public:
    // Allocates zero-filled storage, constructs the engine and sets gEngine.
    static Cengine* create();
    static void destroy();

    Cengine();
    ~Cengine();
    Cengine(const Cengine&) = delete;
    Cengine& operator=(const Cengine&) = delete;

    // Command line switches, data root, string tables. False ends the program.
    bool init(const std::string& commandLine);
    // Engine members' per-step work, in a fixed order.
    void update();
    // Ends the step's input edges and turns a fatal error raised on another
    // thread into the fatal exit.
    void endFrame();

    // The fatal-error path: the line is logged as an error, then the fatal
    // exit follows at once on the main thread, at the frame's end on others.
    // The two names are one call.
    void logFatal(const char* fmt, ...) ZX_PRINTF(2, 3);
    void raiseFatal(const char* fmt, ...) ZX_PRINTF(2, 3);
    [[noreturn]] void fatalError();
    bool fatalPending() const { return fatalPending_; }
    bool isMainThread() const;

    // The keyword tokenizer of every text data file: blanks, CR, LF, tab and
    // commas separate tokens; ";" starts a comment to the end of the line;
    // double quotes group a token. False at the end of the text.
    static bool readToken(std::string& dest, const char*& cursor);
    static bool readBool(const char*& cursor);
    static float readFloat(const char*& cursor);
    static int readInt(const char*& cursor);

    static float fastSin(float degrees);
    static float fastCos(float degrees);

    static const char* platformName(int index);
    // The platform index of this build (Linux) in the statistics records.
    static constexpr int kThisPlatform = 2;
    static const char* storeName(int index);

    // Paths.
    std::string dataPath(const std::string& name) const { return dataRoot + name; }
    std::string savePath(const std::string& name) const { return saveFolder + name; }
    bool setSaveFolder(const std::string& folder);   // creates it; ends with "/"
    bool setDataRoot(const std::string& root);

    // String tables.
    CstringTable& table(int id) { return tables_[id]; }
    CstringTable& language() { return tables_[TABLE_LANGUAGE]; }
    CstringTable& gameSystem() { return tables_[TABLE_GAME_SYSTEM]; }
    const char* text(const std::string& tag) { return tables_[TABLE_LANGUAGE].text(tag); }
    // The game language table of a language number (English first, the
    // language overlaid), its fonts, and every text shown from a tag.
    bool setLanguage(int number);
    int languageNumber = 0;

    // Background tasks.
    std::mutex& taskMutex() { return taskMutex_; }
    void addTask(CthreadTask* task);
    void removeTask(CthreadTask* task);
    std::vector<CthreadTask*> runningTasks() const;
    bool anyTaskRunning() const;

    // Members. The platform comes early so that it is destroyed late: SDL
    // and the GL context outlive every member that uses them.
    Clog log;
    Cplatform platform;
    Cinput input;
    CcolourTable colours;
    Crandom random{12345};
    CcommandLine switches;
    CuiMgr ui;
    Canalytics analytics;
    Ctwitter twitter;
    CsteamServices steam;
    Cworkshop workshop;
    CaudioBASS audio;
    CacrCloud acrCloud;

    // Rendering and scene (engine/render/render.h).
    Crenderer renderer;
    CtextureMgr textures;
    CspriteMgr sprites;
    CfontMgr fonts;
    CparticleSystem particles;
    CdrawList drawList;
    CscreenShake screenShake;
    CscreenFlash screenFlash;
    CerrorOverlay errorOverlay;
    CpropMgr props;

    // Identity and settings read by the screens and services.
    std::string gameName = "Zorbex";
    std::string gameNameNoBlanks = "Zorbex";
    std::string versionText = "v1.00";
    std::string platformText = "Linux";   // the platform name shown and reported
    std::string provider = "Steam";
    std::string buildText = "Release";    // the kind of build, the version line's third field
    std::string currency = "?";
    std::string countryCode = "XX";
    std::string userAgent;
    std::string dataRoot = "data/";
    std::string saveFolder;

    double updateStep = 1.0 / 60.0;   // seconds per update period
    int updateRate = 60;              // updates a second
    int subSteps = 1;
    double frameTime = 1.0 / 60.0;    // the time of the current step
    double gameTime = 0;              // seconds of game time so far
    uint64_t updateCount = 0;
    uint64_t drawCount = 0;
    bool paused = false;
    bool holdDrawing = false;

    int screenWidth = 1280, screenHeight = 720;
    int halfScreenWidth = 640, halfScreenHeight = 360;
    int windowWidth = 1280, windowHeight = 720;
    bool fullScreen = false, borderlessFullScreen = false;

    int firstPlayerDevice = 0;   // 0 keyboard and mouse, 1 controller, 2 touch
    int lastKey = -1;            // SDL scan code of the last key pressed, -1 none
    int lastKeyIdx2 = -1, lastKeyIdx3 = -1;
    float mouseX = 0, mouseY = 0;

    uint64_t steamId = 0;
    std::string playerName;
    int64_t serverUnixTime = 0;

    bool webServiceOff = false;   // set by "-SteamBoards" and by the online client
    bool analyticsOff = false;    // set by "-NoGoogle"

    // Hooks filled by later parts.
    std::function<bool(const std::string& name, const Cbytes& data)> cloudSave;
    // CLOUD_READ hands over the bytes as stored (the caller checks them);
    // CLOUD_UNREADABLE is a copy that is there but could not be read.
    std::function<EcloudRead(const std::string& name, Cbytes& data)> cloudLoad;
    std::function<void(const std::string&)> onCodeWarning;
    std::function<void()> updateHooks;   // engine members' updates, in order
    // Loaders call loadStep() once per item loaded; the loading screen sets
    // the hook to count the step and keep the window drawn.
    std::function<void()> onLoadStep;
    void loadStep() {
        if (onLoadStep) onLoadStep();
    }

    void setPaused(bool p);
    void setScreenSize(int w, int h);

private:
    CstringTable tables_[3];
    std::mutex taskMutex_;
    mutable std::mutex taskListMutex_;
    std::vector<CthreadTask*> tasks_;
    SDL_threadID mainThread_ = 0;
    volatile bool fatalPending_ = false;
    void raiseFatalV(const char* fmt, va_list args);
};

extern Cengine* gEngine;

// Finds the save folder: $ZORBEX_SAVE_DIR, else <Documents>/QuillmarshGames/<name>/.
std::string defaultSaveFolder(const std::string& gameNameNoBlanks);
std::string findDataRoot(const char* argv0);
