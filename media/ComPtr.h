#pragma once
#include <windows.h>
#include <unknwn.h>

// Holds one reference to a COM interface and releases it when reset or
// destroyed, so that no path out of a function leaks an interface.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    // For functions that hand out a new reference: what was held is released first.
    T** out()
    {
        reset();
        return &pointer_;
    }
    void** outVoid() { return reinterpret_cast<void**>(out()); }

    void reset()
    {
        if (pointer_) {
            T* held = pointer_;
            pointer_ = nullptr;
            held->Release();
        }
    }

    // Hands the reference to the caller.
    T* detach()
    {
        T* held = pointer_;
        pointer_ = nullptr;
        return held;
    }

    // QueryInterface on source into this holder; false when source is null or refuses.
    template <class U>
    BOOL queryFrom(U* source, REFIID iid)
    {
        reset();
        return source && SUCCEEDED(source->QueryInterface(iid, outVoid())) && pointer_;
    }

private:
    T* pointer_ = nullptr;
};
