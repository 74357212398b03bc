#include "online/messagePoller.h"

#include <SDL.h>

#include "engine/bString.h"
#include "engine/engine.h"
#include "online/inbox.h"
#include "online/k4wTransport.h"

using namespace k4wGen;

CmessagePoller::CmessagePoller(k4wSOAP& ws, Cinbox& inbox) : ws_(ws), inbox_(inbox) {}

CmessagePoller::~CmessagePoller() {
    task.join();
    sendTask.join();
}

bool CmessagePoller::retrieveMessages(bool force) {
    if (task.started()) return false;
    if (k4wSOAP::serviceOff() || !ws_.signedIn()) {
        if (force) {
            retrieving = true;
            done = true;
            messageIndex = 0;
            messages.clear();
        }
        return false;
    }
    uint64_t now = SDL_GetTicks64();
    if (!force && (!enabled || (polledOnce_ && now - lastPollTicks_ < (uint64_t)(pollPeriod * 1000.0f)))) return false;
    polledOnce_ = true;
    lastPollTicks_ = now;
    fetched_.clear();
    bool started = task.start([this] {
        _k4w__GetMessages req;
        std::vector<CplayerMessage> got;
        Ck4wCallResult r = k4wTokenCall(ws_, "GetMessages", &k4wProxy::GetMessages, req,
                                        [&](_k4w__GetMessagesResponse& resp) {
            for (const k4w__Message* m : resp.message) {
                if (!m) return false;
                if (got.size() >= kMaxMessages) break;
                CplayerMessage pm;
                pm.id = m->id;
                pm.type = m->type;
                pm.fromPlayerId = m->fromPlayerId;
                pm.fromName = utf8Truncate(m->fromName, k4wSOAP::kMaxPlayerName);
                pm.sentTime = m->sentTime;
                // An oversized or missing body is dropped, the message kept.
                if (m->data.__ptr && m->data.__size > 0 && (size_t)m->data.__size <= kMaxMessageData)
                    pm.data.assign(m->data.__ptr, m->data.__ptr + m->data.__size);
                got.push_back(std::move(pm));
            }
            return true;
        });
        if (!r.ok()) return false;
        if (!got.empty()) {
            _k4w__DeleteMessages del;
            for (const auto& m : got) del.messageId.push_back(m.id);
            k4wTokenCall(ws_, "DeleteMessages", &k4wProxy::DeleteMessages, del,
                         [](_k4w__DeleteMessagesResponse&) { return true; });
        }
        fetched_ = std::move(got);
        return true;
    });
    if (started) {
        retrieving = true;
        done = false;
        messageIndex = 0;
        messages.clear();
    }
    return started;
}

void CmessagePoller::handle(const CplayerMessage& m) {
    if (m.type >= (int)INBOX_WORLD_HIGHSCORE && m.type <= (int)INBOX_SURVIVAL_HIGHSCORE) {
        CinboxEntry e;
        if (!CinboxEntry::unpack(m.data.data(), m.data.size(), e) || e.type != (uint32_t)m.type) {
            gEngine->log.print(LOG_L, "Message %llu: bad news record (%zu bytes)", (unsigned long long)m.id, m.data.size());
            return;
        }
        e.read = 0;
        e.messageId = m.id;
        if (!e.otherPlayerId) e.otherPlayerId = m.fromPlayerId;
        if (e.otherName.empty()) e.otherName = m.fromName;
        inbox_.add(e);
        return;
    }
    if (onMessage) onMessage(m);
}

void CmessagePoller::update() {
    if (task.finished()) {
        bool ok = task.success();
        task.reset();
        if (ok) messages = std::move(fetched_);
        fetched_.clear();
        messageIndex = 0;
        if (messages.empty()) done = true;
    }
    // One message per update, so a long list never holds up a frame.
    if (retrieving && !done && !task.started()) {
        if (messageIndex < (int)messages.size()) handle(messages[(size_t)messageIndex++]);
        if (messageIndex >= (int)messages.size()) done = true;
    }

    if (sendTask.finished()) {
        if (!sendTask.success()) gEngine->log.print(LOG_L, "Messages not sent: %zu", sending_.size());
        sendTask.reset();
        sending_.clear();
    }
    if (!sendTask.started() && !outbox_.empty()) {
        if (k4wSOAP::serviceOff()) {
            outbox_.clear();
            return;
        }
        sending_ = std::move(outbox_);
        outbox_.clear();
        sendTask.start([this] {
            bool all = true;
            for (const auto& o : sending_) {
                _k4w__SendMessage req;
                req.toPlayerId = o.to;
                req.type = o.type;
                Cbytes data = o.data;
                req.data.__ptr = data.empty() ? nullptr : data.data();
                req.data.__size = (int)data.size();
                all = k4wTokenCall(ws_, "SendMessage", &k4wProxy::SendMessage, req,
                                   [](_k4w__SendMessageResponse&) { return true; }).ok() && all;
                req.data.__ptr = nullptr;
                req.data.__size = 0;
            }
            return all;
        });
    }
}

bool CmessagePoller::sendMessage(uint64_t toPlayerId, int32_t type, const Cbytes& data) {
    if (k4wSOAP::serviceOff() || toPlayerId == 0 || data.size() > kMaxMessageData) return false;
    outbox_.push_back({toPlayerId, type, data});
    return true;
}
