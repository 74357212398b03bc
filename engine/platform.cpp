#include <GL/glew.h>
// GLEW first: it must come before any other GL header.
#include "engine/platform.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <malloc.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "engine/bString.h"
#include "engine/engine.h"
#include "engine/windowPlacement.h"

extern char** environ;

namespace {
volatile sig_atomic_t gSignalQuit = 0;

void onQuitSignal(int) { gSignalQuit = 1; }

bool isHeadlessDriver(const char* driver) {
    return !driver || strcmp(driver, "dummy") == 0 || strcmp(driver, "offscreen") == 0;
}

// A busy X server can drop a connection that arrives just as another closes,
// and SDL then calls its video driver unavailable; a moment later the same
// display answers. So a failed start is tried again, briefly, before it counts.
int initSdlSubsystems(Uint32 flags) {
    int rc = SDL_InitSubSystem(flags);
    for (int pauseMs = 100; rc != 0 && pauseMs <= 400; pauseMs *= 2) {
        if (gEngine) gEngine->log.print(LOG_L, "SDL didn't start (%s): trying again", SDL_GetError());
        SDL_Delay(pauseMs);
        rc = SDL_InitSubSystem(flags);
    }
    return rc;
}
}  // namespace

Cplatform::~Cplatform() { shutDown(); }

bool Cplatform::checkDisplay(std::string& why) {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked) return true;
    const char* x11 = getenv("DISPLAY");
    const char* wayland = getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        why = "no display found: start the game from a desktop session (DISPLAY and WAYLAND_DISPLAY are not set)";
        return false;
    }
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (initSdlSubsystems(SDL_INIT_VIDEO) != 0) {
        why = std::string("no display could be opened (") + SDL_GetError() + ")";
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    bool headless = isHeadlessDriver(driver);
    if (headless) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        why = "no display found: start the game from a desktop session (the display named by DISPLAY or "
              "WAYLAND_DISPLAY does not answer)";
        return false;
    }
    return true;
}

bool Cplatform::startUp() {
    if (started_) return true;
    // Our own handlers turn SIGINT and SIGTERM into a quit request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (initSdlSubsystems(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER | SDL_INIT_JOYSTICK) != 0) {
        gEngine->log.print(LOG_E, "Can't start SDL: %s", SDL_GetError());
        return false;
    }
    started_ = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    headless_ = isHeadlessDriver(driver);
    // SDL drops pad input while no window has focus; headless, none ever does.
    if (headless_) SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    gEngine->log.print(LOG_L, "SDL started, video driver %s%s", driver ? driver : "none",
                       headless_ ? " (headless)" : "");
    return true;
}

void Cplatform::shutDown() {
    closeWindow();
    if (arrowCursor_) {
        SDL_FreeCursor(arrowCursor_);
        arrowCursor_ = nullptr;
    }
    if (started_) {
        SDL_Quit();
        started_ = false;
    }
}

void Cplatform::installSignalHandlers() {
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

namespace {
constexpr size_t kTrimThreshold = 64u << 20;
// Above what the driver takes and gives back each frame (a 2 MiB vertex
// batch), at most a grown atlas page (2048 x 512): a page that grows gives
// its old storage back to the kernel instead of leaving a hole in the heap.
constexpr size_t kMmapThreshold = 4u << 20;
}  // namespace

void Cplatform::keepFreedMemory() {
    // Setting either value also stops glibc moving them on its own.
    mallopt(M_TRIM_THRESHOLD, (int)kTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, (int)kMmapThreshold);
}

void Cplatform::trimHeap() { malloc_trim(0); }

// ---- displays ----

int Cplatform::displayCount() const {
    int n = started_ ? SDL_GetNumVideoDisplays() : 0;
    return n > 0 ? n : 0;
}

Cdisplay Cplatform::display(int index) const {
    Cdisplay d;
    d.index = index;
    if (index < 0 || index >= displayCount()) return d;
    const char* name = SDL_GetDisplayName(index);
    d.name = name ? name : "";
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(index, &m) == 0) d.native = {m.w, m.h, m.refresh_rate};
    if (d.native.width > 0) d.modes.push_back(d.native);
    std::vector<CdisplayMode> others;
    int count = SDL_GetNumDisplayModes(index);
    for (int i = 0; i < count; ++i) {
        if (SDL_GetDisplayMode(index, i, &m) != 0) continue;
        CdisplayMode mode{m.w, m.h, m.refresh_rate};
        if (std::find(d.modes.begin(), d.modes.end(), mode) != d.modes.end()) continue;
        if (std::find(others.begin(), others.end(), mode) != others.end()) continue;
        others.push_back(mode);
    }
    std::sort(others.begin(), others.end(), [](const CdisplayMode& a, const CdisplayMode& b) {
        return a.width != b.width ? a.width > b.width : a.height > b.height;
    });
    d.modes.insert(d.modes.end(), others.begin(), others.end());
    d.fullScreenNativeOnly = d.modes.size() <= 1;
    return d;
}

