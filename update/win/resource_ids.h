// Resource ids of torvaneupdate.exe, shared by the .rc file and the code.
#pragma once

#define kIconApp 1
// The progress bar's skin pictures: kFirstProgressPicture + the picture's number.
#define kFirstProgressPicture 200
