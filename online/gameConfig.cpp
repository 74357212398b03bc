#include "online/gameConfig.h"

#include <cctype>
#include <cmath>

#include "engine/bString.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

bool CgameConfig::startGetGameConfig() {
    if (k4wSOAP::serviceOff()) return false;
    return task.start([this] {
        _k4w__GetGameConfig req;
        req.gameTitle = ws_.gameTitle();
        CgameConfigRecord got;
        Ck4wCallResult r = k4wTokenCall(ws_, "GetGameConfig", &k4wProxy::GetGameConfig, req,
                                        [&](_k4w__GetGameConfigResponse& resp) {
            float p = resp.messagePollPeriod;
            if (!std::isfinite(p)) return false;
            got.messagePollPeriod = p < kMinPollPeriod ? kMinPollPeriod : p > kMaxPollPeriod ? kMaxPollPeriod : p;
            got.versionText = utf8Truncate(resp.versionText, 15);
            return true;
        });
        if (r.ok()) record = got;
        return r.ok();
    });
}

int CgameConfig::versionNumber(const std::string& t) {
    if (t.size() < 5) return 0;
    if (!isdigit((unsigned char)t[1]) || !isdigit((unsigned char)t[3]) || !isdigit((unsigned char)t[4])) return 0;
    return 100 * (t[1] - '0') + 10 * (t[3] - '0') + (t[4] - '0');
}
