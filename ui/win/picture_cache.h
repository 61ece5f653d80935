// Picture files of a window (a weather icon), decoded once at the size they
// are shown and kept while the window shows them. The file is read and
// closed at once, so an update can replace it while the program runs.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "ui/geometry.h"
#include "ui/units.h"

namespace Gdiplus {
class Bitmap;
}

namespace torvane::ui::win {

class PictureCache {
public:
    PictureCache();
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // Draws the picture at `path` centred in `box`, at its own size scaled to
    // the DPI and shrunk to fit. A file that cannot be read or decoded leaves
    // the last picture drawn in its place (a window shows one picture here:
    // the weather icon); before any, nothing.
    void Draw(HDC dc, const std::string& path, const Rect& box, const Dpi& dpi);

private:
    struct Entry;
    const Entry* Find(const std::string& path, const Rect& box, const Dpi& dpi);

    std::map<std::string, std::unique_ptr<Entry>> entries_;
    std::string lastGood_;  // the last path that decoded
};

}  // namespace torvane::ui::win
