#include "engine/engine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/bString.h"
#include "engine/format.h"
#include "engine/languages.h"
#include "engine/resourceFile.h"
#include "engine/threadTask.h"

Cengine* gEngine = nullptr;

namespace {
// One entry per tenth of a degree, filled before main runs.
struct CtrigTables {
    float sinTable[3600];
    float cosTable[3600];
    CtrigTables() {
        for (int i = 0; i < 3600; ++i) {
            double a = (double)i * 0.1 * M_PI / 180.0;
            sinTable[i] = (float)std::sin(a);
            cosTable[i] = (float)std::cos(a);
        }
    }
};
const CtrigTables gTrig;

inline int tableIndex(float degrees) {
    int i = (int)std::lround(degrees * 10.0f) % 3600;
    return i < 0 ? i + 3600 : i;
}

bool isSeparator(char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == ','; }
}  // namespace

void CcommandLine::parse(const std::string& line) {
    std::string l = toLowerAscii(line);
    linuxSwitch = l.find("-linux") != std::string::npos;
    noGrab = l.find("-nograb") != std::string::npos;
    noScreenShots = l.find("-noscreenshots") != std::string::npos;
    steamBoards = l.find("-steamboards") != std::string::npos;
    noGoogle = l.find("-nogoogle") != std::string::npos;
}

Cengine* Cengine::create() {
    void* mem = std::calloc(1, sizeof(Cengine));
    if (!mem) return nullptr;
    gEngine = new (mem) Cengine();
    return gEngine;
}

void Cengine::destroy() {
    if (!gEngine) return;
    Cengine* e = gEngine;
    e->~Cengine();
    gEngine = nullptr;
    std::free(e);
}

Cengine::Cengine() {
    mainThread_ = SDL_ThreadID();
    log.timeSource = [this] { return gameTime; };
    platform.eventSink = [this](const SDL_Event& e) { input.handleEvent(e); };
    platform.eventMustWait = [this](const SDL_Event& e) { return input.mustWait(e); };
    platform.onWindowResized = [this](int w, int h) { input.setScreenScale(screenWidth, screenHeight, w, h); };
    // Every error line is also reported as an exception hit.
    log.errorHook = [this](const std::string& text) { analytics.sendException(text); };
}

Cengine::~Cengine() {
    // A task still starting or running reaches the engine from its thread:
    // it ends before the engine goes.
    for (CthreadTask* task : runningTasks()) task->join();
    log.close();
    if (gEngine == this) gEngine = nullptr;
}

bool Cengine::isMainThread() const { return SDL_ThreadID() == mainThread_; }