std::vector<Cdisplay> Cplatform::displays() const {
    std::vector<Cdisplay> all;
    for (int i = 0; i < displayCount(); ++i) all.push_back(display(i));
    return all;
}

// ---- window ----

bool Cplatform::openWindow(const CwindowRequest& request) {
    if (!started_) {
        gEngine->log.print(LOG_E, "Can't open the window: SDL not started");
        return false;
    }
    closeWindow();
    int d = request.display;
    if (d < 0 || d >= displayCount()) {
        gEngine->log.print(LOG_L, "Display %d not found, using display 0", d);
        d = 0;
    }
    int mode = request.mode;
    if (mode < WINDOW_WINDOWED || mode > WINDOW_BORDERLESS) mode = WINDOW_WINDOWED;
    int w = request.width > 0 ? request.width : 1280;
    int h = request.height > 0 ? request.height : 720;

    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (!headless_) {
        flags |= SDL_WINDOW_OPENGL;
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    }
    if (mode == WINDOW_FULLSCREEN) flags |= SDL_WINDOW_FULLSCREEN;
    if (mode == WINDOW_BORDERLESS) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;

    SDL_DisplayMode fullScreenMode{};
    if (mode == WINDOW_FULLSCREEN) {
        SDL_DisplayMode want{};
        want.w = w;
        want.h = h;
        if (SDL_GetClosestDisplayMode(d, &want, &fullScreenMode)) {
            w = fullScreenMode.w;
            h = fullScreenMode.h;
        } else {
            fullScreenMode.w = 0;
        }
    }
    // Headless there is no desktop to fit: the window keeps the stored size.
    CwindowRect place{0, 0, w, h};
    if (!headless_) {
        SDL_Rect b{}, u{};
        CwindowRect desktop, usable;
        if (SDL_GetDisplayBounds(d, &b) == 0) desktop = {b.x, b.y, b.w, b.h};
        if (SDL_GetDisplayUsableBounds(d, &u) == 0) usable = {u.x, u.y, u.w, u.h};
        place = placeWindow(mode, w, h, desktop, usable);
        if (mode == WINDOW_WINDOWED && (place.w != w || place.h != h))
            gEngine->log.print(LOG_L, "Window %d x %d does not fit the desktop: %d x %d", w, h, place.w, place.h);
    }
    // A window is centred by SDL, which allows for its frame; the borderless
    // window is put on the display's corner at the desktop's size itself.
    const bool atCorner = mode == WINDOW_BORDERLESS && !headless_;
    std::string title = gEngine->gameName;
    window_ = SDL_CreateWindow(title.c_str(), atCorner ? place.x : (int)SDL_WINDOWPOS_CENTERED_DISPLAY(d),
                               atCorner ? place.y : (int)SDL_WINDOWPOS_CENTERED_DISPLAY(d), place.w, place.h, flags);
    if (!window_) {
        gEngine->log.print(LOG_E, "Can't create the window: %s", SDL_GetError());
        return false;
    }
    if (fullScreenMode.w > 0) SDL_SetWindowDisplayMode(window_, &fullScreenMode);
    windowMode_ = mode;
    displayInUse_ = d;
    if (!headless_ && !createGlContext()) {
        closeWindow();
        return false;
    }
    int ww = 0, wh = 0;
    getWindowSize(ww, wh);
    gEngine->windowWidth = ww;
    gEngine->windowHeight = wh;
    gEngine->fullScreen = mode == WINDOW_FULLSCREEN;
    gEngine->borderlessFullScreen = mode == WINDOW_BORDERLESS;
    gEngine->log.print(LOG_L, "Window %d x %d on display %d, mode %d", ww, wh, d, mode);
    return true;
}

