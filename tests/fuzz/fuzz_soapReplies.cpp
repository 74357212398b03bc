// Replies of the k4w web service read by the generated client with the
// client's own limits. The first byte picks the operation.
#include <sstream>

#include "fuzzEngine.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

namespace {
template <class Resp>
CfuzzReader reply(int (k4wProxy::*recv)(Resp&)) {
    return [recv](const uint8_t* data, size_t size) {
        k4wProxy proxy(SOAP_C_UTFSTRING);
        Ck4wSettings limits;
        limits.maxReply = 64 * 1024;
        k4wConfigureSoap(proxy.soap, limits);
        std::istringstream in(std::string((const char*)data, size));
        proxy.soap->is = &in;
        Resp resp;
        (proxy.*recv)(resp);
        proxy.destroy();
    };
}
}  // namespace

std::vector<CfuzzReader> fuzzReaders() {
    return {
        reply(&k4wProxy::recv_GetUnixTime),       reply(&k4wProxy::recv_SignIn),
        reply(&k4wProxy::recv_GetAuthToken),      reply(&k4wProxy::recv_GetLeaderboard),
        reply(&k4wProxy::recv_GetMessages),       reply(&k4wProxy::recv_FindPlayer),
        reply(&k4wProxy::recv_GetGameConfig),     reply(&k4wProxy::recv_GetCurrentChallenge),
        reply(&k4wProxy::recv_GetLeaderboardForPlayers), reply(&k4wProxy::recv_GetLeaderboardSince),
        reply(&k4wProxy::recv_GetPlayerStats),    reply(&k4wProxy::recv_CreateAccount),
        reply(&k4wProxy::recv_SubmitScore),       reply(&k4wProxy::recv_SendMessage),
        reply(&k4wProxy::recv_DeleteMessages),    reply(&k4wProxy::recv_SetPlayerName),
        reply(&k4wProxy::recv_SetPlayerStats),    reply(&k4wProxy::recv_getAtomicCount),
        reply(&k4wProxy::recv_addAtomicCount),
    };
}
