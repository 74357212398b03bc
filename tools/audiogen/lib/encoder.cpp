#include "tools/audiogen/lib/encoder.h"

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {
std::string lowerExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return {};
    std::string e = path.substr(dot + 1);
    for (auto& c : e) c = (char)tolower((unsigned char)c);
    return e;
}

const char* encoderFor(const std::string& ext) {
    if (ext == "mp3") return "libmp3lame";
    if (ext == "ogg") return "libvorbis";
    if (ext == "opus") return "libopus";
    if (ext == "flac") return "flac";
    if (ext == "m4a" || ext == "aac") return "aac";
    if (ext == "wav") return "pcm_s16le";
    if (ext == "wma") return "wmav2";
    return nullptr;
}

bool fail(std::string* error, const std::string& what, int code = 0) {
    if (error) {
        *error = what;
        if (code) {
            char buf[128];
            av_strerror(code, buf, sizeof buf);
            *error += ": ";
            *error += buf;
        }
    }
    return false;
}

// Everything one encode holds, freed in one place.
struct Cencode {
    AVFormatContext* oc = nullptr;
    AVCodecContext* cc = nullptr;
    SwrContext* swr = nullptr;
    AVAudioFifo* fifo = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* pkt = nullptr;
    bool fileOpen = false;
    ~Cencode() {
        av_packet_free(&pkt);
        av_frame_free(&frame);
        if (fifo) av_audio_fifo_free(fifo);
        swr_free(&swr);
        avcodec_free_context(&cc);
        if (oc) {
            if (fileOpen) avio_closep(&oc->pb);
            avformat_free_context(oc);
        }
    }
};

bool drain(Cencode& e, AVStream* st, std::string* error) {
    for (;;) {
        int r = avcodec_receive_packet(e.cc, e.pkt);
        if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
        if (r < 0) return fail(error, "encode", r);
        av_packet_rescale_ts(e.pkt, e.cc->time_base, st->time_base);
        e.pkt->stream_index = st->index;
        r = av_interleaved_write_frame(e.oc, e.pkt);
        if (r < 0) return fail(error, "write", r);
    }
}
}  // namespace

