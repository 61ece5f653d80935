// The file port of the portable code: whole-file reads and replaces. Paths
// are UTF-8; the Windows side converts them to UTF-16 at the system call.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

enum class ReadOutcome {
    Read,
    Missing,     // nothing at the path, or a folder on the way is missing
    Unreadable,  // something is there, but it is a folder or cannot be read
};

struct FileBytes {
    ReadOutcome outcome = ReadOutcome::Missing;
    std::string bytes;  // the whole file when outcome is Read, else empty
};

// Callers that rewrite a file need Missing and Unreadable apart: a missing
// file may be created, an unreadable one must be left alone.
FileBytes ReadFileBytes(std::string_view path);

// Whether a file (not a folder) is at the path.
bool FileExists(std::string_view path);

// Removes a file (not a folder); true when none is there afterwards.
bool RemoveFile(std::string_view path);

// Replaces a file's whole content so that a reader, a crash or a power cut
// sees either the old content or the new one, never a mix or a cut file:
// writes `bytes` to a new file in the target's folder, flushes it to disk and
// moves it over the target in one step. Creates the target when missing.
// Returns false when the target was left as it was.
bool ReplaceFileContents(std::string_view target, std::string_view bytes);

}  // namespace torvane
