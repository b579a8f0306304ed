#include "core/z5r_device.h"

#include <algorithm>
#include <cmath>

#include "core/driver_error_text.h"
#include "korvel/com_registry.h"
#include "z5r/i18n.h"

namespace z5r {

using korvel::VARIANT_BOOL;

namespace {

constexpr korvel::HRESULT kNotDone = -1;
// A driver whose queue never runs dry must not hang the poll.
constexpr int kMaxErrorEntries = 256;

// Frequencies enter the driver in whole hertz.
double RoundHz(double hz) { return std::trunc(hz + 0.5); }

VARIANT_BOOL ToVariantBool(bool value) { return value ? 1 : 0; }

// The driver answers 1 for true.
bool IsTrue(VARIANT_BOOL value) { return value == 1; }

// Settings travel as the driver's types: flags as VARIANT_BOOL, the rest as
// they are.
VARIANT_BOOL ToWire(bool value) { return ToVariantBool(value); }
template <typename T>
T ToWire(T value) {
    return value;
}
void FromWire(VARIANT_BOOL wire, bool& value) { value = IsTrue(wire); }
template <typename T>
void FromWire(T wire, T& value) {
    value = wire;
}

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Fetches a sub-interface; the slot stays empty when the driver has none.
template <typename Outer, typename T>
void Fetch(Outer* outer, korvel::HRESULT (Outer::*getter)(T**), korvel::ComPtr<T>& slot) {
    slot = nullptr;
    if (!outer) return;
    T* object = nullptr;
    const korvel::HRESULT hr = (outer->*getter)(&object);
    auto held = korvel::ComPtr<T>::Attach(object);
    if (hr == korvel::S_OK) slot = std::move(held);
}

int DriverSweepMode(int mode) {
    switch (mode) {
        case 1:
            return 3;  // frequency step
        case 2:
            return 4;  // power step
        case 3:
        case 4:
            return 5;  // list
        default:
            return 0;
    }
}

int DriverSyncOutMode(int mode) {
    switch (mode) {
        case 1:
            return 1001;
        case 2:
            return 1002;
        case 3:
            return 1003;
        case 4:
            return 1;
        default:
            return 0;
    }
}

int SyncOutModeFromDriver(int mode) {
    switch (mode) {
        case 1001:
            return 1;
        case 1002:
            return 2;
        case 1003:
            return 3;
        case 1:
            return 4;
        default:
            return 0;
    }
}

}  // namespace

CDevice::CDevice(IPrompt& prompt, std::function<void()> requestTerminate)
    : prompt_(prompt), requestTerminate_(std::move(requestTerminate)) {
    comInitialized_ = korvel::Succeeded(korvel::CoInitialize(nullptr));
}

CDevice::~CDevice() {
    // References go before the COM library does, last declared first.
    utility_ = nullptr;
    system_ = nullptr;
    trigOut_ = nullptr;
    pulseMod_ = nullptr;
    pulseOut_ = nullptr;
    packetGen_ = nullptr;
    pulseGen_ = nullptr;
    list_ = nullptr;
    rf_ = nullptr;
    powStep_ = nullptr;
    freqStep_ = nullptr;
    sweep_ = nullptr;
    root_ = nullptr;
    if (comInitialized_) korvel::CoUninitialize();
}

// ---------------------------------------------------------------- failures

bool CDevice::OfferToEnd(const std::string& text) {
    SPromptMessage message;
    message.caption = Tr("Ошибка");
    message.text = text + "\r\n\r\n" + Tr("Прервать выполнение программы?");
    message.icon = EPromptIcon::Error;
    message.buttons = EPromptButtons::YesNo;
    message.flags = pfSystemModal;
    return prompt_.ShowMessage(message) == EPromptResult::Yes;
}

void CDevice::ReportError(const std::string& message) {
    if (!OfferToEnd(Tr(message))) return;
    Disconnect();
    if (requestTerminate_) requestTerminate_();
}

bool CDevice::Check(HRESULT hr, const char* message) {
    lastResult_ = hr;
    if (hr == korvel::S_OK) return true;
    if (message) ReportError(message);
    lastResult_ = hr;
    return false;
}

bool CDevice::CheckNegative(HRESULT hr, const char* message) {
    lastResult_ = hr;
    if (korvel::Succeeded(hr)) return true;
    ReportError(message);
    lastResult_ = hr;
    return false;
}

template <typename Interface, typename Wire, typename Value>
CDevice::HRESULT CDevice::SetAndReadBack(Interface* target, HRESULT (Interface::*put)(Wire),
                                         HRESULT (Interface::*get)(Wire*), Value& value,
                                         const char* message) {
    lastResult_ = kNotDone;
    if (!target) return kNotDone;
    const HRESULT hr = (target->*put)(ToWire(value));
    if (!Check(hr, message)) return hr;
    Wire accepted{};
    if ((target->*get)(&accepted) == korvel::S_OK) FromWire(accepted, value);
    return hr;
}

// -------------------------------------------------------------- connection

bool CDevice::CreateDriver() {
    root_ = nullptr;
    if (!comInitialized_) comInitialized_ = korvel::Succeeded(korvel::CoInitialize(nullptr));
    const auto create = [this](std::uint32_t context) {
        void* object = nullptr;
        const HRESULT hr = korvel::CoCreateInstance(korvel::CLSID_KorvelV8N, nullptr, context,
                                                    korvel::IID_IKorvelV8N, &object);
        auto held =
            korvel::ComPtr<korvel::IKorvelV8N>::Attach(static_cast<korvel::IKorvelV8N*>(object));
        if (hr == korvel::S_OK) root_ = std::move(held);
        return hr;
    };
    HRESULT hr = create(korvel::CLSCTX_INPROC_SERVER | korvel::CLSCTX_LOCAL_SERVER |
                        korvel::CLSCTX_REMOTE_SERVER);
    if (hr == korvel::E_INVALIDARG)
        hr = create(korvel::CLSCTX_INPROC_SERVER | korvel::CLSCTX_LOCAL_SERVER);
    lastResult_ = hr;
    if (root_) return true;
    if (OfferToEnd(DriverErrorText(hr == korvel::S_OK ? korvel::E_POINTER : hr)) &&
        requestTerminate_)
        requestTerminate_();
    return false;
}

void CDevice::FetchInterfaces() {
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_RF, rf_);
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_Sweep, sweep_);
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_System, system_);
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_Utility, utility_);
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_PulseModulation, pulseMod_);
    Fetch(sweep_.Get(), &korvel::IKorvelV8NSweep::get_FrequencyStep, freqStep_);
    Fetch(sweep_.Get(), &korvel::IKorvelV8NSweep::get_PowerStep, powStep_);
    Fetch(sweep_.Get(), &korvel::IKorvelV8NSweep::get_List, list_);
    Fetch(sweep_.Get(), &korvel::IKorvelV8NSweep::get_TriggerOutput, trigOut_);
    Fetch(root_.Get(), &korvel::IKorvelV8N::get_PulseGenerator, pulseGen_);
    Fetch(pulseGen_.Get(), &korvel::IKorvelV8NPulseGenerator::get_Output, pulseOut_);
    Fetch(pulseGen_.Get(), &korvel::IKorvelV8NPulseGenerator::get_PacketGenerator, packetGen_);
}

