// What both download engines agree on, apart from the platform: which
// addresses they fetch, which answers they save, when a body counts as whole,
// the rate they report, and the copy loop of the block-reading engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace torvane::update {

// How a download ended. Only Done leaves a new file at the target; every
// other outcome leaves the target as it was and no partial file behind.
enum class DownloadOutcome : uint8_t {
    Done,
    Refused,   // not an http or https address, or a transfer already running
    Failed,    // no connection, an answer other than 2xx, or no length announced
    Cut,       // fewer (or more) bytes arrived than announced
    Aborted,   // AbortDownloading
    NotSaved,  // the file could not be written or put in place
    Mismatch,  // the file's SHA-256 is not the one expected
};

// http:// or https:// (letter case aside) and a host after it.
bool IsDownloadAddress(std::string_view address);

// Only a 2xx answer is the file; an error page is not saved in its place.
constexpr bool IsSuccessStatus(long status) { return status >= 200 && status <= 299; }

// A header value of decimal digits (blanks around allowed), else nothing.
std::optional<int64_t> ParseDecimal(std::string_view text);

// The Content-Length of a raw header block ("Name: value" lines ending in
// CR LF), or nothing when it is missing or not a number.
std::optional<int64_t> ContentLengthOf(std::string_view headers);

// A body is whole when a positive length was announced and exactly that
// many bytes arrived. Without a length (a chunked answer, as CDNs send) only
// a known digest can say so: with `digestKnown` a non-empty body counts as
// whole here, and its SHA-256 decides.
DownloadOutcome JudgeBody(std::optional<int64_t> announced, int64_t received, bool digestKnown = false);

// Kilobytes per second from the bytes and milliseconds since the previous
// report, to the nearest whole number; 0 when no time passed or the count
// went back.
int32_t TransferRate(uint32_t intervalMs, int64_t bytesSince);

// A copy of the NUL-terminated text at `text` as UTF-8: UTF-16 units when
// `unicode`, else bytes in the system code page (GBK). Empty for null.
std::string StrFromPtr(const void* text, bool unicode);

// Lowercase hexadecimal of 64 digits, or nothing: the form version.ini gives
// an installer's SHA-256 in.
std::optional<std::string> NormalizeSha256(std::string_view hex);

// The block-reading engine's copy from the answer's body to the file.
class BodySource {
public:
    virtual ~BodySource() = default;
    // Up to `capacity` bytes into `buffer`: how many, 0 at the body's end,
    // or nothing when reading failed.
    virtual std::optional<size_t> Read(char* buffer, size_t capacity) = 0;
};

class BodySink {
public:
    virtual ~BodySink() = default;
    virtual bool Write(const char* bytes, size_t count) = 0;
};

inline constexpr size_t kDownloadBlockBytes = 8192;

// Reads blocks until the body ends, writing each as it arrives; after each
// block `afterBlock` gets the running total and answers whether to go on.
// Done only when the body is whole by JudgeBody. A body without a length is
// taken only with `unannouncedLimit` (its caller proves it whole afterwards,
// by a signature) and only up to that many bytes.
DownloadOutcome CopyBody(BodySource& source, BodySink& sink, std::optional<int64_t> announced,
                         const std::function<bool(int64_t total)>& afterBlock,
                         std::optional<int64_t> unannouncedLimit = std::nullopt);

}  // namespace torvane::update
