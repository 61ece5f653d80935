#include "update/win/file_download.h"

#include <windows.h>
#include <urlmon.h>

#include <optional>
#include <string_view>
#include <utility>

#include "common/win/wide_text.h"
#include "update/win/download_target.h"

namespace torvane::update::win {

namespace {

// The transfer's status callback. URLDownloadToFileW calls it on the thread
// that started the transfer; it lives as long as anyone holds a reference.
class BindCallback final : public IBindStatusCallback, public IHttpNegotiate {
public:
    BindCallback(const std::atomic<bool>& abort, const FileDownloader::ProgressHandler& onProgress)
        : abort_(abort), onProgress_(onProgress) {}

    // What the answer said, once the transfer has ended.
    std::optional<long> status() const { return status_; }
    std::optional<int64_t> announced() const { return announced_; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IBindStatusCallback) {
            *out = static_cast<IBindStatusCallback*>(this);
        } else if (riid == IID_IHttpNegotiate) {
            *out = static_cast<IHttpNegotiate*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IBindStatusCallback
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        DropBinding();
        binding_ = binding;
        if (binding_) binding_->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override {
        if (priority) *priority = THREAD_PRIORITY_NORMAL;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG maxProgress, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
        DropBinding();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* bindFlags, BINDINFO*) override {
        // An installer is never taken from the cache.
        if (bindFlags) *bindFlags |= BINDF_GETNEWESTVERSION;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    // IHttpNegotiate
    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additionalHeaders) override {
        if (additionalHeaders) *additionalHeaders = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD code, LPCWSTR headers, LPCWSTR, LPWSTR* additionalHeaders) override {
        if (additionalHeaders) *additionalHeaders = nullptr;
        status_ = static_cast<long>(code);
        announced_ = headers ? ContentLengthOf(WideToUtf8(headers)) : std::nullopt;
        return S_OK;
    }

private:
    ~BindCallback() { DropBinding(); }

    void DropBinding() {
        if (binding_) binding_->Release();
        binding_ = nullptr;
    }

    LONG references_ = 1;
    const std::atomic<bool>& abort_;
    const FileDownloader::ProgressHandler& onProgress_;
    IBinding* binding_ = nullptr;
    std::optional<long> status_;
    std::optional<int64_t> announced_;
    DWORD lastTick_ = 0;
    ULONG lastBytes_ = 0;
};

HRESULT BindCallback::OnProgress(ULONG progress, ULONG maxProgress, ULONG statusCode, LPCWSTR statusText) {
    if (abort_) return E_ABORT;
    // An error page is not worth its bytes: the transfer stops at once.
    if (status_ && !IsSuccessStatus(*status_)) return E_ABORT;
    const DWORD now = GetTickCount();
    const int32_t rate = TransferRate(now - lastTick_, static_cast<int64_t>(progress) - lastBytes_);
    // Nothing may leave a COM callback as an exception; a failed report is
    // no reason to stop the transfer.
    try {
        if (onProgress_) {
            onProgress_(DownloadProgress{progress, maxProgress, rate, static_cast<int32_t>(statusCode),
                                         StrFromPtr(statusText, true)});
        }
    } catch (...) {
    }
    lastTick_ = now;
    lastBytes_ = progress;
    return S_OK;
}

// COM for this thread, for as long as the transfer runs.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

}  // namespace

DownloadOutcome CFileDownload::StartDownloading(const DownloadRequest& request, const ProgressHandler& onProgress) {
    if (downloading_.exchange(true)) return DownloadOutcome::Refused;
    abort_ = false;
    const DownloadOutcome outcome = Transfer(request, onProgress);
    downloading_ = false;
    return outcome;
}

void CFileDownload::AbortDownloading() {
    if (downloading_) abort_ = true;
}

void CFileDownload::DiscardUnfinished() {
    const std::lock_guard lock(mutex_);
    if (!unfinished_.empty()) DeleteFileW(unfinished_.c_str());
}

void CFileDownload::SetUnfinished(std::wstring path) {
    const std::lock_guard lock(mutex_);
    unfinished_ = std::move(path);
}

DownloadOutcome CFileDownload::Transfer(const DownloadRequest& request, const ProgressHandler& onProgress) {
    if (!IsDownloadAddress(request.url)) return DownloadOutcome::Refused;
    const ComApartment com;
    DownloadTarget target(Utf8ToWide(request.target), false);
    if (!target.ok()) return DownloadOutcome::NotSaved;
    target.Release();  // URL monikers write the file by its path
    BindCallback* callback = new BindCallback(abort_, onProgress);
    SetUnfinished(target.path());
    const HRESULT result =
        URLDownloadToFileW(nullptr, Utf8ToWide(request.url).c_str(), target.path().c_str(), 0, callback);
    SetUnfinished({});
    const std::optional<long> status = callback->status();
    const std::optional<int64_t> announced = callback->announced();
    callback->Release();
    if (abort_) return DownloadOutcome::Aborted;
    if (FAILED(result) || !status || !IsSuccessStatus(*status)) return DownloadOutcome::Failed;
    const std::optional<int64_t> size = target.Size();
    const DownloadOutcome body = JudgeBody(announced, size.value_or(0), request.sha256.has_value());
    return body == DownloadOutcome::Done ? target.Commit(request.sha256) : body;
}

}  // namespace torvane::update::win
