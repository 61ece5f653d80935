// Resource ids of the combo box's button pictures (17 x 17, drawn by
// tools/make_pictures.sh): normal, hover, pressed, disabled, in that order.
// A program that uses the control includes controls/win/combo_pictures.rc.
#pragma once

#define kComboPictureFirst 0x4310
#define kComboPictureNormal 0x4310
#define kComboPictureHover 0x4311
#define kComboPicturePressed 0x4312
#define kComboPictureDisabled 0x4313
