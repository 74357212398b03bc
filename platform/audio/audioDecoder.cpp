#include "platform/audio/audioDecoder.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/audio/decoderLibs.h"

namespace {
std::string lowerAscii(std::string s) {
    for (auto& c : s) c = (char)tolower((unsigned char)c);
    return s;
}

bool validUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = (unsigned char)s[i];
        int n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (n < 0 || i + (size_t)n >= s.size()) return false;
        for (int k = 1; k <= n; ++k)
            if (((unsigned char)s[i + k] >> 6) != 2) return false;
        i += (size_t)n + 1;
    }
    return true;
}

// Stations often send Latin-1; everything inside the program is UTF-8.
std::string toUtf8(const std::string& s) {
    if (validUtf8(s)) return s;
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out.push_back((char)c);
        } else {
            out.push_back((char)(0xC0 | (c >> 6)));
            out.push_back((char)(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos) return {};
    size_t b = s.find_last_not_of(" \t\r\n");
    return s.substr(a, b - a + 1);
}

bool looksLikePlaylist(const std::string& url) {
    std::string u = lowerAscii(url);
    size_t q = u.find('?');
    std::string path = q == std::string::npos ? u : u.substr(0, q);
    auto ends = [&](const char* e) {
        size_t n = strlen(e);
        return path.size() >= n && path.compare(path.size() - n, n, e) == 0;
    };
    return ends(".pls") || ends(".m3u");
}

// A header can claim any rate or channel count; the resampler's tables grow with
// the ratio to the output rate (a claimed 579 MHz asks for 1.7 GB and seconds of
// set-up), and a tiny claimed rate multiplies every frame's output (1 Hz makes
// each sample 44,100). Real recordings stay far inside these.
constexpr int kMinInputRate = 4000;
constexpr int kMaxInputRate = 768000;
constexpr int kMaxInputChannels = 64;

bool plausibleFormat(int rate, int channels) {
    return rate >= kMinInputRate && rate <= kMaxInputRate && channels > 0 && channels <= kMaxInputChannels;
}

std::string formatText(int rate, int channels) {
    return std::to_string(rate) + " Hz, " + std::to_string(channels) + " channels";
}

// FFmpeg's functions; the libraries are open once open() has succeeded.
const CdecoderLibs& ff() { return decoderLibs(); }

std::string headerValue(const std::string& headers, const char* name) {
    std::string lower = lowerAscii(headers), key = lowerAscii(name) + ":";
    size_t p = lower.find(key);
    if (p == std::string::npos) return {};
    p += key.size();
    size_t e = headers.find_first_of("\r\n", p);
    return trim(headers.substr(p, e == std::string::npos ? std::string::npos : e - p));
}
}  // namespace

CaudioDecoder::CaudioDecoder() = default;
CaudioDecoder::~CaudioDecoder() { close(); }

bool CaudioDecoder::isUrl(const std::string& s) {
    std::string l = lowerAscii(s.substr(0, 8));
    return l.rfind("http://", 0) == 0 || l.rfind("https://", 0) == 0;
}

std::string CaudioDecoder::parsePlaylist(const std::string& text) {
    std::string lower = lowerAscii(text);
    size_t start = 0;
    if (lower.find("[playlist]") != std::string::npos) {
        // The lowest-numbered FileN= entry.
        long bestN = -1;
        std::string best;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = trim(text.substr(start, end - start));
            start = end + 1;
            std::string l = lowerAscii(line);
            if (l.rfind("file", 0) != 0) continue;
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            long n = strtol(line.c_str() + 4, nullptr, 10);
            std::string url = trim(line.substr(eq + 1));
            if (url.find("://") == std::string::npos) continue;
            if (bestN < 0 || n < bestN) {
                bestN = n;
                best = url;
            }
        }
        return best;
    }
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line.find("://") != std::string::npos) return line;
    }
    return {};
}

std::string CaudioDecoder::parseIcyTitle(const std::string& block) {
    const std::string key = "StreamTitle='";
    size_t p = block.find(key);
    if (p == std::string::npos) return {};
    p += key.size();
    size_t e = block.find("';", p);
    if (e == std::string::npos) e = block.rfind('\'');
    if (e == std::string::npos || e < p) e = block.size();
    std::string t = block.substr(p, e - p);
    t.erase(std::find(t.begin(), t.end(), '\0'), t.end());
    return toUtf8(trim(t));
}

int CaudioDecoder::interruptCallback(void* self) {
    auto* d = (CaudioDecoder*)self;
    if (d->opt_.cancel && d->opt_.cancel()) return 1;
    if (d->deadlineUs_ && ff().av_gettime_relative() > d->deadlineUs_) return 1;
    return 0;
}

