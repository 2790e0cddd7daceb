#pragma once

// The image bank. GET_ASTREAM gives the picture of an image number as PNG bytes and
// stores their count in *size, or answers null (and 0) for a number it does not hold.
// The bytes belong to the library and stay valid while it is loaded. Pictures are drawn
// with the application's fonts, so a GUI application object must exist.
//
// Numbers held: 3 (background band), 109 (close glyph of the main window), 120, 121, 122
// (favourite buttons), 1203 (save glyph), 1209 (close glyph of dialogs).
extern "C" const unsigned char *GET_ASTREAM(int imageNo, int *size);
