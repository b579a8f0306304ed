#include "fake_driver.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "korvel/com_registry.h"

namespace coretest {

using namespace korvel;

std::string LogNumber(double value) {
    char text[40];
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

HRESULT SFakeState::Call(const std::string& operation, const std::string& arguments) {
    log.push_back(operation + "(" + arguments + ")");
    const auto found = failures.find(operation);
    return found == failures.end() ? S_OK : found->second;
}

namespace {

std::string Numbers(const std::vector<double>& values) {
    std::string text = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) text += ",";
        text += LogNumber(values[i]);
    }
    return text + "]";
}

std::string Args(std::initializer_list<double> values) {
    std::string text;
    for (double value : values) {
        if (!text.empty()) text += ", ";
        text += LogNumber(value);
    }
    return text;
}

double Clamp(double value, double low, double high) { return std::min(std::max(value, low), high); }

using State = std::shared_ptr<SFakeState>;

// Reference counting shared by every fake object.
template <typename Interface, const IID& kIid>
class CFakeObject : public Interface {
public:
    explicit CFakeObject(State state) : s(std::move(state)) { ++s->liveObjects; }
    virtual ~CFakeObject() {
        --s->liveObjects;
        s->log.push_back("~" + name_);
    }
    void SetName(std::string name) { name_ = std::move(name); }

