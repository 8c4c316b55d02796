#include "gdi_count.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string_view>

namespace slidewell::testing_support {
namespace {

std::atomic<long> live{0};

// The original functions, filled in when the import table is redirected.
struct Originals {
  decltype(&CreateCompatibleBitmap) createCompatibleBitmap = nullptr;
  decltype(&CreateDIBSection) createDibSection = nullptr;
  decltype(&CreateBitmap) createBitmap = nullptr;
  decltype(&CreateCompatibleDC) createCompatibleDc = nullptr;
  decltype(&CreateFontIndirectW) createFontIndirect = nullptr;
  decltype(&CreateFontW) createFont = nullptr;
  decltype(&CreateSolidBrush) createSolidBrush = nullptr;
  decltype(&DeleteObject) deleteObject = nullptr;
  decltype(&DeleteDC) deleteDc = nullptr;
} originals;

template <typename Handle>
Handle counted(Handle made) {
  if (made != nullptr) ++live;
  return made;
}

BOOL freed(BOOL done) {
  if (done) --live;
  return done;
}

HBITMAP WINAPI countedCompatibleBitmap(HDC dc, int width, int height) {
  return counted(originals.createCompatibleBitmap(dc, width, height));
}
HBITMAP WINAPI countedDibSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                 DWORD offset) {
  return counted(originals.createDibSection(dc, info, usage, bits, section, offset));
}
HBITMAP WINAPI countedBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  return counted(originals.createBitmap(width, height, planes, bitCount, bits));
}
HDC WINAPI countedCompatibleDc(HDC dc) { return counted(originals.createCompatibleDc(dc)); }
HFONT WINAPI countedFontIndirect(const LOGFONTW* font) { return counted(originals.createFontIndirect(font)); }
HFONT WINAPI countedFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                         DWORD underline, DWORD strikeOut, DWORD charSet, DWORD precision, DWORD clipPrecision,
                         DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
  return counted(originals.createFont(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                      charSet, precision, clipPrecision, quality, pitchAndFamily, face));
}
HBRUSH WINAPI countedSolidBrush(COLORREF colour) { return counted(originals.createSolidBrush(colour)); }
BOOL WINAPI countedDeleteObject(HGDIOBJ object) { return freed(originals.deleteObject(object)); }
BOOL WINAPI countedDeleteDc(HDC dc) { return freed(originals.deleteDc(dc)); }

// Points the import of `name` at `replacement` and keeps the original in `original`.
template <typename Function>
void redirect(IMAGE_THUNK_DATA* address, const char* imported, const char* name, Function replacement,
              Function& original) {
  if (std::strcmp(imported, name) != 0) return;
  original = reinterpret_cast<Function>(address->u1.Function);
  DWORD protection = 0;
  VirtualProtect(&address->u1.Function, sizeof address->u1.Function, PAGE_READWRITE, &protection);
  address->u1.Function = reinterpret_cast<decltype(address->u1.Function)>(replacement);
  VirtualProtect(&address->u1.Function, sizeof address->u1.Function, protection, &protection);
}

bool redirectGdiImports() {
  auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name != 0;
       ++library) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "gdi32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
    auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
      redirect(addresses, name, "CreateCompatibleBitmap", &countedCompatibleBitmap, originals.createCompatibleBitmap);
      redirect(addresses, name, "CreateDIBSection", &countedDibSection, originals.createDibSection);
      redirect(addresses, name, "CreateBitmap", &countedBitmap, originals.createBitmap);
      redirect(addresses, name, "CreateCompatibleDC", &countedCompatibleDc, originals.createCompatibleDc);
      redirect(addresses, name, "CreateFontIndirectW", &countedFontIndirect, originals.createFontIndirect);
      redirect(addresses, name, "CreateFontW", &countedFont, originals.createFont);
      redirect(addresses, name, "CreateSolidBrush", &countedSolidBrush, originals.createSolidBrush);
      redirect(addresses, name, "DeleteObject", &countedDeleteObject, originals.deleteObject);
      redirect(addresses, name, "DeleteDC", &countedDeleteDc, originals.deleteDc);
    }
  }
  return true;
}

// Before any test runs, so that nothing is created uncounted and deleted counted.
const bool redirected = redirectGdiImports();

}  // namespace

long liveGdiObjects() { return redirected ? live.load() : 0; }

}  // namespace slidewell::testing_support
