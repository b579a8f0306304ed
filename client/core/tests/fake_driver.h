// A synthesizer driver made for tests: it implements the driver interfaces,
// keeps what it is told, and records every call with its arguments in one
// log. It can be told to clamp like an instrument, to fail a given operation
// with a given result, to withhold interfaces and to change lists it returns.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "korvel/korvel_v8n.h"

namespace coretest {

using korvel::HRESULT;
using korvel::VARIANT_BOOL;

struct SFakeState {
    // ----- behaviour
    // Operation name ("RF.put_Level") → result it answers instead of S_OK.
    std::map<std::string, HRESULT> failures;
    // Getters of sub-interfaces ("Root.get_PulseModulation") that give none.
    std::set<std::string> missingInterfaces;
    // Getter ("RF.get_Level") → number it answers instead of what it holds.
    std::map<std::string, double> answers;
    // Results of creation: answered by the factory in turn before it creates.
    std::deque<HRESULT> creationResults;
    HRESULT initializeResult = korvel::S_OK;
    VARIANT_BOOL initializedAnswer = 1;
    bool hasPulseModulation = true;
    std::string serialNumber = "Z5R-0001";
    std::string name = "Z5R-40";
    VARIANT_BOOL rfButton = 1;
    VARIANT_BOOL locked = 1;
    VARIANT_BOOL extRefLocked = 1;
    VARIANT_BOOL levelSettled = 1;
    std::deque<std::pair<std::int32_t, std::string>> errorQueue;
    // Instrument limits; values outside are clamped.
    double minFreq = -std::numeric_limits<double>::infinity();
    double maxFreq = std::numeric_limits<double>::infinity();
    double minLevel = -std::numeric_limits<double>::infinity();
    double maxLevel = std::numeric_limits<double>::infinity();
    double maxSweepPoints = std::numeric_limits<double>::infinity();
    double minDwell = 0.0;
    // Applied to the lists and packets before they are kept and returned.
    std::function<void(std::vector<double>&, std::vector<double>&)> editList;
    std::function<void(std::vector<double>&, std::vector<double>&)> editPacket;

    // ----- what the driver holds
    bool initialized = false;
    double frequency = 0.0;
    double level = 0.0;
    VARIANT_BOOL outputEnabled = 0;
    std::int32_t sweepMode = 0;
    std::int32_t triggerSource = 0;
    double sweepStart = 0.0, sweepStop = 0.0, sweepStep = 0.0;
    double levelStart = 0.0, levelStop = 0.0;
    double freqDwell = 0.0, levelDwell = 0.0, listDwell = 0.0;
    VARIANT_BOOL freqSingle = 0, levelSingle = 0, listSingle = 0;
    std::vector<double> listFrequencies, listLevels;
    double trigDuration = 0.0;
    std::int32_t trigMode = 0;
    VARIANT_BOOL trigInverted = 0, trigEnabled = 0;
    std::int32_t attStrategy = 0;
    VARIANT_BOOL extRefEnabled = 0;
    double extRefFrequency = 10e6;
    VARIANT_BOOL triggerInputInverted = 0;
    std::int32_t phase = 0;
    VARIANT_BOOL extPowerControl = 0;
    double pulsePeriod = 0.0, pulseWidth = 0.0;
    VARIANT_BOOL pulseModEnabled = 0;
    std::int32_t pulseSource = 0;
    VARIANT_BOOL packetEnabled = 0;
    std::vector<double> packetWidths, packetGaps;

    // ----- observation
    // Every call as "Interface.operation(arguments)"; "~Name" when an object
    // goes away (its last reference released).
    std::vector<std::string> log;
    int liveObjects = 0;
    int factoryCalls = 0;

    // Records the call and answers its configured result.
    HRESULT Call(const std::string& operation, const std::string& arguments = "");
    bool Missing(const std::string& getter) const { return missingInterfaces.count(getter) != 0; }
};

// A text for a double as the log shows it: shortest exact form.
std::string LogNumber(double value);

// Registers the fake as CLSID_KorvelV8N (replacing any class there) and
// returns its state; RevokeFakeDriver removes it.
std::shared_ptr<SFakeState> RegisterFakeDriver();
void RevokeFakeDriver();

}  // namespace coretest
