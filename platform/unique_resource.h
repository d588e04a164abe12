#pragma once
// One owner type per kind of Windows handle, so that no call site closes a
// handle by hand and every early return releases what was acquired.
#include <windows.h>
#include <objbase.h>
#include <utility>

namespace platform {

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept : value_(Traits::Invalid()) {}
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    ~UniqueResource() { reset(); }

    Type get() const noexcept { return value_; }
    bool valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    // For out-parameters of the Win32 calls: releases what is held first.
    Type* put() noexcept {
        reset();
        return &value_;
    }
    Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }
    void reset(Type value = Traits::Invalid()) noexcept {
        Type old = std::exchange(value_, value);
        if (old != Traits::Invalid()) Traits::Close(old);
    }

private:
    Type value_;
};

struct KeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type key) noexcept { ::RegCloseKey(key); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type find) noexcept { ::FindClose(find); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type module) noexcept { ::FreeLibrary(module); }
};
struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};
// CreateFile reports failure with INVALID_HANDLE_VALUE, not null.
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) noexcept { ::CloseHandle(handle); }
};

using UniqueKey = UniqueResource<KeyTraits>;
using UniqueFind = UniqueResource<FindTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueHandle = UniqueResource<HandleTraits>;
using UniqueFile = UniqueResource<FileTraits>;

// Process and thread handles of a started child, both closed on scope exit.
struct UniqueProcessInfo {
    UniqueHandle process;
    UniqueHandle thread;
};

// COM for the calling thread in the single-threaded apartment. CoUninitialize
// balances every CoInitialize call, also one that failed, as the remover's
// start-up has always done.
class ComApartment {
public:
    ComApartment() noexcept : result_(::CoInitialize(nullptr)) {}
    ~ComApartment() { ::CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT result() const noexcept { return result_; }

private:
    HRESULT result_;
};

}  // namespace platform