// Asks for more than any instrument can do and keeps what it accepted.
void CDevice::DiscoverLimits() {
    const auto readInto = [](auto* object, auto getter, double& target) {
        double value = 0.0;
        if ((object->*getter)(&value) == korvel::S_OK) target = value;
    };
    if (freqStep_) freqStep_->Configure(0.0, 110e9, 0, 110e9);
    if (rf_) {
        rf_->put_Level(maxPow_);
        readInto(rf_.Get(), &korvel::IKorvelV8NRF::get_Level, maxPow_);
        rf_->put_Level(minPow_);
        readInto(rf_.Get(), &korvel::IKorvelV8NRF::get_Level, minPow_);
    }
    SendSweepMode(1, false);  // frequency sweep: start and stop become readable
    if (!freqStep_) return;
    readInto(freqStep_.Get(), &korvel::IKorvelV8NFrequencyStep::get_Start, minFreq_);
    readInto(freqStep_.Get(), &korvel::IKorvelV8NFrequencyStep::get_Stop, maxFreq_);
    double s0 = minFreq_;
    double s1 = maxFreq_;
    double step = std::fabs(maxFreq_ - minFreq_) * 1e-5;
    freqStep_->Configure(minFreq_, maxFreq_, 0, step);
    readInto(freqStep_.Get(), &korvel::IKorvelV8NFrequencyStep::get_Start, s0);
    readInto(freqStep_.Get(), &korvel::IKorvelV8NFrequencyStep::get_Stop, s1);
    readInto(freqStep_.Get(), &korvel::IKorvelV8NFrequencyStep::get_Step, step);
    const double points = std::trunc((s1 - s0) / (step + 0.001) + 1.5);
    if (std::isfinite(points) && points >= 1.0) maxPoints_ = points;
}

