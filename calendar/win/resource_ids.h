// Resource ids of torvane.exe, shared by the .rc file and the code.
#pragma once

#define kIconApp 1
#define kCursorMove 2
// The statutory days off as shipped (resources/holidays.txt, UTF-8).
#define kDaysOffText 107
