// Taking away the picture a picture box shows: onto the clipboard as a
// device-independent bitmap, or into a PNG file the user names in the platform's
// save dialog; and the small menu on the picture that offers both.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace lw {

// The picture as a box paints it: its client area in device pixels, as a 32-bit
// top-down bitmap (blue, green, red and an unused byte a pixel).
struct ShownPicture {
  HBITMAP bitmap = nullptr;
  uint8_t* bits = nullptr;
  int width = 0, height = 0;
};
void ReleaseShownPicture(ShownPicture* picture);

// Puts the picture on the clipboard as CF_DIB, 24 bits a pixel (the platform makes
// CF_BITMAP from it for whoever asks); false when the clipboard took nothing.
bool CopyShownPicture(HWND owner, const ShownPicture& picture);

// Asks for a file through the save dialog, in the user's Pictures folder with
// `defaultName` (a GBK text) filled in, and writes the picture there as PNG. A save
// that cannot be made is told in a message box and leaves no file behind.
void SaveShownPicture(HWND owner, const ShownPicture& picture, const char* defaultName);

// Writes `size` bytes to `path` whole or not at all: into a temporary file in the
// same folder, which then takes the path's place. False, with the temporary file
// gone and whatever held the path untouched, when any step fails.
bool WriteFileWhole(const std::wstring& path, const uint8_t* data, size_t size);

// What was chosen from the picture's menu.
enum class PictureMenuChoice { None, Copy, Save };
// Shows the menu at `at` (screen pixels) for `owner` and waits for the choice.
PictureMenuChoice TrackPictureMenu(HWND owner, POINT at);

}  // namespace lw
