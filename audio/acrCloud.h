#pragma once
// CacrCloud: identifies the track open mic hears. While listening it takes
// the captured audio, resamples it to 8 kHz mono 16-bit, and after a few
// seconds posts it to the identification service as a signed multipart form
// (on a background task); the JSON reply names the track. The service is
// configured by host in "musicServices.txt": with no host nothing is sent
// and the track stays unidentified.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audio/songPackInfo.h"
#include "engine/threadTask.h"
#include "platform/audio/resampler.h"

class CacrCloud {
public:
    static constexpr int kRate = 8000;

    CacrCloud() : task_("ACRCloud") {}
    ~CacrCloud() { shutdown(); }
    CacrCloud(const CacrCloud&) = delete;
    CacrCloud& operator=(const CacrCloud&) = delete;

    // Reads the service settings and starts the sample-rate converter.
    bool init();
    // Polls the request task.
    void update();
    void shutdown();

    void startListening();
    void stopListening();
    // The track was left: listening stops, and neither a result waiting to
    // be taken nor the reply of a request still running renames anything.
    void forgetPending();
    bool listening() const { return listening_; }
    bool busy() const { return task_.running(); }
    // Captured audio (any rate, 1 or 2 channels) while listening.
    void feedCapture(const float* frames, int count, int channels, int rate);
    // The identified track, once.
    bool takeResult(CtrackTags& tags);

    std::string host;            // empty: identification is off
    std::string accessKey, accessSecret;
    float listenSeconds = 10.0f;
    long timeoutSeconds = 15;
    // Signs the request (HMAC-SHA1 of the text with the secret, Base64), from
    // the social services; without it the signature is sent empty.
    std::function<std::string(const std::string& text, const std::string& secret)> sign;

    static std::string wavBytes(const std::vector<int16_t>& pcm, int rate);
    // Title, artist, album, genre and length of the first match; false when
    // the reply names no track.
    static bool parseReply(const std::string& json, CtrackTags& tags);

private:
    void sendRequest();

    Cresampler resampler_;
    int resRate_ = 0;
    std::vector<float> mono_, collected_;
    bool ready_ = false, listening_ = false, resultReady_ = false, dropReply_ = false;
    CtrackTags result_;
    CthreadTask task_;
    std::string reply_;
    long replyStatus_ = 0;
};