void CaudioDecoder::armDeadline(int ms) { deadlineUs_ = network_ && ms > 0 ? ff().av_gettime_relative() + (int64_t)ms * 1000 : 0; }

bool CaudioDecoder::fail(const std::string& what, int code) {
    error_ = what;
    if (opt_.cancel && opt_.cancel()) {
        error_ += ": cancelled";
    } else if (code == AVERROR_EXIT || (deadlineUs_ && ff().av_gettime_relative() > deadlineUs_)) {
        error_ += ": timed out";
    } else if (code) {
        char buf[128];
        ff().av_strerror(code, buf, sizeof buf);
        error_ += ": ";
        error_ += buf;
    }
    return false;
}

bool CaudioDecoder::fetchText(const std::string& url, std::string& out) {
    AVIOInterruptCB cb{interruptCallback, this};
    AVDictionary* dict = nullptr;
    ff().av_dict_set(&dict, "user_agent", "Zorbex", 0);
    ff().av_dict_set_int(&dict, "rw_timeout", (int64_t)opt_.connectTimeoutMs * 1000, 0);
    AVIOContext* pb = nullptr;
    armDeadline(opt_.connectTimeoutMs);
    int r = ff().avio_open2(&pb, url.c_str(), AVIO_FLAG_READ, &cb, &dict);
    ff().av_dict_free(&dict);
    if (r < 0) return fail("playlist " + url, r);
    out.clear();
    char buf[4096];
    while (out.size() < 65536) {
        int n = ff().avio_read(pb, (unsigned char*)buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, (size_t)n);
    }
    ff().avio_closep(&pb);
    return true;
}

bool CaudioDecoder::open(const std::string& pathOrUrl, const Coptions& options) {
    close();
    opt_ = options;
    network_ = isUrl(pathOrUrl);
    resolved_ = pathOrUrl;
    error_.clear();
    if (!ff().ok) return fail("no audio decoding: " + ff().error);
    if (network_ && looksLikePlaylist(pathOrUrl)) {
        std::string text;
        if (!fetchText(pathOrUrl, text)) return false;
        resolved_ = parsePlaylist(text);
        if (resolved_.empty()) return fail("no stream in playlist " + pathOrUrl);
    }

    fmt_ = ff().avformat_alloc_context();
    if (!fmt_) return fail("out of memory");
    fmt_->interrupt_callback = AVIOInterruptCB{interruptCallback, this};
    AVDictionary* dict = nullptr;
    if (network_) {
        ff().av_dict_set(&dict, "icy", "1", 0);
        ff().av_dict_set(&dict, "user_agent", "Zorbex", 0);
        ff().av_dict_set_int(&dict, "rw_timeout", (int64_t)opt_.readTimeoutMs * 1000, 0);
        ff().av_dict_set(&dict, "probesize", "65536", 0);
        ff().av_dict_set(&dict, "analyzeduration", "2000000", 0);
    }
    armDeadline(opt_.connectTimeoutMs);
    int r = ff().avformat_open_input(&fmt_, resolved_.c_str(), nullptr, &dict);
    ff().av_dict_free(&dict);
    if (r < 0) {
        fmt_ = nullptr;   // freed by FFmpeg
        return fail("open " + resolved_, r);
    }
    r = ff().avformat_find_stream_info(fmt_, nullptr);
    if (r < 0) {
        fail("stream info " + resolved_, r);
        close();
        return false;
    }
    const AVCodec* dec = nullptr;
    streamIndex_ = ff().av_find_best_stream(fmt_, AVMEDIA_TYPE_AUDIO, -1, -1, &dec, 0);
    if (streamIndex_ < 0 || !dec) {
        fail("no audio in " + resolved_);
        close();
        return false;
    }
    codec_ = ff().avcodec_alloc_context3(dec);
    if (!codec_ || ff().avcodec_parameters_to_context(codec_, fmt_->streams[streamIndex_]->codecpar) < 0 ||
        (r = ff().avcodec_open2(codec_, dec, nullptr)) < 0) {
        fail("decoder " + resolved_, r);
        close();
        return false;
    }
    codecName_ = dec->name;
    inputRate_ = codec_->sample_rate;
    inputChannels_ = codec_->ch_layout.nb_channels;
    // Zero is not known yet: some decoders learn it from the first frame, and convertFrame checks that.
    if (!plausibleFormat(inputRate_ ? inputRate_ : kMinInputRate, inputChannels_ ? inputChannels_ : 1)) {
        fail("unsupported format " + formatText(inputRate_, inputChannels_) + " in " + resolved_);
        close();
        return false;
    }
    if (!network_ && fmt_->duration != AV_NOPTS_VALUE && fmt_->duration > 0) duration_ = (double)fmt_->duration / AV_TIME_BASE;
    pkt_ = ff().av_packet_alloc();
    frame_ = ff().av_frame_alloc();
    if (!pkt_ || !frame_) {
        fail("out of memory");
        close();
        return false;
    }
    if (network_) pollIcy();
    deadlineUs_ = 0;
    return true;
}

