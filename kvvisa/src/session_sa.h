// The measurement layer (<resource>::SA): every packet passes through to the
// instrument <resource>, while the answers the application reads teach the
// layer the measurement set-up. A run in the narrow-band mode the receiver
// cannot measure itself is measured here from raw samples, and answered with
// an ordinary run answer of measured points.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base_session.h"
#include "sa/sa_answer_watcher.h"
#include "sa/sa_measurement.h"
#include "sa/sa_plan.h"
#include "sa/sa_settings.h"

namespace kv {

class CResMgr;

class CSessionSA : public CBaseSession {
public:
    explicit CSessionSA(CResMgr& manager);
    ~CSessionSA() override;
    CSessionSA(const CSessionSA&) = delete;
    CSessionSA& operator=(const CSessionSA&) = delete;

    ViStatus ParseRsrc(ViConstRsrc name, ViPUInt16 intfType, ViPUInt16 intfNum, ViChar* rsrcClass,
                       ViChar* expandedName, ViChar* alias) override;
    // Opens `name` without its last "::SA" as the inner session.
    ViStatus Connect(ViConstRsrc name, ViAccessMode mode, ViUInt32 timeout) override;
    ViStatus Disconnect() override;
    // VI_ATTR_TMO_VALUE is also the time-out of the layer's own answer reads.
    ViStatus SetAttribute(ViAttr attr, ViAttrState value) override;
    ViStatus GetAttribute(ViAttr attr, void* value) override;
    // A run answer made here is delivered first (header, then body, from
    // where the last read stopped); otherwise the inner session's bytes,
    // watched on their way.
    ViStatus Read(ViPBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    // A KV_RUN packet is the run handling; anything else passes through.
    ViStatus Write(ViConstBuf buf, ViUInt32 count, ViPUInt32 retCount) override;
    ViStatus Clear() override;

    const SSaSettings& Settings() const { return settings_; }

private:
    class CInnerLink;
    template <typename Op>
    ViStatus OnInner(Op&& op);
    ViStatus HandleRun(const std::uint8_t* header);
    // Sets P_MODE and reads its answer.
    ViStatus SetMode(std::uint16_t mode);
    void Replan();

    CResMgr& manager_;
    ViSession inner_ = VI_NULL;
    std::uint32_t packetTimeoutMs_ = 0;  // 0: the inner session's own

    SSaSettings settings_;
    CSaAnswerWatcher watcher_;
    std::optional<SSaPlan> plan_;
    CSaMeasurement measurement_;

    std::vector<std::uint8_t> answer_;  // a run answer made here, header and body
    std::size_t delivered_ = 0;
};

}  // namespace kv
