#pragma once
// Cplatform: SDL start-up, the window with its OpenGL 3.3 core context, the
// displays and their modes, the event pump and the desktop's services (the
// browser, file dialogs, the connection check).
//
// Headless (SDL's dummy or offscreen video driver) the window has no GL
// context and nothing is drawn; everything else works.
#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/maths.h"

struct CdisplayMode {
    int width = 0, height = 0, refresh = 0;
    bool operator==(const CdisplayMode& o) const { return width == o.width && height == o.height; }
};

struct Cdisplay {
    int index = 0;
    std::string name;
    CdisplayMode native;               // the desktop's mode
    std::vector<CdisplayMode> modes;   // native first, then by size, one per size
    // Set when the display offers no other size: full screen then only runs
    // at the native resolution.
    bool fullScreenNativeOnly = false;
};

enum EwindowMode { WINDOW_WINDOWED = 0, WINDOW_FULLSCREEN = 1, WINDOW_BORDERLESS = 2 };

struct CwindowRequest {
    int display = 0;
    int width = 1280, height = 720;
    int mode = WINDOW_WINDOWED;
};

class Cplatform {
public:
    Cplatform() = default;
    ~Cplatform();
    Cplatform(const Cplatform&) = delete;
    Cplatform& operator=(const Cplatform&) = delete;

    // SDL with video, events, timer and joysticks. False with a log line.
    bool startUp();
    void shutDown();
    bool started() const { return started_; }
    bool headless() const { return headless_; }

    // Whether the game has a display to show itself on. SDL falls back to a
    // headless driver when no display answers; that counts only when it was
    // asked for (SDL_VIDEODRIVER, as the tests do). Otherwise false, with why.
    // A display that answers stays open for startUp, which would otherwise
    // connect to it a second time.
    static bool checkDisplay(std::string& why);

    // SIGTERM and SIGINT ask the game to quit (checked by pollEvents).
    static void installSignalHandlers();
    // Memory freed within a frame stays with the process for the next one:
    // the GL driver frees and takes back megabytes every frame, and glibc
    // would hand them to the kernel and ask again each time.
    static void keepFreedMemory();
    // Hands the heap's free pages back to the kernel once, after loading:
    // what start-up took and let go of would otherwise stay resident.
    static void trimHeap();

    // Displays and their modes.
    int displayCount() const;
    std::vector<Cdisplay> displays() const;
    Cdisplay display(int index) const;

    // Opens the window on the chosen display (an unknown display falls back
    // to the first) and, unless headless, its GL context with GLEW loaded.
    bool openWindow(const CwindowRequest& request);
    void closeWindow();
    SDL_Window* window() const { return window_; }
    bool hasGl() const { return glContext_ != nullptr; }
    int windowMode() const { return windowMode_; }
    int displayInUse() const { return displayInUse_; }

    // Window operations.
    void setWindowSize(int w, int h);
    void getWindowSize(int& w, int& h) const;
    void setWindowPosition(int x, int y);
    void setBordered(bool bordered);
    void minimise();
    void restore();
    void maximise();
    void raise();

    // Cursor.
    void showCursor(bool show);
    void setArrowCursor();
    // Makes the arrow without setting it: the making loads the X cursor
    // library, which then does not wait behind libraries loading on a thread.
    void makeArrowCursor();
    bool cursorShown() const { return cursorShown_; }

    // Drawing seam: clears to the clear colour, then swaps after the frame.
    Ccolour clearColour{0.04f, 0.06f, 0.16f, 1.0f};
    void clear();
    void swapWindow();
    uint64_t swapCount() const { return swaps_; }

    // Pumps SDL's events: window events are handled here, the rest go to
    // the event sink (the input). A closed window, SDL_QUIT or a signal
    // marks a quit request. From the first event eventMustWait holds back,
    // the queue is left for a later call.
    void pollEvents();
    std::function<void(const SDL_Event&)> eventSink;
    std::function<bool(const SDL_Event&)> eventMustWait;
    std::function<void(int w, int h)> onWindowResized;
    bool quitRequested() const;
    void clearQuitRequest();
    void requestQuit() { quitRequested_ = true; }

    // A short TCP connect to the service host; false when unreachable.
    bool checkInternet();
    std::string checkHost = "quillmarshgames.com";
    int checkPort = 80;
    long checkTimeoutMs = 3000;

    // Opens an http, https or mailto address in the user's browser.
    bool openUrl(const std::string& url);

    // The desktop's own dialogs; they block until closed. Empty when nothing
    // was chosen or the dialog program is missing.
    std::string pickFolderDialog();
    std::string openPngFileDialog();
    std::string dialogProgram = "zenity";
    // Runs a program (no shell) and collects its standard output. False when
    // it could not start or did not exit with 0.
    static bool runProgram(const std::vector<std::string>& argv, std::string& output);

private:
    bool createGlContext();
    bool started_ = false;
    bool headless_ = false;
    SDL_Window* window_ = nullptr;
    SDL_GLContext glContext_ = nullptr;
    SDL_Cursor* arrowCursor_ = nullptr;
    int windowMode_ = WINDOW_WINDOWED;
    int displayInUse_ = 0;
    bool cursorShown_ = true;
    bool quitRequested_ = false;
    uint64_t swaps_ = 0;
};