    HRESULT QueryInterface(const IID& iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == kIid || iid == IID_IUnknown) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    std::uint32_t AddRef() override { return ++references_; }
    std::uint32_t Release() override {
        const std::uint32_t left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    State s;

private:
    std::string name_;
    std::atomic<std::uint32_t> references_{1};
};

// Hands out a new object through a getter, unless the test withholds it.
template <typename Object, typename Interface>
HRESULT GiveOut(const State& s, const std::string& getter, Interface** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const HRESULT hr = s->Call(getter);
    if (hr != S_OK) return hr;
    if (s->Missing(getter)) return E_NOINTERFACE;
    auto* object = new Object(s);
    object->SetName(getter.substr(getter.find("get_") + 4));
    *out = object;
    return S_OK;
}

template <typename T>
HRESULT Read(const State& s, const std::string& getter, T* out, T value) {
    const HRESULT hr = s->Call(getter);
    if constexpr (std::is_arithmetic_v<T>) {
        if (const auto answer = s->answers.find(getter); answer != s->answers.end())
            value = static_cast<T>(answer->second);
    }
    if (hr == S_OK && out) *out = value;
    return hr;
}

class CFakeUtility : public CFakeObject<IIviDriverUtility, IID_IIviDriverUtility> {
public:
    using CFakeObject::CFakeObject;
    HRESULT ErrorQuery(std::int32_t* code, std::string* message) override {
        const HRESULT hr = s->Call("Utility.ErrorQuery");
        if (hr != S_OK) return hr;
        if (s->errorQueue.empty()) {
            *code = 0;
            message->clear();
        } else {
            *code = s->errorQueue.front().first;
            *message = s->errorQueue.front().second;
            s->errorQueue.pop_front();
        }
        return S_OK;
    }
};

class CFakeRF : public CFakeObject<IKorvelV8NRF, IID_IKorvelV8NRF> {
public:
    using CFakeObject::CFakeObject;
    HRESULT Configure(double frequency, double level) override {
        const HRESULT hr = s->Call("RF.Configure", Args({frequency, level}));
        if (hr != S_OK) return hr;
        s->frequency = Clamp(frequency, s->minFreq, s->maxFreq);
        s->level = Clamp(level, s->minLevel, s->maxLevel);
        return S_OK;
    }
    HRESULT put_Frequency(double hz) override {
        const HRESULT hr = s->Call("RF.put_Frequency", Args({hz}));
        if (hr == S_OK) s->frequency = Clamp(hz, s->minFreq, s->maxFreq);
        return hr;
    }
    HRESULT get_Frequency(double* hz) override { return Read(s, "RF.get_Frequency", hz, s->frequency); }
    HRESULT put_Level(double dbm) override {
        const HRESULT hr = s->Call("RF.put_Level", Args({dbm}));
        if (hr == S_OK) s->level = Clamp(dbm, s->minLevel, s->maxLevel);
        return hr;
    }
    HRESULT get_Level(double* dbm) override { return Read(s, "RF.get_Level", dbm, s->level); }
    HRESULT put_OutputEnabled(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("RF.put_OutputEnabled", Args({double(enabled)}));
        if (hr == S_OK) s->outputEnabled = enabled ? 1 : 0;
        return hr;
    }
    HRESULT get_OutputEnabled(VARIANT_BOOL* enabled) override {
        return Read(s, "RF.get_OutputEnabled", enabled, s->outputEnabled);
    }
};

class CFakeFrequencyStep : public CFakeObject<IKorvelV8NFrequencyStep, IID_IKorvelV8NFrequencyStep> {
public:
    using CFakeObject::CFakeObject;
    HRESULT Configure(double start, double stop, std::int32_t scaling, double step) override {
        const HRESULT hr = s->Call("FrequencyStep.Configure", Args({start, stop, double(scaling), step}));
        if (hr != S_OK) return hr;
        s->sweepStart = Clamp(start, s->minFreq, s->maxFreq);
        s->sweepStop = Clamp(stop, s->minFreq, s->maxFreq);
        const double span = std::fabs(s->sweepStop - s->sweepStart);
        // An instrument sweeps at most maxSweepPoints points.
        if (std::isfinite(s->maxSweepPoints) && span > 0) step = std::max(step, span / (s->maxSweepPoints - 1));
        s->sweepStep = step;
        return S_OK;
    }
    HRESULT get_Start(double* hz) override { return Read(s, "FrequencyStep.get_Start", hz, s->sweepStart); }
    HRESULT get_Stop(double* hz) override { return Read(s, "FrequencyStep.get_Stop", hz, s->sweepStop); }
    HRESULT get_Step(double* hz) override { return Read(s, "FrequencyStep.get_Step", hz, s->sweepStep); }
    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        const HRESULT hr = s->Call("FrequencyStep.put_SinglePoint", Args({double(on)}));
        if (Succeeded(hr)) s->freqSingle = on;
        return hr;
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override {
        return Read(s, "FrequencyStep.get_SinglePoint", on, s->freqSingle);
    }
    HRESULT put_Dwell(double seconds) override {
        const HRESULT hr = s->Call("FrequencyStep.put_Dwell", Args({seconds}));
        if (Succeeded(hr)) s->freqDwell = std::max(seconds, s->minDwell);
        return hr;
    }
    HRESULT get_Dwell(double* seconds) override {
        return Read(s, "FrequencyStep.get_Dwell", seconds, s->freqDwell);
    }
};

class CFakePowerStep : public CFakeObject<IKorvelV8NPowerStep, IID_IKorvelV8NPowerStep> {
public:
    using CFakeObject::CFakeObject;
    HRESULT Configure(double start, double stop, double step) override {
        const HRESULT hr = s->Call("PowerStep.Configure", Args({start, stop, step}));
        if (hr != S_OK) return hr;
        s->levelStart = Clamp(start, s->minLevel, s->maxLevel);
        s->levelStop = Clamp(stop, s->minLevel, s->maxLevel);
        return S_OK;
    }
    HRESULT get_Start(double* dbm) override { return Read(s, "PowerStep.get_Start", dbm, s->levelStart); }
    HRESULT get_Stop(double* dbm) override { return Read(s, "PowerStep.get_Stop", dbm, s->levelStop); }
    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        const HRESULT hr = s->Call("PowerStep.put_SinglePoint", Args({double(on)}));
        if (Succeeded(hr)) s->levelSingle = on;
        return hr;
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override {
        return Read(s, "PowerStep.get_SinglePoint", on, s->levelSingle);
    }
    HRESULT put_Dwell(double seconds) override {
        const HRESULT hr = s->Call("PowerStep.put_Dwell", Args({seconds}));
        if (Succeeded(hr)) s->levelDwell = std::max(seconds, s->minDwell);
        return hr;
    }
    HRESULT get_Dwell(double* seconds) override { return Read(s, "PowerStep.get_Dwell", seconds, s->levelDwell); }
};

class CFakeList : public CFakeObject<IKorvelV8NList, IID_IKorvelV8NList> {
public:
    using CFakeObject::CFakeObject;
    HRESULT put_SinglePoint(VARIANT_BOOL on) override {
        const HRESULT hr = s->Call("List.put_SinglePoint", Args({double(on)}));
        if (Succeeded(hr)) s->listSingle = on;
        return hr;
    }
    HRESULT get_SinglePoint(VARIANT_BOOL* on) override { return Read(s, "List.get_SinglePoint", on, s->listSingle); }
    HRESULT put_Dwell(double seconds) override {
        const HRESULT hr = s->Call("List.put_Dwell", Args({seconds}));
        if (Succeeded(hr)) s->listDwell = std::max(seconds, s->minDwell);
        return hr;
    }
    HRESULT get_Dwell(double* seconds) override { return Read(s, "List.get_Dwell", seconds, s->listDwell); }
    HRESULT Configure(const std::string& name, std::vector<double>& frequencies,
                      std::vector<double>& levels) override {
        const HRESULT hr = s->Call("List.Configure",
                                   "\"" + name + "\", " + Numbers(frequencies) + ", " + Numbers(levels));
        if (hr != S_OK) return hr;
        if (s->editList) s->editList(frequencies, levels);
        s->listFrequencies = frequencies;
        s->listLevels = levels;
        return S_OK;
    }
};

class CFakeTriggerOutput : public CFakeObject<IKorvelV8NTriggerOutput, IID_IKorvelV8NTriggerOutput> {
public:
    using CFakeObject::CFakeObject;
    HRESULT put_Duration(double seconds) override {
        const HRESULT hr = s->Call("TriggerOutput.put_Duration", Args({seconds}));
        if (hr == S_OK) s->trigDuration = seconds;
        return hr;
    }
    HRESULT get_Duration(double* seconds) override {
        return Read(s, "TriggerOutput.get_Duration", seconds, s->trigDuration);
    }
    HRESULT put_Mode(std::int32_t mode) override {
        const HRESULT hr = s->Call("TriggerOutput.put_Mode", Args({double(mode)}));
        if (hr == S_OK) s->trigMode = mode;
        return hr;
    }
    HRESULT get_Mode(std::int32_t* mode) override { return Read(s, "TriggerOutput.get_Mode", mode, s->trigMode); }
    HRESULT put_Inverted(VARIANT_BOOL inverted) override {
        const HRESULT hr = s->Call("TriggerOutput.put_Inverted", Args({double(inverted)}));
        if (hr == S_OK) s->trigInverted = inverted;
        return hr;
    }
    HRESULT get_Inverted(VARIANT_BOOL* inverted) override {
        return Read(s, "TriggerOutput.get_Inverted", inverted, s->trigInverted);
    }
    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("TriggerOutput.put_Enabled", Args({double(enabled)}));
        if (hr == S_OK) s->trigEnabled = enabled;
        return hr;
    }
    HRESULT get_Enabled(VARIANT_BOOL* enabled) override {
        return Read(s, "TriggerOutput.get_Enabled", enabled, s->trigEnabled);
    }
};

class CFakeSweep : public CFakeObject<IKorvelV8NSweep, IID_IKorvelV8NSweep> {
public:
    using CFakeObject::CFakeObject;
    HRESULT get_FrequencyStep(IKorvelV8NFrequencyStep** out) override {
        return GiveOut<CFakeFrequencyStep>(s, "Sweep.get_FrequencyStep", out);
    }
    HRESULT get_PowerStep(IKorvelV8NPowerStep** out) override {
        return GiveOut<CFakePowerStep>(s, "Sweep.get_PowerStep", out);
    }
    HRESULT get_List(IKorvelV8NList** out) override { return GiveOut<CFakeList>(s, "Sweep.get_List", out); }
    HRESULT get_TriggerOutput(IKorvelV8NTriggerOutput** out) override {
        return GiveOut<CFakeTriggerOutput>(s, "Sweep.get_TriggerOutput", out);
    }
    HRESULT put_Mode(std::int32_t mode) override {
        const HRESULT hr = s->Call("Sweep.put_Mode", Args({double(mode)}));
        if (hr == S_OK) s->sweepMode = mode;
        return hr;
    }
    HRESULT put_TriggerSource(std::int32_t source) override {
        const HRESULT hr = s->Call("Sweep.put_TriggerSource", Args({double(source)}));
        if (hr == S_OK) s->triggerSource = source;
        return hr;
    }
};

class CFakeSystem : public CFakeObject<IKorvelV8NSystem, IID_IKorvelV8NSystem> {
public:
    using CFakeObject::CFakeObject;
    HRESULT get_SerialNumber(std::string* serial) override {
        return Read(s, "System.get_SerialNumber", serial, s->serialNumber);
    }
    HRESULT get_Name(std::string* name) override { return Read(s, "System.get_Name", name, s->name); }
    HRESULT get_RfButton(VARIANT_BOOL* on) override { return Read(s, "System.get_RfButton", on, s->rfButton); }
    HRESULT get_Locked(VARIANT_BOOL* locked) override { return Read(s, "System.get_Locked", locked, s->locked); }
    HRESULT get_ExtRefLocked(VARIANT_BOOL* locked) override {
        return Read(s, "System.get_ExtRefLocked", locked, s->extRefLocked);
    }
    HRESULT get_LevelSettled(VARIANT_BOOL* settled) override {
        return Read(s, "System.get_LevelSettled", settled, s->levelSettled);
    }
    HRESULT put_AttStrategy(std::int32_t strategy) override {
        const HRESULT hr = s->Call("System.put_AttStrategy", Args({double(strategy)}));
        if (hr == S_OK) s->attStrategy = strategy;
        return hr;
    }
    HRESULT get_AttStrategy(std::int32_t* strategy) override {
        return Read(s, "System.get_AttStrategy", strategy, s->attStrategy);
    }
    HRESULT put_ExtRefEnabled(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("System.put_ExtRefEnabled", Args({double(enabled)}));
        if (hr == S_OK) s->extRefEnabled = enabled;
        return hr;
    }
    HRESULT get_ExtRefEnabled(VARIANT_BOOL* enabled) override {
        return Read(s, "System.get_ExtRefEnabled", enabled, s->extRefEnabled);
    }
    HRESULT put_ExtRefFrequency(double hz) override {
        const HRESULT hr = s->Call("System.put_ExtRefFrequency", Args({hz}));
        if (hr == S_OK) s->extRefFrequency = hz;
        return hr;
    }
    HRESULT get_ExtRefFrequency(double* hz) override {
        return Read(s, "System.get_ExtRefFrequency", hz, s->extRefFrequency);
    }
    HRESULT put_TriggerInputInverted(VARIANT_BOOL inverted) override {
        const HRESULT hr = s->Call("System.put_TriggerInputInverted", Args({double(inverted)}));
        if (hr == S_OK) s->triggerInputInverted = inverted;
        return hr;
    }
    HRESULT get_TriggerInputInverted(VARIANT_BOOL* inverted) override {
        return Read(s, "System.get_TriggerInputInverted", inverted, s->triggerInputInverted);
    }
    HRESULT put_PhaseOffset(std::int32_t degrees) override {
        const HRESULT hr = s->Call("System.put_PhaseOffset", Args({double(degrees)}));
        if (hr == S_OK) s->phase = degrees;
        return hr;
    }
    HRESULT get_PhaseOffset(std::int32_t* degrees) override {
        return Read(s, "System.get_PhaseOffset", degrees, s->phase);
    }
    HRESULT put_ExtPowerControl(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("System.put_ExtPowerControl", Args({double(enabled)}));
        if (hr == S_OK) s->extPowerControl = enabled;
        return hr;
    }
    HRESULT get_ExtPowerControl(VARIANT_BOOL* enabled) override {
        return Read(s, "System.get_ExtPowerControl", enabled, s->extPowerControl);
    }
};

class CFakePulseOutput
    : public CFakeObject<IKorvelV8NPulseGeneratorOutput, IID_IKorvelV8NPulseGeneratorOutput> {
public:
    using CFakeObject::CFakeObject;
};

class CFakePacketGenerator
    : public CFakeObject<IKorvelV8NPulsePacketGenerator, IID_IKorvelV8NPulsePacketGenerator> {
public:
    using CFakeObject::CFakeObject;
    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("PacketGenerator.put_Enabled", Args({double(enabled)}));
        if (hr == S_OK) s->packetEnabled = enabled;
        return hr;
    }
    HRESULT Load(VARIANT_BOOL enable, std::vector<double>& widths, std::vector<double>& gaps) override {
        const HRESULT hr = s->Call("PacketGenerator.Load",
                                   LogNumber(enable) + ", " + Numbers(widths) + ", " + Numbers(gaps));
        if (hr != S_OK) return hr;
        if (s->editPacket) s->editPacket(widths, gaps);
        s->packetEnabled = enable;
        s->packetWidths = widths;
        s->packetGaps = gaps;
        return S_OK;
    }
};