bool Cengine::init(const std::string& commandLine) {
    switches.parse(commandLine);
    webServiceOff = webServiceOff || switches.steamBoards;
    analyticsOff = analyticsOff || switches.noGoogle;
    gameNameNoBlanks.clear();
    for (char c : gameName)
        if (c != ' ') gameNameNoBlanks.push_back(c);

    // Platform check: this build runs on Linux.
    platformText = platformName(kThisPlatform);
    if (switches.linuxSwitch) {
        countryCode = "LX";
    } else {
        // The territory of the locale: "en_GB.UTF-8" gives "GB".
        const char* vars[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
        for (const char* v : vars) {
            const char* loc = getenv(v);
            if (!loc || !*loc) continue;
            const char* us = strchr(loc, '_');
            if (us && isalpha((unsigned char)us[1]) && isalpha((unsigned char)us[2])) {
                countryCode = {(char)toupper(us[1]), (char)toupper(us[2])};
                break;
            }
        }
    }

    if (saveFolder.empty() && !setSaveFolder(defaultSaveFolder(gameNameNoBlanks))) {
        fprintf(stderr, "Can't create the save folder\n");
        return false;
    }
    char versionLine[256];
    snprintf(versionLine, sizeof versionLine, "%s - %s - %s - %s", gameName.c_str(), versionText.c_str(),
             platformText.c_str(), provider.c_str());
    log.open(savePath("debug.txt"), versionLine);

    struct stat st;
    if (::stat(dataRoot.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        log.print(LOG_E, "Can't find the data folder: %s", dataRoot.c_str());
        return false;
    }
    if (!tables_[TABLE_INTERNAL].load("stringsInternal.txt")) return false;
    if (!tables_[TABLE_GAME_SYSTEM].load("stringsGameSystem.txt")) return false;
    if (!setLanguage(0)) return false;
    if (!colours.load("colours.txt")) return false;
    if (!platform.startUp()) return false;
    input.init(switches.noGrab);
    input.setScreenScale(screenWidth, screenHeight, windowWidth, windowHeight);
    if (!ui.init()) return false;
    log.print(LOG_L, "Engine init: %s %s on %s", gameName.c_str(), versionText.c_str(), platformText.c_str());
    return true;
}

bool Cengine::setLanguage(int number) {
    const Clanguage& lang = languageRow(number);
    // English first, so a tag a translation lacks still reads in English.
    if (!tables_[TABLE_LANGUAGE].load("stringsGameEnglish.txt")) return false;
    if (std::string(lang.stringsFile) != "stringsGameEnglish.txt" &&
        !tables_[TABLE_LANGUAGE].load(lang.stringsFile, true))
        log.print(LOG_L, "Language %s: no translation, English stays", lang.tag);
    languageNumber = number >= 0 && number < kLanguageCount ? number : 0;
    fonts.setCjk(lang.cjk);
    setNumberStyle(CnumberStyle::fromTable(tables_[TABLE_LANGUAGE]));
    ui.refreshTexts();
    return true;
}

void Cengine::update() {
    frameTime = updateStep / (double)(subSteps > 0 ? subSteps : 1);
    if (!paused) gameTime += frameTime;
    ++updateCount;
    input.update();
    ui.beginStep(input.uiInput(), (float)frameTime);
    updateRendering((float)frameTime);
    if (updateHooks) updateHooks();
    analytics.update();
    steam.update();   // last of the engine members
}

void Cengine::endFrame() {
    input.endStep();
    if (fatalPending_) fatalError();
}

void Cengine::setPaused(bool p) {
    log.debugPrint("Paused = %d", p ? 1 : 0);
    paused = p;
    particles.paused = p;
}

void Cengine::setScreenSize(int w, int h) {
    screenWidth = w;
    screenHeight = h;
    halfScreenWidth = w / 2;
    halfScreenHeight = h / 2;
}

void Cengine::logFatal(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    raiseFatalV(fmt, args);
    va_end(args);
}

void Cengine::raiseFatal(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    raiseFatalV(fmt, args);
    va_end(args);
}

void Cengine::raiseFatalV(const char* fmt, va_list args) {
    log.vprint(LOG_E, fmt, args);
    if (isMainThread()) fatalError();
    fatalPending_ = true;
}

void Cengine::fatalError() {
    std::string last = log.lastLine();
    log.print(LOG_E, "****************--CRASH--****************");
    const char* driver = SDL_GetCurrentVideoDriver();
    bool haveDisplay = driver && strcmp(driver, "dummy") != 0 && strcmp(driver, "offscreen") != 0;
    if (haveDisplay) SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, gameName.c_str(), last.c_str(), nullptr);
    log.close();
    std::_Exit(1);
}

bool Cengine::readToken(std::string& dest, const char*& cursor) {
    dest.clear();
    if (!cursor) return false;
    const char* p = cursor;
    for (;;) {
        while (*p && isSeparator(*p)) ++p;
        if (*p == ';') {
            while (*p && *p != '\n') ++p;
            continue;
        }
        break;
    }
    if (!*p) {
        cursor = p;
        return false;
    }
    if (*p == '"') {
        const char* start = ++p;
        while (*p && *p != '"') ++p;
        if (!*p) {
            if (gEngine) gEngine->log.print(LOG_L, "Unmatched quote: %s", std::string(start, std::min<size_t>(p - start, 80)).c_str());
            dest.assign(start, p);
            cursor = p;
            return true;
        }
        dest.assign(start, p);
        cursor = p + 1;
        return true;
    }
    const char* start = p;
    while (*p && !isSeparator(*p) && *p != ';' && *p != '"') ++p;
    dest.assign(start, p);
    cursor = p;
    return true;
}

bool Cengine::readBool(const char*& cursor) {
    std::string t;
    if (!readToken(t, cursor)) return false;
    return t == "1" || equalsIgnoreCase(t, "true") || equalsIgnoreCase(t, "yes") || equalsIgnoreCase(t, "on");
}

float Cengine::readFloat(const char*& cursor) {
    std::string t;
    if (!readToken(t, cursor)) return 0.0f;
    return strtof(t.c_str(), nullptr);
}

int Cengine::readInt(const char*& cursor) {
    std::string t;
    if (!readToken(t, cursor)) return 0;
    return (int)strtol(t.c_str(), nullptr, 0);
}

float Cengine::fastSin(float degrees) { return gTrig.sinTable[tableIndex(degrees)]; }
float Cengine::fastCos(float degrees) { return gTrig.cosTable[tableIndex(degrees)]; }

const char* Cengine::platformName(int index) {
    static const char* names[] = {"Windows", "Mac", "Linux", "iOS", "Android"};
    return index >= 0 && index < 5 ? names[index] : "Unknown";
}

const char* Cengine::storeName(int index) {
    static const char* names[] = {"Steam", "Humble", "Itch IO", "GOG", "Android", "iOS"};
    return index >= 0 && index < 6 ? names[index] : "Unknown";
}

bool Cengine::setSaveFolder(const std::string& folder) {
    std::string f = folder;
    if (f.empty()) return false;
    if (f.back() != '/') f += '/';
    if (!makeFolders(f.substr(0, f.size() - 1))) return false;
    saveFolder = f;
    return true;
}

bool Cengine::setDataRoot(const std::string& root) {
    std::string r = root;
    if (r.empty()) return false;
    if (r.back() != '/') r += '/';
    dataRoot = r;
    return true;
}

void Cengine::addTask(CthreadTask* task) {
    std::lock_guard<std::mutex> lock(taskListMutex_);
    if (std::find(tasks_.begin(), tasks_.end(), task) == tasks_.end()) tasks_.push_back(task);
}

void Cengine::removeTask(CthreadTask* task) {
    std::lock_guard<std::mutex> lock(taskListMutex_);
    tasks_.erase(std::remove(tasks_.begin(), tasks_.end(), task), tasks_.end());
}

std::vector<CthreadTask*> Cengine::runningTasks() const {
    std::lock_guard<std::mutex> lock(taskListMutex_);
    return tasks_;
}

bool Cengine::anyTaskRunning() const {
    std::lock_guard<std::mutex> lock(taskListMutex_);
    return !tasks_.empty();
}

std::string defaultSaveFolder(const std::string& gameNameNoBlanks) {
    if (const char* over = getenv("ZORBEX_SAVE_DIR"); over && *over) return over;
    const char* home = getenv("HOME");
    std::string homeDir = home && *home ? home : "/tmp";
    std::string documents = homeDir + "/Documents";
    // The XDG documents folder, as xdg-user-dir reads it.
    const char* cfg = getenv("XDG_CONFIG_HOME");
    std::string dirsFile = (cfg && *cfg ? std::string(cfg) : homeDir + "/.config") + "/user-dirs.dirs";
    Cbytes bytes;
    if (CresourceFile::readWholeFile(dirsFile, bytes)) {
        std::string text(bytes.begin(), bytes.end());
        size_t at = text.find("XDG_DOCUMENTS_DIR=\"");
        if (at != std::string::npos) {
            at += 19;
            size_t end = text.find('"', at);
            if (end != std::string::npos) {
                std::string v = text.substr(at, end - at);
                if (v.rfind("$HOME", 0) == 0) v = homeDir + v.substr(5);
                if (!v.empty() && v[0] == '/' && v != homeDir && v != homeDir + "/") documents = v;
            }
        }
    }
    return documents + "/QuillmarshGames/" + gameNameNoBlanks + "/";
}

std::string findDataRoot(const char* argv0) {
    struct stat st;
    if (const char* over = getenv("ZORBEX_DATA"); over && *over) return std::string(over) + "/";
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string exeDir;
    if (n > 0) {
        exe[n] = 0;
        std::string e = exe;
        exeDir = e.substr(0, e.find_last_of('/'));
    } else if (argv0) {
        std::string a = argv0;
        size_t cut = a.find_last_of('/');
        exeDir = cut == std::string::npos ? "." : a.substr(0, cut);
    }
    if (!exeDir.empty()) {
        std::string beside = exeDir + "/data";
        if (::stat(beside.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return beside + "/";
    }
    return "data/";
}
