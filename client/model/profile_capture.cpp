#include "model/profile_capture.h"

#include "z5r/i18n.h"

namespace z5r {

namespace {

void Take(const SEditStep& step, double& inc, bool& inctype) {
    inc = step.increment;
    inctype = step.decimal;
}

void Take(const SEditStep& step, double& inc, bool& inctype, double& incpow) {
    Take(step, inc, inctype);
    if (step.power) incpow = *step.power;
}

SEditStep StepOf(double inc, bool inctype) { return SEditStep{inc, inctype, std::nullopt}; }
SEditStep StepOf(double inc, bool inctype, double incpow) { return SEditStep{inc, inctype, StepExponent(incpow)}; }

// "<start>[ <unit>] - <stop> <unit>; ": the start's unit only where it differs.
std::string RangeText(const SEditText& start, const SEditText& stop) {
    std::string text = start.text;
    if (start.unit != stop.unit) text += " " + start.unit;
    return text + " - " + stop.text + " " + stop.unit + "; ";
}

bool FrequencyRangeMode(int mode) { return mode == 1 || mode == 3; }
bool PowerRangeMode(int mode) { return mode == 2 || mode == 3; }

}  // namespace

SEditSteps EditStepsOf(const SProfile& p) {
    const SFreqParams& f = p.freqparams;
    const SPowParams& w = p.powparams;
    const SPulseModParams& m = p.pulsemodparams;
    SEditSteps steps;
    steps.edits = {
        StepOf(f.startinc, f.startinctype, f.startincpow),
        StepOf(f.stopinc, f.stopinctype, f.stopincpow),
        StepOf(f.centerinc, f.centerinctype, f.centerincpow),
        StepOf(f.spaninc, f.spaninctype, f.spanincpow),
        StepOf(f.pointsinc, f.pointsinctype),
        StepOf(w.startinc, w.startinctype),
        StepOf(w.stopinc, w.stopinctype),
        StepOf(w.centerinc, w.centerinctype),
        StepOf(w.spaninc, w.spaninctype),
        StepOf(w.pointsinc, w.pointsinctype),
        StepOf(p.controlparams.dwellinc, p.controlparams.dwellinctype, p.controlparams.dwellincpow),
        StepOf(p.syncparams.synctimeinc, p.syncparams.synctimeinctype, p.syncparams.synctimeincpow),
        StepOf(p.syncparams.phaseinc, p.syncparams.phaseinctype),
        StepOf(m.tauinc, m.tauinctype),
        StepOf(m.periodsingleinc, m.periodsingleinctype),
        StepOf(m.qinc, m.qinctype),
        StepOf(m.periodpacketinc, m.periodpacketinctype),
    };
    steps.ceiling = StepOf(w.limitinc, w.limitinctype);
    return steps;
}

std::string CaptureSummary(int mode, const std::array<SEditText, kEditCount>& texts) {
    std::string summary;
    if (FrequencyRangeMode(mode)) {
        summary += RangeText(texts[eiStart], texts[eiStop]);
    } else if (mode == 0 || mode == 2) {
        summary += texts[eiCenter].text + " " + texts[eiCenter].unit + "; ";
    }
    if (PowerRangeMode(mode)) {
        summary += RangeText(texts[eiPowStart], texts[eiPowStop]);
    } else if (mode == 0 || mode == 1) {
        summary += texts[eiPowCenter].text + " " + texts[eiPowCenter].unit;
    } else {
        summary += Tr("Список");
    }
    return summary;
}

void TakeFrequencyAndPowerSteps(SProfile& p, const SEditSteps& steps, int attStrategy) {
    const auto& e = steps.edits;
    SFreqParams& f = p.freqparams;
    Take(e[eiStart], f.startinc, f.startinctype, f.startincpow);
    Take(e[eiStop], f.stopinc, f.stopinctype, f.stopincpow);
    Take(e[eiCenter], f.centerinc, f.centerinctype, f.centerincpow);
    Take(e[eiSpan], f.spaninc, f.spaninctype, f.spanincpow);
    Take(e[eiPoints], f.pointsinc, f.pointsinctype);
    SPowParams& w = p.powparams;
    Take(e[eiPowStart], w.startinc, w.startinctype);
    Take(e[eiPowStop], w.stopinc, w.stopinctype);
    Take(e[eiPowCenter], w.centerinc, w.centerinctype);
    Take(e[eiPowSpan], w.spaninc, w.spaninctype);
    Take(e[eiPowPoints], w.pointsinc, w.pointsinctype);
    Take(steps.ceiling, w.limitinc, w.limitinctype);
    w.strategy = attStrategy;
}

void TakeOtherSteps(SProfile& p, const SEditSteps& steps) {
    const auto& e = steps.edits;
    Take(e[eiDwell], p.controlparams.dwellinc, p.controlparams.dwellinctype, p.controlparams.dwellincpow);
    Take(e[eiSyncTime], p.syncparams.synctimeinc, p.syncparams.synctimeinctype, p.syncparams.synctimeincpow);
    Take(e[eiPhase], p.syncparams.phaseinc, p.syncparams.phaseinctype);
    SPulseModParams& m = p.pulsemodparams;
    Take(e[eiTau], m.tauinc, m.tauinctype);
    Take(e[eiPeriodSingle], m.periodsingleinc, m.periodsingleinctype);
    Take(e[eiQ], m.qinc, m.qinctype);
    Take(e[eiPeriodPacket], m.periodpacketinc, m.periodpacketinctype);
}

}  // namespace z5r