bool Cplatform::createGlContext() {
    glContext_ = SDL_GL_CreateContext(window_);
    if (!glContext_) {
        gEngine->log.print(LOG_E, "Can't create an OpenGL 3.3 context: %s", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window_, glContext_);
    glewExperimental = GL_TRUE;
    GLenum err = glewInit();
    if (err != GLEW_OK) {
        gEngine->log.print(LOG_E, "Can't load OpenGL: %s", (const char*)glewGetErrorString(err));
        SDL_GL_DeleteContext(glContext_);
        glContext_ = nullptr;
        return false;
    }
    // GLEW asks for the extension string the old way, which a core context
    // answers with an error; drop it.
    while (glGetError() != GL_NO_ERROR) {
    }
    if (SDL_GL_SetSwapInterval(1) != 0) SDL_GL_SetSwapInterval(0);
    const char* version = (const char*)glGetString(GL_VERSION);
    const char* renderer = (const char*)glGetString(GL_RENDERER);
    gEngine->log.print(LOG_L, "OpenGL %s - %s", version ? version : "?", renderer ? renderer : "?");
    return true;
}

void Cplatform::closeWindow() {
    if (glContext_) {
        SDL_GL_DeleteContext(glContext_);
        glContext_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
}

void Cplatform::setWindowSize(int w, int h) {
    if (window_ && w > 0 && h > 0) SDL_SetWindowSize(window_, w, h);
}

void Cplatform::getWindowSize(int& w, int& h) const {
    w = h = 0;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
}

void Cplatform::setWindowPosition(int x, int y) {
    if (window_) SDL_SetWindowPosition(window_, x, y);
}

void Cplatform::setBordered(bool bordered) {
    if (window_) SDL_SetWindowBordered(window_, bordered ? SDL_TRUE : SDL_FALSE);
}

void Cplatform::minimise() {
    if (window_) SDL_MinimizeWindow(window_);
}

void Cplatform::restore() {
    if (window_) SDL_RestoreWindow(window_);
}

void Cplatform::maximise() {
    if (window_) SDL_MaximizeWindow(window_);
}

void Cplatform::raise() {
    if (window_) SDL_RaiseWindow(window_);
}

// ---- cursor ----

void Cplatform::showCursor(bool show) {
    cursorShown_ = show;
    if (started_) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void Cplatform::makeArrowCursor() {
    if (started_ && !arrowCursor_) arrowCursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
}

void Cplatform::setArrowCursor() {
    makeArrowCursor();
    if (arrowCursor_) SDL_SetCursor(arrowCursor_);
}

// ---- frame ----

void Cplatform::clear() {
    if (!glContext_) return;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    glViewport(0, 0, w, h);
    glClearColor(clearColour.r, clearColour.g, clearColour.b, clearColour.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Cplatform::swapWindow() {
    ++swaps_;
    if (glContext_) SDL_GL_SwapWindow(window_);
}

// ---- events ----

void Cplatform::pollEvents() {
    if (!started_) return;
    // An event the input is not ready for stays queued, and all after it, so
    // that each press of a quick run (a slow frame, a script) counts.
    SDL_PumpEvents();
    SDL_Event e;
    while (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        if (eventMustWait && eventMustWait(e)) break;
        if (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) break;
        switch (e.type) {
        case SDL_QUIT: quitRequested_ = true; break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                quitRequested_ = true;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                gEngine->windowWidth = e.window.data1;
                gEngine->windowHeight = e.window.data2;
                if (onWindowResized) onWindowResized(e.window.data1, e.window.data2);
            }
            break;
        default:
            if (eventSink) eventSink(e);
            break;
        }
    }
}

bool Cplatform::quitRequested() const { return quitRequested_ || gSignalQuit; }

void Cplatform::clearQuitRequest() {
    quitRequested_ = false;
    gSignalQuit = 0;
}

// ---- desktop services ----

bool Cplatform::checkInternet() {
    CURL* curl = curl_easy_init();
    if (!curl) return false;
    char url[512];
    snprintf(url, sizeof url, "http://%s:%d/", checkHost.c_str(), checkPort);
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, checkTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, checkTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    CURLcode rc = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (rc != CURLE_OK) gEngine->log.print(LOG_L, "Internet check failed: %s", curl_easy_strerror(rc));
    return rc == CURLE_OK;
}

bool Cplatform::openUrl(const std::string& url) {
    std::string lower = toLowerAscii(url.substr(0, 8));
    bool allowed = lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0 || lower.rfind("mailto:", 0) == 0;
    if (!allowed) {
        gEngine->log.print(LOG_L, "Refused to open address: %s", url.c_str());
        return false;
    }
    if (SDL_OpenURL(url.c_str()) != 0) {
        gEngine->log.print(LOG_L, "Can't open address %s: %s", url.c_str(), SDL_GetError());
        return false;
    }
    return true;
}

bool Cplatform::runProgram(const std::vector<std::string>& args, std::string& output) {
    output.clear();
    if (args.empty()) return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        if (gEngine) gEngine->log.print(LOG_L, "Can't start %s: %s", args[0].c_str(), strerror(rc));
        return false;
    }
    char buf[4096];
    for (;;) {
        ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0) {
            if (output.size() < 65536) output.append(buf, (size_t)n);
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

namespace {
// The chosen path: the program's first output line.
std::string firstLine(const std::string& out) {
    std::string s = out.substr(0, out.find('\n'));
    if (!s.empty() && s.back() == '\r') s.pop_back();
    return s;
}
}  // namespace

std::string Cplatform::pickFolderDialog() {
    std::string out;
    if (!runProgram({dialogProgram, "--file-selection", "--directory", "--title=" + gEngine->gameName}, out)) return {};
    return firstLine(out);
}

std::string Cplatform::openPngFileDialog() {
    std::string out;
    if (!runProgram({dialogProgram, "--file-selection", "--title=" + gEngine->gameName,
                     "--file-filter=PNG images | *.png *.PNG"},
                    out))
        return {};
    return firstLine(out);
}