void CaudioDecoder::close() {
    // A decoder never opened has nothing of FFmpeg's to free, and needn't open its libraries.
    if (pkt_) ff().av_packet_free(&pkt_);
    if (frame_) ff().av_frame_free(&frame_);
    if (swr_) ff().swr_free(&swr_);
    if (codec_) ff().avcodec_free_context(&codec_);
    if (fmt_) ff().avformat_close_input(&fmt_);
    fmt_ = nullptr;
    streamIndex_ = -1;
    pending_.clear();
    pendingPos_ = 0;
    inputDone_ = flushed_ = false;
    duration_ = 0;
    swrRate_ = swrFormat_ = swrChannels_ = -1;
    skipToSeconds_ = -1;
}

void CaudioDecoder::pollIcy() {
    if (!fmt_ || !fmt_->pb) return;
    uint8_t* packet = nullptr;
    if (ff().av_opt_get(fmt_->pb, "icy_metadata_packet", AV_OPT_SEARCH_CHILDREN, &packet) >= 0 && packet) {
        std::string raw((const char*)packet);
        ff().av_free(packet);
        std::lock_guard<std::mutex> lock(metaMutex_);
        if (!raw.empty() && raw != icyRaw_) {
            icyRaw_ = raw;
            std::string t = parseIcyTitle(raw);
            if (t != title_) {
                title_ = t;
                ++titleSerial_;
            }
        }
    }
    if (station_.empty() && genre_.empty()) {
        uint8_t* headers = nullptr;
        if (ff().av_opt_get(fmt_->pb, "icy_metadata_headers", AV_OPT_SEARCH_CHILDREN, &headers) >= 0 && headers) {
            std::string h((const char*)headers);
            ff().av_free(headers);
            std::lock_guard<std::mutex> lock(metaMutex_);
            station_ = toUtf8(headerValue(h, "icy-name"));
            genre_ = toUtf8(headerValue(h, "icy-genre"));
        }
    }
}

std::string CaudioDecoder::streamTitle() const {
    std::lock_guard<std::mutex> lock(metaMutex_);
    return title_;
}
uint32_t CaudioDecoder::titleSerial() const {
    std::lock_guard<std::mutex> lock(metaMutex_);
    return titleSerial_;
}
std::string CaudioDecoder::stationName() const {
    std::lock_guard<std::mutex> lock(metaMutex_);
    return station_;
}
std::string CaudioDecoder::stationGenre() const {
    std::lock_guard<std::mutex> lock(metaMutex_);
    return genre_;
}

bool CaudioDecoder::convertFrame() {
    AVChannelLayout inLayout;
    if (frame_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || frame_->ch_layout.nb_channels == 0)
        ff().av_channel_layout_default(&inLayout, frame_->ch_layout.nb_channels > 0 ? frame_->ch_layout.nb_channels
                                                                                : std::max(1, codec_->ch_layout.nb_channels));
    else
        ff().av_channel_layout_copy(&inLayout, &frame_->ch_layout);
    int rate = frame_->sample_rate > 0 ? frame_->sample_rate : codec_->sample_rate;
    if (!plausibleFormat(rate, inLayout.nb_channels)) {
        const int channels = inLayout.nb_channels;
        ff().av_channel_layout_uninit(&inLayout);
        return fail("unsupported format " + formatText(rate, channels) + " in " + resolved_);
    }
    // Radio streams may change format on the way: rebuild the converter then.
    if (!swr_ || rate != swrRate_ || frame_->format != swrFormat_ || inLayout.nb_channels != swrChannels_) {
        ff().swr_free(&swr_);
        AVChannelLayout outLayout;
        ff().av_channel_layout_default(&outLayout, opt_.outChannels);
        int r = ff().swr_alloc_set_opts2(&swr_, &outLayout, AV_SAMPLE_FMT_FLT, opt_.outRate, &inLayout,
                                    (AVSampleFormat)frame_->format, rate, 0, nullptr);
        ff().av_channel_layout_uninit(&outLayout);
        if (r < 0 || ff().swr_init(swr_) < 0) {
            ff().av_channel_layout_uninit(&inLayout);
            ff().swr_free(&swr_);
            return fail("resampler", r);
        }
        swrRate_ = rate;
        swrFormat_ = frame_->format;
        swrChannels_ = inLayout.nb_channels;
    }
    ff().av_channel_layout_uninit(&inLayout);
    int cap = ff().swr_get_out_samples(swr_, frame_->nb_samples);
    if (cap <= 0) return true;
    size_t base = pending_.size();
    pending_.resize(base + (size_t)cap * opt_.outChannels);
    uint8_t* outp = (uint8_t*)(pending_.data() + base);
    int got = ff().swr_convert(swr_, &outp, cap, (const uint8_t**)frame_->extended_data, frame_->nb_samples);
    if (got < 0) {
        pending_.resize(base);
        return fail("convert", got);
    }
    pending_.resize(base + (size_t)got * opt_.outChannels);

    // After a seek, drop what lies before the wanted time.
    if (skipToSeconds_ >= 0 && frame_->best_effort_timestamp != AV_NOPTS_VALUE) {
        AVRational tb = fmt_->streams[streamIndex_]->time_base;
        double start = frame_->best_effort_timestamp * av_q2d(tb);
        double drop = skipToSeconds_ - start;
        size_t dropFrames = drop > 0 ? (size_t)(drop * opt_.outRate) : 0;
        size_t have = (pending_.size() - base) / opt_.outChannels;
        if (dropFrames >= have) {
            pending_.resize(base);
            return true;
        }
        pending_.erase(pending_.begin() + (long)base, pending_.begin() + (long)(base + dropFrames * opt_.outChannels));
        skipToSeconds_ = -1;
    } else {
        skipToSeconds_ = -1;
    }
    return true;
}

