#include "session_sa.h"

#include <algorithm>
#include <cstring>

#include "kvproto/packet.h"
#include "kvproto/packet_io.h"
#include "kvproto/receiver_params.h"
#include "res_mgr.h"
#include "resource_name.h"
#include "session_packets.h"

namespace kv {

namespace {
constexpr std::int16_t kNoParameters = -32764;  // KV_NO_PARAMETERS
constexpr std::size_t kResultSize = 2;           // the run's result after the points
}  // namespace

// The inner session as the measurement's link; each transfer runs alone on it.
class CSessionSA::CInnerLink : public ISaLink {
public:
    explicit CInnerLink(CSessionSA& session) : session_(session) {}
    ViStatus Send(const std::vector<std::uint8_t>& bytes) override {
        return session_.OnInner([&](ISession& inner) { return SendAll(inner, bytes); });
    }
    ViStatus Receive(std::vector<std::uint8_t>& packet, std::uint32_t timeoutMs) override {
        return session_.OnInner([&](ISession& inner) {
            if (timeoutMs != 0) inner.SetAttribute(VI_ATTR_TMO_VALUE, timeoutMs);
            return ReceivePacketFrom(inner, packet);
        });
    }

private:
    CSessionSA& session_;
};

CSessionSA::CSessionSA(CResMgr& manager) : manager_(manager) {}

CSessionSA::~CSessionSA() { Disconnect(); }

template <typename Op>
ViStatus CSessionSA::OnInner(Op&& op) {
    if (inner_ == VI_NULL) return VI_ERROR_CONN_LOST;
    return manager_.Call(inner_, std::forward<Op>(op), VI_ERROR_CONN_LOST);
}

ViStatus CSessionSA::ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum, ViChar* rsrcClass,
                               ViChar* expandedName, ViChar* alias) {
    return OnInner([&](ISession& inner) { return inner.ParseRsrc(name, intfType, intfNum, rsrcClass, expandedName, alias); });
}

ViStatus CSessionSA::Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) {
    Disconnect();
    const std::string innerName = WithoutLastToken(name != nullptr ? name : "", kSaToken);
    ViSession handle = VI_NULL;
    const ViStatus status = manager_.Open(innerName.c_str(), mode, timeout, &handle);
    inner_ = handle;
    return status;
}

ViStatus CSessionSA::Disconnect() {
    answer_.clear();
    delivered_ = 0;
    watcher_.Reset();
    if (inner_ != VI_NULL) {
        const ViSession handle = inner_;
        inner_ = VI_NULL;
        manager_.Close(handle);
    }
    return VI_SUCCESS;
}

ViStatus CSessionSA::SetAttribute(ViAttr attr, ViAttrState value) {
    const ViStatus status = OnInner([&](ISession& inner) { return inner.SetAttribute(attr, value); });
    if (attr == VI_ATTR_TMO_VALUE && status == VI_SUCCESS) packetTimeoutMs_ = static_cast<std::uint32_t>(value);
    return status;
}

ViStatus CSessionSA::GetAttribute(ViAttr attr, void* value) {
    return OnInner([&](ISession& inner) { return inner.GetAttribute(attr, value); });
}

ViStatus CSessionSA::Clear() {
    answer_.clear();
    delivered_ = 0;
    watcher_.Reset();
    return OnInner([](ISession& inner) { return inner.Clear(); });
}

ViStatus CSessionSA::Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    *retCount = 0;
    if (!answer_.empty()) {
        const std::size_t n = std::min<std::size_t>(count, answer_.size() - delivered_);
        std::memcpy(buf, answer_.data() + delivered_, n);
        delivered_ += n;
        *retCount = static_cast<ViUInt32>(n);
        if (delivered_ == answer_.size()) {
            answer_.clear();
            delivered_ = 0;
        }
        return VI_SUCCESS;
    }
    const ViStatus status = OnInner([&](ISession& inner) { return inner.Read(buf, count, retCount); });
    if (watcher_.Feed(std::span<const std::uint8_t>(buf, *retCount), settings_) == CSaAnswerWatcher::EChange::Learned) {
        Replan();
    }
    return status;
}

