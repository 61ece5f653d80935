#include "weather/win/web_pane_window.h"

#include <exdisp.h>
#include <exdispid.h>
#include <ole2.h>

#include "common/win/com_ptr.h"
#include "common/win/wide_text.h"
#include "common/win/window_class.h"

namespace torvane::weather::win {

using torvane::win::ComPtr;

namespace {

// OLE is loaded when the pane first navigates, not imported: the calendar's
// start-up does not pay for it.
struct OleLibrary {
    decltype(&OleInitialize) oleInitialize = nullptr;
    decltype(&OleUninitialize) oleUninitialize = nullptr;
    decltype(&CoCreateInstance) coCreateInstance = nullptr;
    decltype(&OleSetContainedObject) oleSetContainedObject = nullptr;
    decltype(&SysAllocString) sysAllocString = nullptr;
    decltype(&SysFreeString) sysFreeString = nullptr;

    bool Load() {
        HMODULE ole = LoadLibraryW(L"ole32.dll"), automation = LoadLibraryW(L"oleaut32.dll");
        if (!ole || !automation) return false;
        Get(ole, "OleInitialize", oleInitialize);
        Get(ole, "OleUninitialize", oleUninitialize);
        Get(ole, "CoCreateInstance", coCreateInstance);
        Get(ole, "OleSetContainedObject", oleSetContainedObject);
        Get(automation, "SysAllocString", sysAllocString);
        Get(automation, "SysFreeString", sysFreeString);
        return oleInitialize && oleUninitialize && coCreateInstance && oleSetContainedObject && sysAllocString &&
               sysFreeString;
    }

    template <class F>
    static void Get(HMODULE module, const char* name, F& f) {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

RECT ToRECT(const ui::Rect& r) { return {r.left, r.top, r.right(), r.bottom()}; }

RECT BrowserRect(HWND pane) {
    RECT client;
    GetClientRect(pane, &client);
    return ToRECT(weather::BrowserPlace(client.right, client.bottom));
}

}  // namespace

// --- The container: one object, every site interface the browser asks for ---------

class WebPaneWindow::Site final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame,
                                  public IDispatch {
public:
    Site(HWND pane, Shell& shell) : pane_(pane), shell_(&shell) {}

    // The pane is going: later calls from the browser find nothing to act on.
    void Detach() { pane_ = nullptr, shell_ = nullptr, browser_ = nullptr; }
    void SetBrowser(IWebBrowser2* browser) { browser_ = browser; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
            *out = static_cast<IOleClientSite*>(this);
        } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite) {
            *out = static_cast<IOleInPlaceSite*>(this);
        } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
            *out = static_cast<IOleInPlaceFrame*>(this);
        } else if (iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2) {
            *out = static_cast<IDispatch*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override { return *out = nullptr, E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override { return *out = nullptr, E_NOINTERFACE; }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for the in-place site and the frame alike)
    STDMETHODIMP GetWindow(HWND* out) override { return *out = pane_, pane_ ? S_OK : E_FAIL; }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return pane_ ? S_OK : S_FALSE; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        if (pane_) {
            *pos = BrowserRect(pane_);
            GetClientRect(pane_, clip);
        }
        info->fMDIApp = FALSE;
        info->hwndFrame = pane_;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow, IOleInPlaceFrame: no menus, no tool space.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDispatch: the browser's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        switch (id) {
            case DISPID_DOWNLOADBEGIN:
                if (browser_) browser_->put_Silent(VARIANT_TRUE);
                break;
            case DISPID_NEWWINDOW3: OnNewWindow(params, 3, 0); break;
            case DISPID_NEWWINDOW2: OnNewWindow(params, 0, -1); break;
            default: break;
        }
        return S_OK;
    }

private:
    // Arguments arrive last first: NewWindow3(ppDisp, Cancel, flags, context,
    // url) has Cancel at 3 and the address at 0; NewWindow2(ppDisp, Cancel)
    // has Cancel at 0 and no address.
    void OnNewWindow(DISPPARAMS* params, UINT cancelAt, int urlAt) {
        if (!params || params->cArgs <= cancelAt) return;
        VARIANT& cancel = params->rgvarg[cancelAt];
        if (cancel.vt == (VT_BYREF | VT_BOOL) && cancel.pboolVal) *cancel.pboolVal = VARIANT_TRUE;
        if (urlAt < 0 || !shell_) return;
        const VARIANT& url = params->rgvarg[urlAt];
        if (url.vt != VT_BSTR || !url.bstrVal) return;
        const std::string address = WideToUtf8(url.bstrVal);
        if (weather::OpensInUsersBrowser(address)) shell_->OpenWebPage(address);
    }

