#include "ui/win/common_controls.h"

#include <commctrl.h>

namespace torvane::ui::win {

HMODULE LoadCommonControls() {
    HMODULE module = LoadLibraryW(L"comctl32.dll");
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init =
        module ? reinterpret_cast<InitFn>(reinterpret_cast<void*>(GetProcAddress(module, "InitCommonControlsEx")))
               : nullptr;
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    if (!init || !init(&classes)) {
        if (module) FreeLibrary(module);
        return nullptr;
    }
    return module;
}

}  // namespace torvane::ui::win