std::string CDevice::Connect(const std::string& address, int port) {
    lastResult_ = kNotDone;
    hasPulseMod_ = true;
    if (connected_) return Trimmed(Tr("Подключение уже осуществлено."));

    if (!CreateDriver())
        return Trimmed(Tr(
            "Ошибка при создании объекта класса V8N.\r\nВозможно не установлен V8NCOM драйвер."));

    const std::string resource = "TCPIP::" + address + "::" + std::to_string(port) + "::SOCKET";
    const HRESULT initResult = root_->Initialize(resource, 0, 0, "GENERATOR");
    VARIANT_BOOL initialized = 0;
    const HRESULT queryResult = root_->get_Initialized(&initialized);
    if (queryResult != korvel::S_OK && OfferToEnd(DriverErrorText(queryResult)) &&
        requestTerminate_)
        requestTerminate_();
    if (initResult != korvel::S_OK || queryResult != korvel::S_OK || initialized == 0) {
        root_ = nullptr;
        lastResult_ = initResult;
        if (initResult == korvel::KORVEL_E_UNSUPPORTED_INSTRUMENT)
            return Trimmed(Tr("Неподдерживаемый тип прибора."));
        if (initResult == korvel::KORVEL_E_INSTRUMENT_NOT_FOUND)
            return Trimmed(
                Tr("Прибор не найден. Необходимо проверить правильность заданного адреса и "
                   "состояние прибора."));
        return Trimmed(Tr("Ошибка при подключении к прибору."));
    }

    FetchInterfaces();
    if (rf_) rf_->put_OutputEnabled(0);
    DiscoverLimits();

    VARIANT_BOOL pulseEnabled = 0;
    if (!pulseMod_ || pulseMod_->get_Enabled(&pulseEnabled) == korvel::KORVEL_E_NO_PULSE_MODULATION)
        hasPulseMod_ = false;

    if (system_) {
        std::string serial;
        lastResult_ = system_->get_SerialNumber(&serial);
        if (lastResult_ == korvel::S_OK) {
            serial_ = serial;
            // A trailing "*" marks an instrument in secure mode.
            if (!serial_.empty() && serial_.back() == '*') {
                serial_.pop_back();
                secureMode_ = true;
            }
        }
    }
    connected_ = true;
    return {};
}

void CDevice::Disconnect() {
    lastResult_ = kNotDone;
    if (rfOn_ && !linkLost_ && rf_) lastResult_ = rf_->put_OutputEnabled(0);
    if (root_) lastResult_ = root_->Close();
    sweep_ = nullptr;
    utility_ = nullptr;
    freqStep_ = nullptr;
    powStep_ = nullptr;
    list_ = nullptr;
    pulseGen_ = nullptr;
    pulseOut_ = nullptr;
    rf_ = nullptr;
    system_ = nullptr;
    // Held to the end, a closed driver would answer every later request
    // with one more error dialog.
    packetGen_ = nullptr;
    pulseMod_ = nullptr;
    trigOut_ = nullptr;
    root_ = nullptr;
    rfOn_ = false;
    connected_ = false;
}

