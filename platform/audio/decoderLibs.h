#pragma once
// FFmpeg's libraries, opened on first use instead of linked: they bring some
// eighty shared libraries of codecs with them, which every start of the game
// would otherwise load and relocate before the window opens.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libavutil/time.h>
#include <libswresample/swresample.h>
}

#include <string>

// Every FFmpeg function the decoder calls, with the library that has it.
#define ZX_DECODER_FUNCTIONS(X)                                                                                       \
    X(AVUTIL, av_channel_layout_copy)                                                                                 \
    X(AVUTIL, av_channel_layout_default)                                                                              \
    X(AVUTIL, av_channel_layout_uninit)                                                                               \
    X(AVUTIL, av_dict_free)                                                                                           \
    X(AVUTIL, av_dict_set)                                                                                            \
    X(AVUTIL, av_dict_set_int)                                                                                        \
    X(AVUTIL, av_frame_alloc)                                                                                         \
    X(AVUTIL, av_frame_free)                                                                                          \
    X(AVUTIL, av_frame_unref)                                                                                         \
    X(AVUTIL, av_free)                                                                                                \
    X(AVUTIL, av_gettime_relative)                                                                                    \
    X(AVUTIL, av_log_set_level)                                                                                       \
    X(AVUTIL, av_opt_get)                                                                                             \
    X(AVUTIL, av_strerror)                                                                                            \
    X(SWRESAMPLE, swr_alloc_set_opts2)                                                                                \
    X(SWRESAMPLE, swr_convert)                                                                                        \
    X(SWRESAMPLE, swr_free)                                                                                           \
    X(SWRESAMPLE, swr_get_out_samples)                                                                                \
    X(SWRESAMPLE, swr_init)                                                                                           \
    X(AVCODEC, av_packet_alloc)                                                                                       \
    X(AVCODEC, av_packet_free)                                                                                        \
    X(AVCODEC, av_packet_unref)                                                                                       \
    X(AVCODEC, avcodec_alloc_context3)                                                                                \
    X(AVCODEC, avcodec_flush_buffers)                                                                                 \
    X(AVCODEC, avcodec_free_context)                                                                                  \
    X(AVCODEC, avcodec_open2)                                                                                         \
    X(AVCODEC, avcodec_parameters_to_context)                                                                         \
    X(AVCODEC, avcodec_receive_frame)                                                                                 \
    X(AVCODEC, avcodec_send_packet)                                                                                   \
    X(AVFORMAT, av_find_best_stream)                                                                                  \
    X(AVFORMAT, av_read_frame)                                                                                        \
    X(AVFORMAT, av_seek_frame)                                                                                        \
    X(AVFORMAT, avformat_alloc_context)                                                                               \
    X(AVFORMAT, avformat_close_input)                                                                                 \
    X(AVFORMAT, avformat_find_stream_info)                                                                            \
    X(AVFORMAT, avformat_open_input)                                                                                  \
    X(AVFORMAT, avio_closep)                                                                                          \
    X(AVFORMAT, avio_open2)                                                                                           \
    X(AVFORMAT, avio_read)

struct CdecoderLibs {
#define ZX_DECODER_POINTER(lib, name) decltype(&::name) name = nullptr;
    ZX_DECODER_FUNCTIONS(ZX_DECODER_POINTER)
#undef ZX_DECODER_POINTER
    bool ok = false;      // every library opened and every function found
    std::string error;    // why not, when not ok
};

// The table, opening the libraries the first time; a caller that comes while
// another thread opens them waits for it. Never fails twice differently.
const CdecoderLibs& decoderLibs();

// Opens them on a thread of its own, so that the first decoder finds them
// ready; the program's exit waits for that thread.
void preloadDecoderLibs();