bool CaudioDecoder::fillPending() {
    pending_.clear();
    pendingPos_ = 0;
    while (pending_.empty()) {
        if (!codec_) return false;
        int r = ff().avcodec_receive_frame(codec_, frame_);
        if (r == 0) {
            bool ok = convertFrame();
            ff().av_frame_unref(frame_);
            if (!ok) {
                errored_ = true;
                return false;
            }
            continue;
        }
        if (r == AVERROR_EOF) {
            if (flushed_ || !swr_) return false;
            flushed_ = true;
            int cap = ff().swr_get_out_samples(swr_, 0);
            if (cap <= 0) return false;
            pending_.resize((size_t)cap * opt_.outChannels);
            uint8_t* outp = (uint8_t*)pending_.data();
            int got = ff().swr_convert(swr_, &outp, cap, nullptr, 0);
            pending_.resize(got > 0 ? (size_t)got * opt_.outChannels : 0);
            return !pending_.empty();
        }
        if (r != AVERROR(EAGAIN)) {
            errored_ = true;
            return fail("decode", r);
        }
        if (inputDone_) return false;
        armDeadline(opt_.readTimeoutMs);
        r = ff().av_read_frame(fmt_, pkt_);
        if (r < 0) {
            bool cancelled = opt_.cancel && opt_.cancel();
            if (r != AVERROR_EOF && (network_ || cancelled)) {
                errored_ = true;
                return fail("read " + resolved_, r);
            }
            ff().avcodec_send_packet(codec_, nullptr);
            inputDone_ = true;
            continue;
        }
        if (pkt_->stream_index == streamIndex_) {
            int s = ff().avcodec_send_packet(codec_, pkt_);
            (void)s;   // damaged packets are skipped
        }
        ff().av_packet_unref(pkt_);
        if (network_) pollIcy();
    }
    return true;
}

int CaudioDecoder::read(float* out, int maxFrames) {
    if (!fmt_) return -1;
    errored_ = false;
    int written = 0;
    const int ch = opt_.outChannels;
    while (written < maxFrames) {
        size_t avail = (pending_.size() - pendingPos_) / ch;
        if (avail == 0) {
            if (!fillPending()) break;
            continue;
        }
        size_t n = std::min(avail, (size_t)(maxFrames - written));
        memcpy(out + (size_t)written * ch, pending_.data() + pendingPos_, n * ch * sizeof(float));
        pendingPos_ += n * ch;
        written += (int)n;
    }
    deadlineUs_ = 0;
    if (written == 0 && errored_) return -1;
    return written;
}

bool CaudioDecoder::seek(double seconds) {
    if (!fmt_ || network_) return false;
    if (seconds < 0) seconds = 0;
    int r = ff().av_seek_frame(fmt_, -1, (int64_t)(seconds * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD);
    if (r < 0) return fail("seek", r);
    ff().avcodec_flush_buffers(codec_);
    ff().swr_free(&swr_);
    swrRate_ = swrFormat_ = swrChannels_ = -1;
    pending_.clear();
    pendingPos_ = 0;
    inputDone_ = flushed_ = false;
    skipToSeconds_ = seconds;
    return true;
}