void CDevice::GetFreqRange(double& min, double& max, double& maxPoints) const {
    min = minFreq_;
    max = maxFreq_;
    maxPoints = maxPoints_;
}

void CDevice::GetPowRange(double& min, double& max, double& maxPoints) const {
    min = minPow_;
    max = maxPow_;
    maxPoints = maxPoints_;
}

// -------------------------------------------------------- frequency, level

CDevice::HRESULT CDevice::SetFixFreqPow(double& frequency, double& level) {
    lastResult_ = kNotDone;
    if (!rf_) return kNotDone;
    const double hz = RoundHz(frequency);
    const HRESULT hr = rf_->Configure(hz, level);
    if (!Check(hr, Z5R_TEXT("Ошибка установки фиксированной частоты и мощности"))) return hr;
    frequency = hz;
    double accepted = 0.0;
    if (rf_->get_Level(&accepted) == korvel::S_OK) {
        if (accepted < level) maxPow_ = accepted;
        level = accepted;
    }
    return hr;
}

CDevice::HRESULT CDevice::SendSweepMode(int mode, bool report) {
    lastResult_ = kNotDone;
    modeChanged_ = mode != requestedMode_;
    requestedMode_ = mode;
    // A request that failed is sent again even when it is repeated unchanged.
    if (!modeChanged_ && !sweepModeInDoubt_) {
        lastResult_ = korvel::S_OK;
        return korvel::S_OK;
    }
    if (!sweep_) return kNotDone;
    const HRESULT hr = sweep_->put_Mode(DriverSweepMode(mode));
    sweepModeInDoubt_ = hr != korvel::S_OK;
    Check(hr, report ? Z5R_TEXT("Ошибка установки режима сканирования") : nullptr);
    return hr;
}

CDevice::HRESULT CDevice::SetSweepMode(int mode) { return SendSweepMode(mode, true); }

CDevice::HRESULT CDevice::SetTriggerSource(int index) {
    lastResult_ = kNotDone;
    if (!sweep_) return kNotDone;
    const int source = index == 0 ? 0 : index == 1 ? 1 : 2;
    const HRESULT hr = sweep_->put_TriggerSource(source);
    Check(hr, Z5R_TEXT("Ошибка установки режима запуска"));
    return hr;
}

CDevice::HRESULT CDevice::SetFreq(double& start, double& stop, int intervals) {
    lastResult_ = kNotDone;
    switch (requestedMode_) {
        case 0:
        case 2: {  // the frequency is fixed
            if (!rf_) return kNotDone;
            const HRESULT hr = rf_->put_Frequency(RoundHz(start));
            if (!Check(hr, Z5R_TEXT("Ошибка установки фиксированной частоты"))) return hr;
            double accepted = 0.0;
            if (rf_->get_Frequency(&accepted) == korvel::S_OK) start = accepted;
            return hr;
        }
        case 1:
        case 3: {  // the frequency is swept
            if (!freqStep_) return kNotDone;
            if (intervals == 0) intervals = 1;
            const double from = RoundHz(start);
            const double to = RoundHz(stop);
            const HRESULT hr = freqStep_->Configure(from, to, 0, (to - from) / intervals);
            if (!Check(hr, Z5R_TEXT("Ошибка установки диапазона частот"))) return hr;
            double accepted = 0.0;
            if (freqStep_->get_Start(&accepted) == korvel::S_OK) start = accepted;
            if (freqStep_->get_Stop(&accepted) == korvel::S_OK) stop = accepted;
            return hr;
        }
        default:  // the lists carry the frequencies
            return kNotDone;
    }
}

