#include "block_transfer.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "field_access.h"
#include "korvel/korvel_v8n.h"

namespace korvel::v8n {
namespace {

constexpr std::int16_t kCorrected = 1;  // KV_PARAMETER_CORRECTED
// A length no instrument of this kind keeps; an answer claiming more is broken.
constexpr double kLongestSeries = 1 << 20;

bool Invalid(const SBlockLayout& layout, std::span<const SSeries> series) {
    for (const SSeries& s : series) {
        if (std::any_of(s.values->begin(), s.values->end(), [](double v) { return std::isnan(v); }))
            return true;
        if (layout.sharedLength && s.values->size() != series.front().values->size()) return true;
    }
    return false;
}

// A length from an answer as a count, or nothing when it cannot be one.
std::optional<std::size_t> Length(double value) {
    if (!(value >= 0 && value <= kLongestSeries)) return std::nullopt;
    return static_cast<std::size_t>(std::llround(value));
}

HRESULT SendSeries(CProtocolChannel& channel, const SSeries& s, std::size_t count,
                   bool& corrected) {
    for (std::size_t offset = 0; offset < count; offset += kvproto::kChunkElements) {
        const std::size_t n = std::min<std::size_t>(kvproto::kChunkElements, count - offset);
        SReply reply;
        const HRESULT hr = SetChunk(channel, s.chunkParam, s.scale, offset,
                                    std::span(*s.values).subspan(offset, n), reply);
        if (Failed(hr)) return hr;
        corrected = corrected || reply.status == kCorrected;
    }
    return S_OK;
}

HRESULT ReadSeries(CProtocolChannel& channel, const SSeries& s, std::size_t count,
                   std::vector<double>& kept) {
    kept.clear();
    kept.reserve(count);
    std::vector<double> chunk;
    while (kept.size() < count) {
        const HRESULT hr = GetChunk(channel, s.chunkParam, s.scale, kept.size(), chunk);
        if (Failed(hr)) return hr;
        // GetChunk insists on at least one element, so this always advances.
        const std::size_t n = std::min(chunk.size(), count - kept.size());
        kept.insert(kept.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return S_OK;
}

}  // namespace

HRESULT TransferSeries(CProtocolChannel& channel, const SBlockLayout& layout,
                       std::span<const SSeries> series) {
    if (series.empty() || Invalid(layout, series)) return E_INVALIDARG;
    const std::size_t lengths = layout.sharedLength ? 1 : series.size();

    std::vector<double> requested;
    for (std::size_t i = 0; i < lengths; ++i) {
        requested.push_back(static_cast<double>(series[i].values->size()));
    }
    SReply begun;
    HRESULT hr = SetField(channel, layout.begin, requested, &begun);
    if (Failed(hr)) return hr;
    bool corrected = begun.status == kCorrected;

    // Only what the instrument agreed to take is sent.
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto agreed = Length(begun.values[layout.sharedLength ? 0 : i]);
        if (!agreed) return KORVEL_E_BAD_ANSWER;
        const std::size_t count = std::min(*agreed, series[i].values->size());
        hr = SendSeries(channel, series[i], count, corrected);
        if (Failed(hr)) return hr;
    }

    SReply committed;
    hr = SetField(channel, layout.commit, {}, &committed, lengths);
    if (Failed(hr)) return hr;
    corrected = corrected || committed.status == kCorrected;
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto length = Length(committed.values[layout.sharedLength ? 0 : i]);
        if (!length) return KORVEL_E_BAD_ANSWER;
        kept.push_back(*length);
        corrected = corrected || *length != series[i].values->size();
    }
    if (!corrected) return S_OK;  // the instrument holds exactly what was sent

    std::vector<std::vector<double>> readBack(series.size());
    for (std::size_t i = 0; i < series.size(); ++i) {
        hr = ReadSeries(channel, series[i], kept[i], readBack[i]);
        if (Failed(hr)) return hr;
    }
    for (std::size_t i = 0; i < series.size(); ++i) *series[i].values = std::move(readBack[i]);
    return S_OK;
}

}  // namespace korvel::v8n
