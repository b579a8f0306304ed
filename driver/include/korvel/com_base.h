// The small part of the component object model the driver and the client
// share: identifiers, result codes, IUnknown and a counted reference.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

namespace korvel {

using HRESULT = std::int32_t;
using VARIANT_BOOL = std::int16_t;  // the driver answers 1 for true, 0 for false

struct GUID {
    std::uint32_t data1;
    std::uint16_t data2;
    std::uint16_t data3;
    std::array<std::uint8_t, 8> data4;
    friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

inline constexpr std::uint32_t CLSCTX_INPROC_SERVER = 0x1;
inline constexpr std::uint32_t CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr std::uint32_t CLSCTX_REMOTE_SERVER = 0x10;

inline constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
inline constexpr bool Failed(HRESULT hr) { return hr < 0; }

class IUnknown {
public:
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;  // objects go away through Release only
};

inline constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// A counted reference: assigning releases what was held before.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }
    ComPtr& operator=(const ComPtr& other) {
        if (other.p_) other.p_->AddRef();
        Reset();
        p_ = other.p_;
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        Reset();
        return *this;
    }
    // Takes over a reference the caller already owns (an out parameter's).
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }
    void Reset() {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }
    // For out parameters: releases what is held and returns the slot.
    T** Receive() {
        Reset();
        return &p_;
    }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace korvel