CDevice::HRESULT CDevice::SetPow(double& start, double& stop, int intervals) {
    lastResult_ = kNotDone;
    switch (requestedMode_) {
        case 0:
        case 1: {  // the level is fixed
            if (!rf_) return kNotDone;
            const HRESULT hr = rf_->put_Level(start);
            if (!Check(hr, Z5R_TEXT("Ошибка установки уровня мощности"))) return hr;
            double accepted = 0.0;
            if (rf_->get_Level(&accepted) == korvel::S_OK) {
                if (std::fabs(accepted - std::max(start, stop)) > 0.01) maxPow_ = accepted;
                start = accepted;
            }
            return hr;
        }
        case 2:
        case 3: {  // the level is swept
            if (!powStep_) return kNotDone;
            if (intervals == 0) intervals = 1;
            const HRESULT hr = powStep_->Configure(start, stop, (stop - start) / intervals);
            if (!Check(hr, Z5R_TEXT("Ошибка установки диапазона мощности"))) return hr;
            double accepted = 0.0;
            if (powStep_->get_Start(&accepted) == korvel::S_OK &&
                std::fabs(accepted - start) > 0.011)
                start = accepted;
            if (powStep_->get_Stop(&accepted) == korvel::S_OK && std::fabs(accepted - stop) > 0.011)
                stop = accepted;
            return hr;
        }
        default:
            return kNotDone;
    }
}

CDevice::HRESULT CDevice::SetLists(std::vector<double>& frequencies, std::vector<double>& levels) {
    lastResult_ = kNotDone;
    if (frequencies.empty() || levels.empty() || !list_) return kNotDone;
    std::vector<double> sentFrequencies(frequencies.size());
    std::transform(frequencies.begin(), frequencies.end(), sentFrequencies.begin(), RoundHz);
    std::vector<double> sentLevels = levels;
    const HRESULT hr = list_->Configure("", sentFrequencies, sentLevels);
    if (!Check(hr, Z5R_TEXT("Ошибка установки списков частоты и мощности"))) return hr;
    // The driver's lists are authoritative; it may shorten or correct them.
    frequencies = std::move(sentFrequencies);
    levels = std::move(sentLevels);
    return hr;
}

// ----------------------------------------------------- dwell, single point

CDevice::HRESULT CDevice::SetDwell(double& dwell) {
    lastResult_ = kNotDone;
    if (!freqStep_ || !powStep_ || !list_) return kNotDone;
    const char* message = Z5R_TEXT("Ошибка установки времени удержания");
    double value = dwell;
    double accepted = 0.0;
    HRESULT hr = freqStep_->put_Dwell(value);
    if (!CheckNegative(hr, message)) return hr;
    if (freqStep_->get_Dwell(&accepted) == korvel::S_OK) value = accepted;
    hr = powStep_->put_Dwell(value);
    if (!CheckNegative(hr, message)) return hr;
    if (powStep_->get_Dwell(&accepted) == korvel::S_OK) value = accepted;
    hr = list_->put_Dwell(value);
    if (!CheckNegative(hr, message)) return hr;
    if (list_->get_Dwell(&accepted) == korvel::S_OK) value = accepted;
    dwell = value;
    return hr;
}

CDevice::HRESULT CDevice::SetSinglePoint(int& flag) {
    lastResult_ = kNotDone;
    if (flag != 0 && flag != 1) return kNotDone;
    if (!freqStep_ || !powStep_ || !list_) return kNotDone;
    const char* message = Z5R_TEXT("Ошибка установки режима одной точки");
    VARIANT_BOOL value = ToVariantBool(flag == 1);
    VARIANT_BOOL accepted = 0;
    HRESULT hr = freqStep_->put_SinglePoint(value);
    if (!CheckNegative(hr, message)) return hr;
    if (freqStep_->get_SinglePoint(&accepted) == korvel::S_OK)
        value = ToVariantBool(IsTrue(accepted));
    hr = powStep_->put_SinglePoint(value);
    if (!CheckNegative(hr, message)) return hr;
    if (powStep_->get_SinglePoint(&accepted) == korvel::S_OK)
        value = ToVariantBool(IsTrue(accepted));
    hr = list_->put_SinglePoint(value);
    if (!CheckNegative(hr, message)) return hr;
    if (list_->get_SinglePoint(&accepted) == korvel::S_OK) value = ToVariantBool(IsTrue(accepted));
    flag = value;
    return hr;
}