void CSessionSA::Replan() {
    plan_.reset();
    if (settings_.Complete() && MeasuredInSoftware(settings_)) plan_ = MakePlan(settings_);
}

ViStatus CSessionSA::Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) {
    *retCount = 0;
    if (count >= kvproto::kHeaderSize) {
        const kvproto::PacketHeader header = kvproto::DecodeHeader(buf);
        if (header.signature == kvproto::kSignature && header.command == kvproto::KV_RUN) {
            if (MeasuredInSoftware(settings_)) {
                const ViStatus status = HandleRun(buf);
                if (status == VI_SUCCESS) *retCount = count;
                return status;
            }
            // The receiver measures this itself, in the mode it was asked for.
            if (settings_.currentMode == kvproto::kModeRawSampling) {
                const ViStatus restored = SetMode(settings_.requestedMode);
                if (restored != VI_SUCCESS) return restored;
            }
        }
    }
    return OnInner([&](ISession& inner) { return inner.Write(buf, count, retCount); });
}

ViStatus CSessionSA::SetMode(std::uint16_t mode) {
    CInnerLink link(*this);
    const ViStatus sent = link.Send(CSaMeasurement::ParameterRequest(kvproto::KV_SET, kvproto::kParamReceiverMode,
                                                                     {static_cast<double>(mode)}, kvproto::kFormatMode));
    if (sent != VI_SUCCESS) return sent;
    std::int16_t status = 0;
    const ViStatus received = CSaMeasurement::ReceiveParameter(link, packetTimeoutMs_, kvproto::kParamReceiverMode, status);
    if (received == VI_SUCCESS) settings_.currentMode = mode;
    return received;
}

ViStatus CSessionSA::HandleRun(const std::uint8_t* header) {
    answer_.clear();
    delivered_ = 0;
    kvproto::PacketHeader answer = kvproto::DecodeHeader(header);
    answer.flagA = 1;
    answer.flagB = kvproto::kFormatMeasuredPoint;
    answer.status = 0;
    const std::uint64_t points = settings_.plan.points <= kSaMaxPoints ? settings_.plan.points : 0;
    const std::size_t bodySize = kvproto::kMeasuredPointSize * points + kResultSize;
    answer.bodyLen = static_cast<std::uint16_t>(bodySize);
    std::vector<std::uint8_t> made(kvproto::kHeaderSize + bodySize, 0);
    const auto finish = [&](std::int16_t status, std::int16_t result) {
        answer.status = status;
        const auto encoded = kvproto::EncodeHeader(answer);
        std::copy(encoded.begin(), encoded.end(), made.begin());
        made[made.size() - 2] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(result));
        made[made.size() - 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(result) >> 8);
        answer_ = std::move(made);
    };

    if (!settings_.Complete()) {
        finish(kNoParameters, kNoParameters);
        return VI_SUCCESS;
    }
    if (!plan_) Replan();
    if (plan_->refusal != 0) {
        finish(plan_->refusal, plan_->refusal);
        return VI_SUCCESS;
    }
    if (settings_.currentMode != kvproto::kModeRawSampling) {
        const ViStatus switched = SetMode(kvproto::kModeRawSampling);
        if (switched != VI_SUCCESS) return switched;
    }
    CInnerLink link(*this);
    SSaRunResult result;
    try {
        result = measurement_.Run(link, *plan_, settings_.detector, packetTimeoutMs_, made.data() + kvproto::kHeaderSize);
    } catch (const std::bad_alloc&) {
        return VI_ERROR_ALLOC;
    }
    const bool instrumentStatus = result.status <= 0 && result.status >= -32768;
    if (!instrumentStatus) {
        // The link failed mid-run: answers still due would be taken for the
        // next exchange's, so the connection starts afresh.
        OnInner([](ISession& inner) { return inner.Clear(); });
        return result.status;
    }
    const auto r = static_cast<std::int16_t>(result.status);
    finish(result.lastAnswerStatus != 0 ? result.lastAnswerStatus : r, r);
    return result.status;
}

}  // namespace kv
