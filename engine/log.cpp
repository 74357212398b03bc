#include "engine/log.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

Clog::Clog() = default;
Clog::~Clog() { close(); }

bool Clog::open(const std::string& path, const std::string& versionLine) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    pending_ = "Release Build\n" + versionLine + "\n";
    flushPending();
    return true;
}

void Clog::close() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (fd_ < 0) return;
    flushHeld();
    if (!flushPending()) fprintf(stderr, "debug.txt: %zu bytes of log lines could not be written\n", pending_.size());
    ::close(fd_);
    fd_ = -1;
    pending_.clear();
    linesLost_ = 0;
    writeFailing_ = false;
    frontPartial_ = false;
}

size_t Clog::pendingBytes() const {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    return pending_.size();
}

bool Clog::flushPending() {
    if (linesLost_ && !writeFailing_) {
        pending_ = "(" + std::to_string(linesLost_) + " log lines lost while the file could not be written)\n" + pending_;
        linesLost_ = 0;
    }
    size_t done = 0;
    while (done < pending_.size()) {
        ssize_t n = ::write(fd_, pending_.data() + done, pending_.size() - done);
        if (n > 0) {
            done += (size_t)n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (!writeFailing_) fprintf(stderr, "debug.txt: can't write (%s); lines are kept until it can\n", strerror(errno));
        writeFailing_ = true;
        break;
    }
    // A partly written line is finished first next time, so lines stay whole.
    if (done) frontPartial_ = pending_[done - 1] != '\n';
    pending_.erase(0, done);
    if (pending_.empty()) {
        writeFailing_ = false;
        frontPartial_ = false;
    }
    // Too much held: the oldest whole lines go, and how many is told later.
    const size_t keep = frontPartial_ ? pending_.find('\n') + 1 : 0;
    while (pending_.size() > kPendingMax) {
        size_t end = pending_.find('\n', keep);
        if (end == std::string::npos) break;
        pending_.erase(keep, end + 1 - keep);
        ++linesLost_;
    }
    return pending_.empty();
}

void Clog::hold() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    ++holds_;
}

void Clog::release() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (holds_ > 0 && --holds_ == 0) flushHeld();
}

void Clog::flushHeld() {
    const size_t n = heldBytes_.load(std::memory_order_relaxed);
    if (!n) return;
    pending_.append(held_.get(), n);
    heldBytes_.store(0, std::memory_order_release);
    // One message for the burst, its lines as in the file.
    if (echoToSdl) SDL_Log("%.*s", (int)(n - 1), held_.get());
    flushPending();
}

void Clog::writeHeldLines(int fd) const {
    const size_t n = heldBytes_.load(std::memory_order_acquire);
    for (size_t done = 0; done < n;) {
        const ssize_t w = ::write(fd, held_.get() + done, n - done);
        if (w > 0) done += (size_t)w;
        else if (w < 0 && errno == EINTR) continue;
        else break;
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
    // By hand: this is on every line, and snprintf costs more than the rest of the line.
    std::string out;
    auto twoDigits = [&out](long long v) {
        if (v < 10) out += '0';
        out += std::to_string(v);
    };
    if (whole >= 3600) {
        twoDigits(whole / 3600);
        out += "h ";
        twoDigits((whole / 60) % 60);
        out += "m ";
        twoDigits(whole % 60);
        out += "s.";
    } else {
        twoDigits(whole / 60);
        out += ':';
        twoDigits(whole % 60);
        out += '.';
    }
    out += (char)('0' + tenths);
    out += '0';
    return out;
}

void Clog::print(int level, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    vprint(level, fmt, args);
    va_end(args);
}

std::string vformat(const char* fmt, va_list args) {
    // Most texts fit the stack buffer: formatted once, not measured first.
    char buf[512];
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(buf, sizeof buf, fmt, copy);
    va_end(copy);
    std::string out;
    if (n > 0 && (size_t)n < sizeof buf) {
        out.assign(buf, (size_t)n);
    } else if (n > 0) {
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

namespace {
// Length of the well-formed UTF-8 sequence at p (at most n bytes), or 0.
size_t utf8Length(const unsigned char* p, size_t n) {
    const unsigned char c = p[0];
    size_t len;
    unsigned lo = 0x80, hi = 0xBF;   // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) len = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;   // no overlong forms
        if (c == 0xED) hi = 0x9F;   // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;   // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (n < len || p[1] < lo || p[1] > hi) return 0;
    for (size_t i = 2; i < len; ++i)
        if ((p[i] & 0xC0) != 0x80) return 0;
    return len;
}
}  // namespace

std::string escapeForLog(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const auto* p = (const unsigned char*)text.data();
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        size_t plain = i;
        while (plain < n && p[plain] >= 0x20 && p[plain] < 0x7F) ++plain;
        if (plain > i) {
            out.append((const char*)p + i, plain - i);
            i = plain;
            continue;
        }
        const unsigned char c = p[i];
        size_t len = c >= 0x80 ? utf8Length(p + i, n - i) : 0;
        if (len) {
            out.append((const char*)p + i, len);
            i += len;
            continue;
        }
        static const char hex[] = "0123456789abcdef";
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
        ++i;
    }
    return out;
}

void Clog::write(int level, const std::string& text) {
    double t = timeSource ? timeSource() : 0.0;
    // Names from files and the network go in as they came: a line break or a
    // stray byte must not forge a line or make the log binary.
    const std::string escaped = escapeForLog(text);
    const std::string time = timeText(t);
    const char* tag = levelTag(level);
    std::string line;
    line.reserve(strlen(tag) + time.size() + escaped.size() + 4);
    line.append(tag).append(" ").append(time).append(" : ").append(escaped);
    bool callHook = false, held = false;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        lastLine_ = text;
        if (recent_.size() >= recentMax_) recent_.erase(recent_.begin(), recent_.begin() + recentMax_ / 4);
        recent_.push_back({level, text, line});
        if (fd_ >= 0 && holds_ > 0 && line.size() < kHeldMax) {
            size_t n = heldBytes_.load(std::memory_order_relaxed);
            if (n + line.size() + 1 > kHeldMax) {
                flushHeld();
                n = 0;
            }
            memcpy(held_.get() + n, line.data(), line.size());
            held_[n + line.size()] = '\n';
            heldBytes_.store(n + line.size() + 1, std::memory_order_release);
            held = true;
            // An error may be the last thing the program says.
            if (level == LOG_E) flushHeld();
        } else if (fd_ >= 0) {
            flushHeld();   // lines stay in order
            pending_ += line;
            pending_ += '\n';
            flushPending();
        }
        if (level == LOG_E && errorHook && !inErrorHook_) {
            inErrorHook_ = true;
            callHook = true;
        }
    }
    if (echoToSdl && !held) SDL_Log("%s", line.c_str());
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
