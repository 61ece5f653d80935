// The updater's file-name helpers: where the installer is saved and under
// which name it may be run. Texts are UTF-8; paths are Windows paths.
#pragma once

#include <string>
#include <string_view>

namespace torvane::update {

// `text` when it already ends with `suffix` (letter case aside), else `text`
// followed by `suffix`: a folder path that surely ends with "\".
std::string AddString(std::string_view text, std::string_view suffix);

// The part of `path` after its last "\" (or, without one, its last "/"),
// spaces at both ends trimmed first. Empty when there is no separator or the
// part has no "."; with `withoutExtension` the part before its last ".".
std::string GetFileNameInPath(std::string_view path, bool withoutExtension);

// Why the installer named in version.ini is refused; Accepted when it may be
// downloaded and run.
enum class DownNameCheck : uint8_t {
    Accepted,
    NotAFileName,     // empty, a folder, a drive, or only ".exe"
    NotAProgram,      // does not end in ".exe"
    UnsafeCharacter,  // anything but letters and digits of any script, ".", "-" and "_"
    NotInCodePage,    // the script, written in GBK, could not name it
    NotTheDownload,   // not the last segment of the download address
    NotWebAddress,    // the download address is not http or https
};

// The installer's name is pasted into a command script that the updater
// runs, so it must be a plain program name that cmd.exe reads as just that
// (no "," ";" "=" or blank that would split a command's arguments), and the
// file it names must be the one downloaded.
DownNameCheck CheckDownName(std::string_view downName, std::string_view downUrl);

}  // namespace torvane::update
