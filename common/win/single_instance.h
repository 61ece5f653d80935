// One copy of a program per session, by a named mutex.
#pragma once

#include <windows.h>

#include "common/win/unique.h"

namespace torvane::win {

// False when another copy holds `name`. Otherwise `lock` keeps the mutex for
// as long as it lives (or stays empty if the mutex cannot be made: the
// program then runs all the same).
inline bool TakeInstanceLock(const wchar_t* name, UniqueHandle& lock)
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, name);
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    lock.reset(mutex);
    return !(mutex && existed);
}

}  // namespace torvane::win