// --------------------------------------------------------------- sync out

CDevice::HRESULT CDevice::SetSyncOutInverse(bool& inverted) {
    return SetAndReadBack(trigOut_.Get(), &korvel::IKorvelV8NTriggerOutput::put_Inverted,
                          &korvel::IKorvelV8NTriggerOutput::get_Inverted, inverted,
                          Z5R_TEXT("Ошибка установки инверсии сигнала синхровыхода"));
}

CDevice::HRESULT CDevice::SetSyncOutEnabled(bool& enabled) {
    return SetAndReadBack(trigOut_.Get(), &korvel::IKorvelV8NTriggerOutput::put_Enabled,
                          &korvel::IKorvelV8NTriggerOutput::get_Enabled, enabled,
                          Z5R_TEXT("Ошибка включения синхровыхода"));
}

CDevice::HRESULT CDevice::SetSyncOutTime(double& duration) {
    return SetAndReadBack(trigOut_.Get(), &korvel::IKorvelV8NTriggerOutput::put_Duration,
                          &korvel::IKorvelV8NTriggerOutput::get_Duration, duration,
                          Z5R_TEXT("Ошибка установки длительности сигнала синхровыхода"));
}

CDevice::HRESULT CDevice::SetSyncOutMode(int& mode) {
    lastResult_ = kNotDone;
    if (!trigOut_) return kNotDone;
    const HRESULT hr = trigOut_->put_Mode(DriverSyncOutMode(mode));
    if (!Check(hr, Z5R_TEXT("Ошибка установки режима работы синхровыхода"))) return hr;
    std::int32_t accepted = 0;
    if (trigOut_->get_Mode(&accepted) == korvel::S_OK) mode = SyncOutModeFromDriver(accepted);
    return hr;
}

CDevice::HRESULT CDevice::Trigger() {
    lastResult_ = kNotDone;
    if (!root_) return kNotDone;
    const HRESULT hr = root_->SendTrigger();
    Check(hr, Z5R_TEXT("Ошибка однократного запуска"));
    return hr;
}

// ------------------------------------------------------------ status reads

bool CDevice::ReadStatus(HRESULT (korvel::IKorvelV8NSystem::*get)(VARIANT_BOOL*),
                         bool (*isOn)(VARIANT_BOOL)) {
    lastResult_ = kNotDone;
    if (!system_) return false;
    VARIANT_BOOL value = 0;
    lastResult_ = (system_.Get()->*get)(&value);
    // A read that fails counts as "on": the poll shows nothing alarming for it.
    return lastResult_ != korvel::S_OK || isOn(value);
}

namespace {
bool NonZero(VARIANT_BOOL value) { return value != 0; }
}  // namespace

// Only the value 1 counts as the button pressed.
bool CDevice::GetRfButton() { return ReadStatus(&korvel::IKorvelV8NSystem::get_RfButton, IsTrue); }
bool CDevice::GetLock() { return ReadStatus(&korvel::IKorvelV8NSystem::get_Locked, NonZero); }
bool CDevice::GetExtRefLock() {
    return ReadStatus(&korvel::IKorvelV8NSystem::get_ExtRefLocked, NonZero);
}
bool CDevice::GetLevelSettled() {
    return ReadStatus(&korvel::IKorvelV8NSystem::get_LevelSettled, NonZero);
}

// ------------------------------------------------------------------ system

bool CDevice::ProbeAttStrategy() {
    lastResult_ = kNotDone;
    if (!system_) return true;
    lastResult_ = system_->put_AttStrategy(0);
    return lastResult_ == korvel::S_OK;
}

CDevice::HRESULT CDevice::SetAttStrategy(int& strategy) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_AttStrategy,
                          &korvel::IKorvelV8NSystem::get_AttStrategy, strategy,
                          Z5R_TEXT("Ошибка установки стратегии управления аттенюатором"));
}

