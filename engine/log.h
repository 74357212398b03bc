#pragma once
// The one log of the program: a line per call, prefixed with the level tag and
// the game time, echoed to SDL's log and appended to "debug.txt".
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#define ZX_PRINTF(fmtIdx, argIdx) __attribute__((format(printf, fmtIdx, argIdx)))

// printf-style formatting into a string of any length (log lines, CbString, texts drawn).
std::string vformat(const char* fmt, va_list args);

// Control characters and bytes that are not UTF-8 written as \n, \t, \xNN;
// everything else as it is.
std::string escapeForLog(const std::string& text);

enum ElogLevel { LOG_A = 0, LOG_L = 1, LOG_V = 2, LOG_T = 3, LOG_E = 4, LOG_DB = 5 };

struct ClogLine {
    int level = 0;
    std::string text;   // the formatted message alone
    std::string line;   // the whole line as written to the file
};

class Clog {
public:
    Clog();
    ~Clog();

    // Opens (and truncates) the log file and writes its two header lines.
    bool open(const std::string& path, const std::string& versionLine);
    void close();

    void print(int level, const char* fmt, ...) ZX_PRINTF(3, 4);
    void vprint(int level, const char* fmt, va_list args);
    void debugPrint(const char* fmt, ...) ZX_PRINTF(2, 3);

    static const char* levelTag(int level);
    static std::string timeText(double seconds);

    // The last line written, for the fatal-error message box.
    std::string lastLine() const;

    // Recent lines kept in memory (tests read them; the crash report too).
    std::vector<ClogLine> recentLines() const;
    bool contains(const std::string& text) const;   // any recent line's text equals text
    bool containsPart(const std::string& part) const;
    void clearRecent();

    // Game time source for the prefix (seconds); defaults to 0.
    std::function<double()> timeSource;
    // Level-4 lines go to this hook (analytics fills it). Never called re-entrantly.
    std::function<void(const std::string&)> errorHook;

    bool debugOutput = false;
    bool echoToSdl = true;

    // Lines the file could not take yet (a full disk), written ahead of the
    // next line once it can; at most kPendingMax bytes, the oldest go first.
    static constexpr size_t kPendingMax = 1u << 20;
    size_t pendingBytes() const;

    // While held (a burst such as a music walk's slice), lines gather in
    // memory and reach the file and SDL's log together when the last hold
    // ends: one write for the burst, not one a line. An error line, a full
    // buffer and close() write them at once; a fatal signal's handler too.
    void hold();
    void release();
    static constexpr size_t kHeldMax = 64u << 10;
    // For a fatal signal's handler: the held lines to fd, taking no lock and
    // allocating nothing.
    void writeHeldLines(int fd) const;

private:
    void write(int level, const std::string& text);
    // Writes what is pending to the file; true when all of it went.
    bool flushPending();
    // The held lines to the file (through pending_) and to SDL's log.
    void flushHeld();

    int holds_ = 0;
    std::unique_ptr<char[]> held_ = std::make_unique<char[]>(kHeldMax);
    std::atomic<size_t> heldBytes_{0};

    mutable std::recursive_mutex mutex_;
    int fd_ = -1;
    std::string pending_;
    size_t linesLost_ = 0;
    bool writeFailing_ = false;
    bool frontPartial_ = false;   // pending_ starts with the rest of a line begun in the file
    std::string lastLine_;
    std::vector<ClogLine> recent_;
    size_t recentMax_ = 8192;
    bool inErrorHook_ = false;
};

// Holds the log's lines for the length of a scope.
class ClogHold {
public:
    explicit ClogHold(Clog& log) : log_(log) { log_.hold(); }
    ~ClogHold() { log_.release(); }
    ClogHold(const ClogHold&) = delete;
    ClogHold& operator=(const ClogHold&) = delete;

private:
    Clog& log_;
};