class CFakePulseGenerator : public CFakeObject<IKorvelV8NPulseGenerator, IID_IKorvelV8NPulseGenerator> {
public:
    using CFakeObject::CFakeObject;
    HRESULT get_Output(IKorvelV8NPulseGeneratorOutput** out) override {
        return GiveOut<CFakePulseOutput>(s, "PulseGenerator.get_Output", out);
    }
    HRESULT get_PacketGenerator(IKorvelV8NPulsePacketGenerator** out) override {
        return GiveOut<CFakePacketGenerator>(s, "PulseGenerator.get_PacketGenerator", out);
    }
    HRESULT put_Period(double seconds) override {
        const HRESULT hr = s->Call("PulseGenerator.put_Period", Args({seconds}));
        if (hr == S_OK) s->pulsePeriod = seconds;
        return hr;
    }
    HRESULT get_Period(double* seconds) override {
        return Read(s, "PulseGenerator.get_Period", seconds, s->pulsePeriod);
    }
    HRESULT put_Width(double seconds) override {
        const HRESULT hr = s->Call("PulseGenerator.put_Width", Args({seconds}));
        if (hr == S_OK) s->pulseWidth = seconds;
        return hr;
    }
    HRESULT get_Width(double* seconds) override { return Read(s, "PulseGenerator.get_Width", seconds, s->pulseWidth); }
};

