#include "engine/log.h"

#include <SDL.h>

#include <cmath>

Clog::Clog() = default;
Clog::~Clog() { close(); }

bool Clog::open(const std::string& path, const std::string& versionLine) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (file_) fclose(file_);
    file_ = fopen(path.c_str(), "wb");
    if (!file_) return false;
    fprintf(file_, "Release Build\n%s\n", versionLine.c_str());
    fflush(file_);
    return true;
}

void Clog::close() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (file_) {
        fclose(file_);
        file_ = nullptr;
    }
}

const char* Clog::levelTag(int level) {
    switch (level) {
    case 0: return "A";
    case 1: return "L";
    case 2: return "V";
    case 3: return "T";
    case 4: return "E";
    case 5: return "DB";
    default: return "**UNKNOWN";
    }
}

std::string Clog::timeText(double seconds) {
    if (!(seconds >= 0.0)) seconds = 0.0;
    long long tenthsTotal = (long long)std::floor(seconds * 10.0);
    long long whole = tenthsTotal / 10;
    int tenths = (int)(tenthsTotal % 10);
    char buf[64];
    if (whole >= 3600)
        snprintf(buf, sizeof buf, "%02dh %02dm %02ds.%01d0", (int)(whole / 3600), (int)((whole / 60) % 60),
                 (int)(whole % 60), tenths);
    else
        snprintf(buf, sizeof buf, "%02d:%02d.%01d0", (int)(whole / 60), (int)(whole % 60), tenths);
    return buf;
}

void Clog::print(int level, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vprint(level, fmt, args);
    va_end(args);
}

std::string vformat(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize((size_t)n + 1);
        vsnprintf(out.data(), out.size(), fmt, args);
        out.resize((size_t)n);
    }
    return out;
}

void Clog::vprint(int level, const char* fmt, va_list args) { write(level, vformat(fmt, args)); }

void Clog::debugPrint(const char* fmt, ...) {
    if (!debugOutput) return;
    va_list args;
    va_start(args, fmt);
    vprint(LOG_DB, fmt, args);
    va_end(args);
}

void Clog::write(int level, const std::string& text) {
    double t = timeSource ? timeSource() : 0.0;
    std::string line = std::string(levelTag(level)) + " " + timeText(t) + " : " + text;
    bool callHook = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        lastLine_ = text;
        if (recent_.size() >= recentMax_) recent_.erase(recent_.begin(), recent_.begin() + recentMax_ / 4);
        recent_.push_back({level, text, line});
        if (file_) {
            fputs(line.c_str(), file_);
            fputc('\n', file_);
            fflush(file_);
        }
        if (level == LOG_E && errorHook && !inErrorHook_) {
            inErrorHook_ = true;
            callHook = true;
        }
    }
    if (echoToSdl) SDL_Log("%s", line.c_str());
    if (callHook) {
        // A failure inside the hook may log again; the guard stops recursion.
        errorHook(text);
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        inErrorHook_ = false;
    }
}

std::string Clog::lastLine() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return lastLine_;
}

std::vector<ClogLine> Clog::recentLines() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return recent_;
}

bool Clog::contains(const std::string& text) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const auto& l : recent_)
        if (l.text == text) return true;
    return false;
}

bool Clog::containsPart(const std::string& part) const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const auto& l : recent_)
        if (l.text.find(part) != std::string::npos) return true;
    return false;
}

void Clog::clearRecent() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    recent_.clear();
}
