// Images 1..5 from the ICO files embedded in the program, and the image
// control that paints one of them with its alpha channel.

#include "toolkit/icon_file.h"
#include "toolkit/toolkit_internal.h"

#include <commctrl.h>

namespace {

// Image n comes from the RCDATA resource 100 + n, a whole ICO file.
constexpr int FirstImageResource = 100;

HICON images[ImageCount + 1] = {};

constexpr UINT_PTR ImagePainterId = 1;

// The icon's own size; 32 x 32 when it cannot be read.
SIZE IconSize(HICON icon) {
  SIZE size = {32, 32};
  ICONINFO info;
  if (icon == nullptr || !GetIconInfo(icon, &info)) return size;
  BITMAP bitmap;
  if (info.hbmColor && GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap)) {
    size = {bitmap.bmWidth, bitmap.bmHeight};
  } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof(bitmap), &bitmap)) {
    size = {bitmap.bmWidth, bitmap.bmHeight / 2};   // mask above XOR image
  }
  if (info.hbmColor) (void)DeleteObject(info.hbmColor);
  if (info.hbmMask) (void)DeleteObject(info.hbmMask);
  return size;
}

void PaintImage(HWND control, HDC dc, HICON icon) {
  RECT client;
  (void)GetClientRect(control, &client);
  // The window's own background, then the icon blended onto it.
  (void)FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (icon != nullptr) (void)DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

LRESULT CALLBACK ImageControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR iconData) {
  HICON icon = reinterpret_cast<HICON>(iconData);
  switch (message) {
    case WM_ERASEBKGND:
      return 1;   // WM_PAINT fills every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(control, &paint);
      PaintImage(control, dc, icon);
      (void)EndPaint(control, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintImage(control, reinterpret_cast<HDC>(wParam), icon);
      return 0;
    case WM_NCDESTROY:
      (void)RemoveWindowSubclass(control, ImageControlProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

HICON LoadEmbeddedIcon(int resource) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resource), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (found == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;
  return IconFromIcoFile(bytes, SizeofResource(module, found));
}

}  // namespace

HICON IconFromIcoFile(const void* data, size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  const std::vector<IconFileEntry> entries = ReadIconDirectory(bytes, size);
  if (entries.empty()) return nullptr;
  std::vector<uint8_t> directory = GroupIconDirectory(entries);
  const int id = LookupIconIdFromDirectoryEx(directory.data(), TRUE, 32, 32, LR_DEFAULTCOLOR);
  if (id < 1 || static_cast<size_t>(id) > entries.size()) return nullptr;
  const IconFileEntry& entry = entries[static_cast<size_t>(id) - 1];
  // A copy, because an entry's bytes may start at any offset of the file and
  // the system reads them as aligned structures.
  std::vector<uint8_t> image(bytes + entry.offset, bytes + entry.offset + entry.size);
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                  0x00030000, entry.width, entry.height, LR_DEFAULTCOLOR);
}

void LoadImages() {
  for (int image = 1; image <= ImageCount; ++image) {
    if (images[image] != nullptr) (void)DestroyIcon(images[image]);
    images[image] = LoadEmbeddedIcon(FirstImageResource + image);
  }
}

HICON ImageHandle(int image) {
  if (image < 1 || image > ImageCount) return nullptr;
  return images[image];
}

void ReleaseImages() {
  for (HICON& icon : images) {
    if (icon != nullptr) (void)DestroyIcon(icon);
    icon = nullptr;
  }
}

HWND CreateImageControl(int number, int x, int y, int width, int height, int image) {
  HICON icon = ImageHandle(image);
  if (width == 0 && height == 0) {
    const SIZE own = IconSize(icon);
    width = own.cx;
    height = own.cy;
  }
  HWND control = CreateControl(ImageControl, number, x, y, width, height);
  if (control != nullptr) PaintImageControlWith(control, icon);
  return control;
}

void PaintImageControlWith(HWND control, HICON icon) {
  // Installing the painter again only replaces its icon.
  (void)SetWindowSubclass(control, ImageControlProc, ImagePainterId,
                          reinterpret_cast<DWORD_PTR>(icon));
  (void)InvalidateRect(control, nullptr, TRUE);
}