class CFakePulseModulation
    : public CFakeObject<IKorvelV8NPulseModulation, IID_IKorvelV8NPulseModulation> {
public:
    using CFakeObject::CFakeObject;
    HRESULT put_Enabled(VARIANT_BOOL enabled) override {
        const HRESULT hr = s->Call("PulseModulation.put_Enabled", Args({double(enabled)}));
        if (hr == S_OK) s->pulseModEnabled = enabled;
        return hr;
    }
    HRESULT get_Enabled(VARIANT_BOOL* enabled) override {
        const HRESULT hr = s->Call("PulseModulation.get_Enabled");
        if (hr != S_OK) return hr;
        if (!s->hasPulseModulation) return KORVEL_E_NO_PULSE_MODULATION;
        *enabled = s->pulseModEnabled;
        return S_OK;
    }
    HRESULT put_Source(std::int32_t source) override {
        const HRESULT hr = s->Call("PulseModulation.put_Source", Args({double(source)}));
        if (hr == S_OK) s->pulseSource = source;
        return hr;
    }
};

class CFakeRoot : public CFakeObject<IKorvelV8N, IID_IKorvelV8N> {
public:
    using CFakeObject::CFakeObject;
    HRESULT get_Utility(IIviDriverUtility** out) override {
        return GiveOut<CFakeUtility>(s, "Root.get_Utility", out);
    }
    HRESULT get_RF(IKorvelV8NRF** out) override { return GiveOut<CFakeRF>(s, "Root.get_RF", out); }
    HRESULT get_PulseGenerator(IKorvelV8NPulseGenerator** out) override {
        return GiveOut<CFakePulseGenerator>(s, "Root.get_PulseGenerator", out);
    }
    HRESULT get_Sweep(IKorvelV8NSweep** out) override { return GiveOut<CFakeSweep>(s, "Root.get_Sweep", out); }
    HRESULT get_PulseModulation(IKorvelV8NPulseModulation** out) override {
        return GiveOut<CFakePulseModulation>(s, "Root.get_PulseModulation", out);
    }
    HRESULT SendTrigger() override { return s->Call("Root.SendTrigger"); }
    HRESULT get_System(IKorvelV8NSystem** out) override {
        return GiveOut<CFakeSystem>(s, "Root.get_System", out);
    }
    HRESULT Initialize(const std::string& resource, VARIANT_BOOL idQuery, VARIANT_BOOL reset,
                       const std::string& options) override {
        s->Call("Root.Initialize", "\"" + resource + "\", " + LogNumber(idQuery) + ", " + LogNumber(reset) +
                                       ", \"" + options + "\"");
        s->initialized = s->initializeResult == S_OK;
        return s->initializeResult;
    }
    HRESULT get_Initialized(VARIANT_BOOL* initialized) override {
        return Read(s, "Root.get_Initialized", initialized, s->initializedAnswer);
    }
    HRESULT Close() override {
        const HRESULT hr = s->Call("Root.Close");
        s->initialized = false;
        return hr;
    }
};

}  // namespace

std::shared_ptr<SFakeState> RegisterFakeDriver() {
    auto state = std::make_shared<SFakeState>();
    std::weak_ptr<SFakeState> weak = state;
    korvel::RegisterClass(CLSID_KorvelV8N, [weak](const IID& iid, void** object) -> HRESULT {
        const State s = weak.lock();
        if (!s) return E_FAIL;
        ++s->factoryCalls;
        if (!s->creationResults.empty()) {
            const HRESULT hr = s->creationResults.front();
            s->creationResults.pop_front();
            if (hr != S_OK) return hr;
        }
        auto* root = new CFakeRoot(s);
        root->SetName("Root");
        const HRESULT hr = root->QueryInterface(iid, object);
        root->Release();
        return hr;
    });
    return state;
}

void RevokeFakeDriver() { korvel::RevokeClass(CLSID_KorvelV8N); }

}  // namespace coretest