    HWND pane_;
    Shell* shell_;
    IWebBrowser2* browser_ = nullptr;  // not held: the pane holds it
    ULONG references_ = 1;
};

struct WebPaneWindow::Browser {
    OleLibrary ole;
    bool oleStarted = false;
    Site* site = nullptr;
    ComPtr<IOleObject> object;
    ComPtr<IWebBrowser2> web;
    ComPtr<IConnectionPoint> events;
    DWORD cookie = 0;
};

// --- The pane ---------------------------------------------------------------------------

WebPaneWindow::WebPaneWindow(HINSTANCE instance, HWND parent, int controlId, Shell& shell) : shell_(shell) {
    Register(instance, ui::win::WindowClass{kWebPaneClass, nullptr, nullptr, nullptr, 0});
    if (Create(instance, kWebPaneClass, 0, WS_CHILD | WS_CLIPCHILDREN, L"", RECT{0, 0, 0, 0}, parent))
        SetWindowLongPtrW(hwnd(), GWLP_ID, controlId);
}

WebPaneWindow::~WebPaneWindow() { ReleaseBrowser(); }

LRESULT WebPaneWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SIZE: PlaceBrowser(); return 0;
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(hwnd(), &client);
            FillRect(reinterpret_cast<HDC>(wp), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            return 1;
        }
        case WM_DESTROY: ReleaseBrowser(); return 0;
        default: return Default(msg, wp, lp);
    }
}

void WebPaneWindow::Navigate(const std::string& url) {
    if (!browser_ && !CreateBrowser()) return;
    Browser& b = *browser_;
    const std::wstring wide = Utf8ToWide(url);
    BSTR address = b.ole.sysAllocString(wide.c_str());
    if (!address) return;
    VARIANT empty{};  // VT_EMPTY
    b.web->Navigate(address, &empty, &empty, &empty, &empty);
    b.ole.sysFreeString(address);
}

bool WebPaneWindow::CreateBrowser() {
    if (failed_ || !hwnd()) return false;
    failed_ = true;  // until every step below has worked
    auto b = std::make_unique<Browser>();
    if (!b->ole.Load()) return false;
    const HRESULT started = b->ole.oleInitialize(nullptr);
    if (FAILED(started)) return false;
    b->oleStarted = true;
    b->site = new Site(hwnd(), shell_);
    browser_ = std::move(b);  // from here on ReleaseBrowser undoes what was done
    Browser& w = *browser_;
    if (FAILED(w.ole.coCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                      reinterpret_cast<void**>(w.object.put()))))
        return ReleaseBrowser(), false;
    w.object->SetClientSite(static_cast<IOleClientSite*>(w.site));
    w.ole.oleSetContainedObject(w.object.get(), TRUE);
    RECT place = BrowserRect(hwnd());
    if (FAILED(w.object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(w.site), 0, hwnd(),
                                &place)))
        return ReleaseBrowser(), false;
    w.web = w.object.As<IWebBrowser2>(IID_IWebBrowser2);
    if (!w.web) return ReleaseBrowser(), false;
    // Silent before the first page: a script error of that page raises no dialog either.
    w.web->put_Silent(VARIANT_TRUE);
    w.site->SetBrowser(w.web.get());
    if (auto points = w.object.As<IConnectionPointContainer>(IID_IConnectionPointContainer)) {
        points->FindConnectionPoint(DIID_DWebBrowserEvents2, w.events.put());
        if (w.events && FAILED(w.events->Advise(static_cast<IDispatch*>(w.site), &w.cookie))) w.events.reset();
    }
    PlaceBrowser();
    failed_ = false;
    return true;
}

void WebPaneWindow::PlaceBrowser() {
    if (!browser_ || !browser_->object) return;
    if (auto inPlace = browser_->object.As<IOleInPlaceObject>(IID_IOleInPlaceObject)) {
        const RECT place = BrowserRect(hwnd());
        RECT clip;
        GetClientRect(hwnd(), &clip);
        inPlace->SetObjectRects(&place, &clip);
    }
}

void WebPaneWindow::ReleaseBrowser() {
    if (!browser_) return;
    std::unique_ptr<Browser> b = std::move(browser_);
    if (b->events) b->events->Unadvise(b->cookie);
    b->events.reset();
    if (b->site) b->site->Detach();
    b->web.reset();
    if (b->object) {
        b->object->Close(OLECLOSE_NOSAVE);
        b->object->SetClientSite(nullptr);
        b->object.reset();
    }
    if (b->site) b->site->Release();
    if (b->oleStarted) b->ole.oleUninitialize();
}

}  // namespace torvane::weather::win