CDevice::HRESULT CDevice::SetSyncInInverse(bool& inverted) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_TriggerInputInverted,
                          &korvel::IKorvelV8NSystem::get_TriggerInputInverted, inverted,
                          Z5R_TEXT("Ошибка установки инверсии сигнала синхровхода"));
}

CDevice::HRESULT CDevice::SetExtRef(bool& enabled) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_ExtRefEnabled,
                          &korvel::IKorvelV8NSystem::get_ExtRefEnabled, enabled, nullptr);
}

CDevice::HRESULT CDevice::SetExtRefFreq(double& hz) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_ExtRefFrequency,
                          &korvel::IKorvelV8NSystem::get_ExtRefFrequency, hz, nullptr);
}

CDevice::HRESULT CDevice::SetPhase(std::int32_t& degrees) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_PhaseOffset,
                          &korvel::IKorvelV8NSystem::get_PhaseOffset, degrees,
                          Z5R_TEXT("Ошибка установки смещения фазы выходного сигнала"));
}

CDevice::HRESULT CDevice::SetEpc(bool& enabled) {
    return SetAndReadBack(system_.Get(), &korvel::IKorvelV8NSystem::put_ExtPowerControl,
                          &korvel::IKorvelV8NSystem::get_ExtPowerControl, enabled,
                          Z5R_TEXT("Ошибка включения внешнего управления мощностью"));
}

CDevice::HRESULT CDevice::SetRf(bool& enabled) {
    lastResult_ = kNotDone;
    if (!rf_) return kNotDone;
    const HRESULT hr = rf_->put_OutputEnabled(ToVariantBool(enabled));
    if (!Check(hr, Z5R_TEXT("Ошибка включения СВЧ выхода"))) return hr;
    VARIANT_BOOL accepted = 0;
    if (rf_->get_OutputEnabled(&accepted) == korvel::S_OK) enabled = IsTrue(accepted);
    rfOn_ = enabled;
    return hr;
}

CDevice::HRESULT CDevice::GetSerial(std::string& serial) const {
    serial = serial_;
    return korvel::S_OK;
}

CDevice::HRESULT CDevice::GetName(std::string& name) {
    lastResult_ = kNotDone;
    if (!system_) return kNotDone;
    std::string answer;
    lastResult_ = system_->get_Name(&answer);
    if (lastResult_ == korvel::S_OK) name = answer;
    return lastResult_;
}

bool CDevice::IsRfOn() const { return rf_ ? rfOn_ : false; }

// -------------------------------------------------------- pulse modulation

CDevice::HRESULT CDevice::PulseModOff() {
    lastResult_ = kNotDone;
    if (!pulseGen_ || !pulseMod_) return kNotDone;
    VARIANT_BOOL on = 0;
    const HRESULT query = pulseMod_->get_Enabled(&on);
    lastResult_ = query;
    if (query != korvel::S_OK || on == 0) return query;
    const HRESULT hr = pulseMod_->put_Enabled(0);
    Check(hr, Z5R_TEXT("Ошибка включения импульсной модуляции"));
    return hr;
}

CDevice::HRESULT CDevice::SetPeriodicPulse(double& width, double& period, double& duty) {
    lastResult_ = kNotDone;
    if (!pulseGen_ || !pulseMod_ || !packetGen_) return kNotDone;
    VARIANT_BOOL on = 0;
    HRESULT hr = korvel::S_OK;
    if (pulseMod_->get_Enabled(&on) == korvel::S_OK && on != 0) {
        hr = pulseMod_->put_Enabled(0);
        if (!Check(hr, Z5R_TEXT("Ошибка включения импульсной модуляции"))) return hr;
    }
    hr = packetGen_->put_Enabled(0);
    if (!Check(hr, Z5R_TEXT("Ошибка установки периода модуляции"))) return hr;
    hr = pulseGen_->put_Period(period);
    if (!Check(hr, Z5R_TEXT("Ошибка установки периода модуляции"))) return hr;
    hr = pulseGen_->put_Width(width);
    if (!Check(hr, Z5R_TEXT("Ошибка"))) return hr;
    hr = pulseMod_->put_Enabled(1);
    if (!Check(hr, Z5R_TEXT("Ошибка включения импульсной модуляции"))) return hr;

    double accepted = 0.0;
    if (pulseGen_->get_Period(&accepted) != korvel::S_OK) return hr;
    period = accepted;
    if (pulseGen_->get_Width(&accepted) != korvel::S_OK) return hr;
    width = accepted;
    duty = (width > 0.0 && width <= period) ? period / width : -1.0;
    return hr;
}