bool encodeAudioFile(const std::string& path, const CpcmBuffer& pcm, int bitrateKbps, std::string* error) {
    av_log_set_level(AV_LOG_ERROR);   // the encoders' statistics are noise here
    std::string ext = lowerExtension(path);
    const char* name = encoderFor(ext);
    if (!name) return fail(error, "no encoder for ." + ext);
    const AVCodec* codec = avcodec_find_encoder_by_name(name);
    if (!codec) return fail(error, std::string("encoder missing: ") + name);
    if (pcm.channels < 1 || pcm.channels > 2) return fail(error, "1 or 2 channels only");

    Cencode e;
    int r = avformat_alloc_output_context2(&e.oc, nullptr, ext == "m4a" ? "ipod" : nullptr, path.c_str());
    if (r < 0 || !e.oc) return fail(error, "output format", r);
    AVStream* st = avformat_new_stream(e.oc, nullptr);
    e.cc = avcodec_alloc_context3(codec);
    if (!st || !e.cc) return fail(error, "out of memory");

    // The codec's own sample format and rate when it cannot take ours.
    e.cc->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    int rate = pcm.rate;
    if (codec->supported_samplerates) {
        int best = codec->supported_samplerates[0];
        for (const int* p = codec->supported_samplerates; *p; ++p) {
            if (*p == pcm.rate) { best = *p; break; }
            if (*p == 48000) best = *p;
        }
        rate = best;
    }
    e.cc->sample_rate = rate;
    av_channel_layout_default(&e.cc->ch_layout, pcm.channels);
    if (codec->type == AVMEDIA_TYPE_AUDIO && ext != "flac" && ext != "wav") e.cc->bit_rate = (int64_t)bitrateKbps * 1000;
    if (ext == "mp3") e.cc->compression_level = 7;   // quick; the music is simple
    e.cc->time_base = AVRational{1, rate};
    if (e.oc->oformat->flags & AVFMT_GLOBALHEADER) e.cc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (ext == "m4a") e.cc->strict_std_compliance = FF_COMPLIANCE_NORMAL;
    r = avcodec_open2(e.cc, codec, nullptr);
    if (r < 0) return fail(error, "open encoder", r);
    r = avcodec_parameters_from_context(st->codecpar, e.cc);
    if (r < 0) return fail(error, "parameters", r);
    st->time_base = e.cc->time_base;

    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, pcm.channels);
    r = swr_alloc_set_opts2(&e.swr, &e.cc->ch_layout, e.cc->sample_fmt, rate, &inLayout, AV_SAMPLE_FMT_FLT, pcm.rate, 0,
                            nullptr);
    av_channel_layout_uninit(&inLayout);
    if (r < 0 || swr_init(e.swr) < 0) return fail(error, "resampler", r);

    if (!(e.oc->oformat->flags & AVFMT_NOFILE)) {
        r = avio_open(&e.oc->pb, path.c_str(), AVIO_FLAG_WRITE);
        if (r < 0) return fail(error, "open " + path, r);
        e.fileOpen = true;
    }
    r = avformat_write_header(e.oc, nullptr);
    if (r < 0) return fail(error, "header", r);

    int frameSize = e.cc->frame_size > 0 ? e.cc->frame_size : 1152;
    e.fifo = av_audio_fifo_alloc(e.cc->sample_fmt, pcm.channels, frameSize * 4);
    e.frame = av_frame_alloc();
    e.pkt = av_packet_alloc();
    if (!e.fifo || !e.frame || !e.pkt) return fail(error, "out of memory");

    int64_t pts = 0;
    auto sendFrames = [&](bool flushAll) -> bool {
        while (av_audio_fifo_size(e.fifo) >= frameSize || (flushAll && av_audio_fifo_size(e.fifo) > 0)) {
            int n = std::min(frameSize, av_audio_fifo_size(e.fifo));
            av_frame_unref(e.frame);
            e.frame->nb_samples = n;
            e.frame->format = e.cc->sample_fmt;
            e.frame->sample_rate = rate;
            av_channel_layout_copy(&e.frame->ch_layout, &e.cc->ch_layout);
            if (av_frame_get_buffer(e.frame, 0) < 0) return fail(error, "frame buffer");
            av_audio_fifo_read(e.fifo, (void**)e.frame->data, n);
            e.frame->pts = pts;
            pts += n;
            int s = avcodec_send_frame(e.cc, e.frame);
            if (s < 0) return fail(error, "send frame", s);
            if (!drain(e, st, error)) return false;
        }
        return true;
    };

    // Convert in blocks through the resampler into the FIFO.
    const size_t block = 4096;
    uint8_t** outBuf = nullptr;
    int outCap = 0;
    auto convert = [&](const float* in, int inFrames) -> bool {
        int want = swr_get_out_samples(e.swr, inFrames);
        if (want > outCap) {
            if (outBuf) av_freep(&outBuf[0]);
            av_freep(&outBuf);
            if (av_samples_alloc_array_and_samples(&outBuf, nullptr, pcm.channels, want, e.cc->sample_fmt, 0) < 0)
                return fail(error, "samples");
            outCap = want;
        }
        const uint8_t* inPtr[1] = {(const uint8_t*)in};
        int got = swr_convert(e.swr, outBuf, outCap, in ? inPtr : nullptr, inFrames);
        if (got < 0) return fail(error, "convert", got);
        if (got > 0 && av_audio_fifo_write(e.fifo, (void**)outBuf, got) < got) return fail(error, "fifo");
        return true;
    };
    bool ok = true;
    for (size_t f = 0; ok && f < pcm.frames(); f += block) {
        int n = (int)std::min(block, pcm.frames() - f);
        ok = convert(pcm.samples.data() + f * pcm.channels, n) && sendFrames(false);
    }
    if (ok) ok = convert(nullptr, 0) && sendFrames(true);
    if (outBuf) av_freep(&outBuf[0]);
    av_freep(&outBuf);
    if (!ok) return false;
    r = avcodec_send_frame(e.cc, nullptr);
    if (r < 0) return fail(error, "flush", r);
    if (!drain(e, st, error)) return false;
    r = av_write_trailer(e.oc);
    if (r < 0) return fail(error, "trailer", r);
    return true;
}

bool writeFileTags(const std::string& path, const CfileTags& tags, std::string* error) {
    TagLib::FileRef f(path.c_str(), false);
    if (f.isNull() || !f.tag()) return fail(error, "tags: can't open " + path);
    TagLib::Tag* t = f.tag();
    t->setTitle(TagLib::String(tags.title, TagLib::String::UTF8));
    t->setArtist(TagLib::String(tags.artist, TagLib::String::UTF8));
    t->setAlbum(TagLib::String(tags.album, TagLib::String::UTF8));
    t->setGenre(TagLib::String(tags.genre, TagLib::String::UTF8));
    t->setTrack((unsigned)std::max(0, tags.trackNumber));
    t->setYear((unsigned)std::max(0, tags.year));
    if (!f.save()) return fail(error, "tags: can't save " + path);
    return true;
}
