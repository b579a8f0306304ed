// The client's session with the synthesizer driver. Each user-level request
// becomes a fixed sequence of driver calls; what the instrument accepted is
// read back into the caller's values, and a failing setting ends in one
// dialog that offers to end the program.
//
// Every operation first sets the last result to -1 ("not done") and returns
// the driver's result (0 = success). An operation whose driver interface is
// missing returns -1 without a dialog. A failing read-back is ignored: the
// caller's value stays as requested and the operation's result stands.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/profile_enums.h"
#include "core/pulse.h"
#include "korvel/korvel_v8n.h"
#include "ui/prompt.h"

namespace z5r {

// One entry of the driver's error queue.
struct SError {
    std::string text;
    std::int32_t code = 0;
};

// The port the instrument listens on.
inline constexpr int kInstrumentPort = 8888;

class CDevice {
public:
    using HRESULT = korvel::HRESULT;

    // `prompt` shows the error dialogs and must outlive the object;
    // `requestTerminate` is called when the operator chooses to end the
    // program (after the connection was closed).
    CDevice(IPrompt& prompt, std::function<void()> requestTerminate);
    ~CDevice();
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;

    // Creates the driver, opens "TCPIP::<address>::<port>::SOCKET" and learns
    // the instrument's limits. Returns an empty text on success, else the
    // (translated) reason; the caller then destroys the object.
    std::string Connect(const std::string& address, int port);
    // RF off (unless the link is lost), close, release the driver.
    void Disconnect();

    void GetFreqRange(double& min, double& max, double& maxPoints) const;
    void GetPowRange(double& min, double& max, double& maxPoints) const;

    HRESULT SetFixFreqPow(double& frequency, double& level);
    HRESULT SetSweepMode(int mode);       // EOperatingMode
    HRESULT SetTriggerSource(int index);  // ETriggerMode
    // intervals = points - 1 (0 is taken as 1).
    HRESULT SetFreq(double& start, double& stop, int intervals);
    HRESULT SetPow(double& start, double& stop, int intervals);
    // Both lists non-empty; on success they hold what the instrument kept.
    HRESULT SetLists(std::vector<double>& frequencies, std::vector<double>& levels);
    HRESULT SetDwell(double& dwell);
    HRESULT SetSinglePoint(int& flag);  // 0 or 1; anything else gives -1
    HRESULT SetSyncOutInverse(bool& inverted);
    HRESULT SetSyncOutEnabled(bool& enabled);
    HRESULT SetSyncOutTime(double& duration);
    HRESULT SetSyncOutMode(int& mode);  // ESyncOutMode
    HRESULT Trigger();

    // Status reads: true also when the driver call fails, false without a
    // system interface.
    bool GetRfButton();
    bool GetLock();
    bool GetExtRefLock();
    bool GetLevelSettled();

    // The instrument accepts an attenuator strategy (true without a system
    // interface).
    bool ProbeAttStrategy();
    HRESULT SetAttStrategy(int& strategy);  // EAttStrategy
    HRESULT SetSyncInInverse(bool& inverted);
    HRESULT SetExtRef(bool& enabled);   // silent: the caller reports
    HRESULT SetExtRefFreq(double& hz);  // silent: the caller reports
    HRESULT SetPhase(std::int32_t& degrees);
    HRESULT SetEpc(bool& enabled);
    HRESULT SetRf(bool& enabled);

    HRESULT GetSerial(std::string& serial) const;
    HRESULT GetName(std::string& name);  // silent

    bool IsConnected() const { return connected_; }
    bool IsRfOn() const;
    bool HasPulseMod() const { return hasPulseMod_; }
    bool IsSecure() const { return secureMode_; }
    bool IsLinkLost() const { return linkLost_; }
    // Cleared by the owner after a successful connection, set when the poll
    // finds the link lost (no RF-off request is sent then).
    void SetLinkLost(bool lost) { linkLost_ = lost; }
    bool ModeChanged() const { return modeChanged_; }
    HRESULT LastResult() const { return lastResult_; }

    HRESULT PulseModOff();
    // duty becomes period / width when 0 < width <= period, else -1.
    HRESULT SetPeriodicPulse(double& width, double& period, double& duty);
    HRESULT LoadPacket(std::vector<SPulse>& pulses, double& packetPeriod);
    HRESULT SetPulseSource(int source);  // 0 internal generator, 1 external input; silent

    // Appends the driver's error queue to `errors`; silent.
    HRESULT ReadErrors(std::vector<SError>& errors);

    // The error dialog: `message` (a catalogue key) + the question whether to
    // end the program. Yes closes the connection and requests the end.
    void ReportError(const std::string& message);

private:
    bool CreateDriver();
    void FetchInterfaces();
    void DiscoverLimits();
    HRESULT SendSweepMode(int mode, bool report);
    bool OfferToEnd(const std::string& text);
    // Stores `hr` as the last result; reports `message` when it counts as a
    // failure. Returns true for success.
    bool Check(HRESULT hr, const char* message);
    bool CheckNegative(HRESULT hr, const char* message);
    // A status flag of the system interface: true when `isOn` holds for it or
    // the read failed, false without the interface.
    bool ReadStatus(HRESULT (korvel::IKorvelV8NSystem::*get)(korvel::VARIANT_BOOL*),
                    bool (*isOn)(korvel::VARIANT_BOOL));
    // One setting with read-back: `put` with `value`; on success `get` into
    // `value` (a failing read keeps the request). Without `target`: not done.
    template <typename Interface, typename Wire, typename Value>
    HRESULT SetAndReadBack(Interface* target, HRESULT (Interface::*put)(Wire),
                           HRESULT (Interface::*get)(Wire*), Value& value, const char* message);

    IPrompt& prompt_;
    std::function<void()> requestTerminate_;
    bool comInitialized_ = false;

    bool connected_ = false;
    bool rfOn_ = false;
    bool modeChanged_ = true;
    bool linkLost_ = true;
    bool hasPulseMod_ = true;
    bool secureMode_ = false;
    HRESULT lastResult_ = -1;
    double minFreq_ = 1e7;
    double maxFreq_ = 2e10;
    double maxPoints_ = 5001;
    double minPow_ = -200;
    double maxPow_ = 35;
    int requestedMode_ = 0;
    bool sweepModeInDoubt_ = false;  // the last mode request failed
    std::string serial_;

    // Destroyed last declared first.
    korvel::ComPtr<korvel::IKorvelV8N> root_;
    korvel::ComPtr<korvel::IKorvelV8NSweep> sweep_;
    korvel::ComPtr<korvel::IKorvelV8NFrequencyStep> freqStep_;
    korvel::ComPtr<korvel::IKorvelV8NPowerStep> powStep_;
    korvel::ComPtr<korvel::IKorvelV8NRF> rf_;
    korvel::ComPtr<korvel::IKorvelV8NList> list_;
    korvel::ComPtr<korvel::IKorvelV8NPulseGenerator> pulseGen_;
    korvel::ComPtr<korvel::IKorvelV8NPulsePacketGenerator> packetGen_;
    korvel::ComPtr<korvel::IKorvelV8NPulseGeneratorOutput> pulseOut_;
    korvel::ComPtr<korvel::IKorvelV8NPulseModulation> pulseMod_;
    korvel::ComPtr<korvel::IKorvelV8NTriggerOutput> trigOut_;
    korvel::ComPtr<korvel::IKorvelV8NSystem> system_;
    korvel::ComPtr<korvel::IIviDriverUtility> utility_;
};

}  // namespace z5r