CDevice::HRESULT CDevice::LoadPacket(std::vector<SPulse>& pulses, double& packetPeriod) {
    lastResult_ = kNotDone;
    if (!pulseGen_ || !pulseMod_ || !packetGen_) return kNotDone;
    VARIANT_BOOL on = 0;
    HRESULT hr = korvel::S_OK;
    if (pulseMod_->get_Enabled(&on) == korvel::S_OK && on != 0) {
        hr = pulseMod_->put_Enabled(0);
        if (!Check(hr, Z5R_TEXT("Ошибка включения импульсной модуляции"))) return hr;
    }
    hr = pulseGen_->put_Period(packetPeriod);
    if (!Check(hr, Z5R_TEXT("Ошибка установки периода модуляции"))) return hr;
    hr = pulseMod_->put_Enabled(1);
    if (!Check(hr, Z5R_TEXT("Ошибка включения импульсной модуляции"))) return hr;

    std::vector<double> widths;
    std::vector<double> gaps;
    widths.reserve(pulses.size());
    gaps.reserve(pulses.size());
    for (const SPulse& pulse : pulses) {
        widths.push_back(pulse.tau);
        gaps.push_back(std::max(pulse.period - pulse.tau, 0.0));
    }
    hr = packetGen_->Load(1, widths, gaps);
    if (!Check(hr, Z5R_TEXT("Ошибка прогрузки пачки радиоимпульсов"))) return hr;

    // The instrument's packet replaces the request; a gap it did not return
    // counts as none.
    pulses.resize(widths.size());
    double total = 0.0;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        SPulse& pulse = pulses[i];
        const double gap = i < gaps.size() ? gaps[i] : 0.0;
        pulse.tau = widths[i];
        pulse.period = std::max(widths[i] + gap, 0.0);
        if (pulse.tau <= 0.0) {
            pulse.q = 0.0;
        } else if (i + 1 == widths.size()) {
            pulse.q = 1.0;
        } else {
            pulse.q = pulse.period / pulse.tau;
        }
        total += pulse.period;
    }
    double accepted = 0.0;
    if (pulseGen_->get_Period(&accepted) == korvel::S_OK) packetPeriod = accepted;
    if (packetPeriod < total) packetPeriod = total;
    return hr;
}

CDevice::HRESULT CDevice::SetPulseSource(int source) {
    lastResult_ = kNotDone;
    if (!pulseGen_ || !pulseMod_ || !packetGen_) return kNotDone;
    lastResult_ = pulseMod_->put_Source(source);
    if (lastResult_ != korvel::S_OK) return lastResult_;
    lastResult_ = pulseMod_->put_Enabled(1);
    return lastResult_;
}

// ------------------------------------------------------------- error queue

CDevice::HRESULT CDevice::ReadErrors(std::vector<SError>& errors) {
    lastResult_ = kNotDone;
    if (!utility_) return kNotDone;
    for (int i = 0; i < kMaxErrorEntries; ++i) {
        std::int32_t code = 0;
        std::string text;
        lastResult_ = utility_->ErrorQuery(&code, &text);
        // A failing query would otherwise be asked again for ever.
        if (lastResult_ != korvel::S_OK || code == 0) break;
        errors.push_back(SError{std::move(text), code});
    }
    return lastResult_;
}

}  // namespace z5r
