// Replies of the k4w web service read by the generated client with the
// client's own limits. The first byte picks the operation.
#include <sstream>

#include "fuzzEngine.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

namespace {
template <class Resp>
void readReply(int (k4wProxy::*recv)(Resp&), const uint8_t* data, size_t size) {
    k4wProxy proxy(SOAP_C_UTFSTRING);
    Ck4wSettings limits;
    limits.maxReply = 64 * 1024;
    k4wConfigureSoap(proxy.soap, limits);
    std::istringstream in(std::string((const char*)data, size));
    proxy.soap->is = &in;
    Resp resp;
    (proxy.*recv)(resp);
    proxy.destroy();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzEngine();
    if (size < 1) return 0;
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    switch (data[0] % 19) {
        case 0: readReply(&k4wProxy::recv_GetUnixTime, p, n); break;
        case 1: readReply(&k4wProxy::recv_SignIn, p, n); break;
        case 2: readReply(&k4wProxy::recv_GetAuthToken, p, n); break;
        case 3: readReply(&k4wProxy::recv_GetLeaderboard, p, n); break;
        case 4: readReply(&k4wProxy::recv_GetMessages, p, n); break;
        case 5: readReply(&k4wProxy::recv_FindPlayer, p, n); break;
        case 6: readReply(&k4wProxy::recv_GetGameConfig, p, n); break;
        case 7: readReply(&k4wProxy::recv_GetCurrentChallenge, p, n); break;
        case 8: readReply(&k4wProxy::recv_GetLeaderboardForPlayers, p, n); break;
        case 9: readReply(&k4wProxy::recv_GetLeaderboardSince, p, n); break;
        case 10: readReply(&k4wProxy::recv_GetPlayerStats, p, n); break;
        case 11: readReply(&k4wProxy::recv_CreateAccount, p, n); break;
        case 12: readReply(&k4wProxy::recv_SubmitScore, p, n); break;
        case 13: readReply(&k4wProxy::recv_SendMessage, p, n); break;
        case 14: readReply(&k4wProxy::recv_DeleteMessages, p, n); break;
        case 15: readReply(&k4wProxy::recv_SetPlayerName, p, n); break;
        case 16: readReply(&k4wProxy::recv_SetPlayerStats, p, n); break;
        case 17: readReply(&k4wProxy::recv_getAtomicCount, p, n); break;
        default: readReply(&k4wProxy::recv_addAtomicCount, p, n); break;
    }
    return 0;
}
