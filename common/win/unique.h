// Owns one platform handle and closes it once; movable, not copyable.
#pragma once

#include <windows.h>

#include <utility>

namespace torvane::win {

template <class H, auto Close>
class Unique {
public:
    Unique() = default;
    explicit Unique(H handle) : handle_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    Unique& operator=(Unique&& other) noexcept
    {
        if (this != &other) {
            reset(std::exchange(other.handle_, H{}));
        }
        return *this;
    }
    ~Unique() { reset(); }

    H get() const { return handle_; }
    explicit operator bool() const { return handle_ != H{}; }
    void reset(H handle = H{})
    {
        if (handle_ != H{}) {
            Close(handle_);
        }
        handle_ = handle;
    }

private:
    H handle_{};
};

// Null is "no handle"; calls that fail with INVALID_HANDLE_VALUE must be
// checked before wrapping.
using UniqueHandle = Unique<HANDLE, ::CloseHandle>;

// GDI and USER objects and registry keys: one template for all of them.
template <class T>
void DeleteGdiObject(T object) { ::DeleteObject(object); }
template <class T>
using UniqueGdi = Unique<T, DeleteGdiObject<T>>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueMemoryDC = Unique<HDC, ::DeleteDC>;
using UniqueIcon = Unique<HICON, ::DestroyIcon>;
using UniqueCursor = Unique<HCURSOR, ::DestroyCursor>;
using UniqueMenu = Unique<HMENU, ::DestroyMenu>;
using UniqueWindow = Unique<HWND, ::DestroyWindow>;
using UniqueKey = Unique<HKEY, ::RegCloseKey>;

}  // namespace torvane::win
