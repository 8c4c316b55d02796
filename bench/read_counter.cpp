#include "read_counter.h"

#include <windows.h>

#include <cstring>
#include <mutex>

namespace slidewell::bench {
namespace {

struct Seen {
  std::mutex mutex;
  std::uint64_t bytes = 0;
  LONGLONG ticks = 0;
  std::vector<ReadFileCounter::Read> reads;
};
Seen seen;
decltype(&ReadFile) realReadFile = nullptr;

LONGLONG now() {
  LARGE_INTEGER count{};
  QueryPerformanceCounter(&count);
  return count.QuadPart;
}

// Where a read starts: the place it is given, or else the file's pointer.
std::uint64_t placeOf(HANDLE file, const OVERLAPPED* at) {
  if (at != nullptr) return (std::uint64_t{at->OffsetHigh} << 32) | at->Offset;
  LARGE_INTEGER pointer{};
  SetFilePointerEx(file, LARGE_INTEGER{}, &pointer, FILE_CURRENT);
  return static_cast<std::uint64_t>(pointer.QuadPart);
}

BOOL WINAPI watchedReadFile(HANDLE file, LPVOID buffer, DWORD wanted, LPDWORD got, LPOVERLAPPED at) {
  const std::uint64_t place = placeOf(file, at);
  DWORD delivered = 0;
  const LONGLONG start = now();
  const BOOL ok = realReadFile(file, buffer, wanted, &delivered, at);
  const LONGLONG took = now() - start;
  if (got != nullptr) *got = delivered;
  const std::lock_guard lock(seen.mutex);
  seen.bytes += delivered;
  seen.ticks += took;
  seen.reads.push_back({place, delivered});
  return ok;
}

// The slot of this program's import table through which its calls of kernel32's ReadFile go.
void** readFileSlot() {
  auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return nullptr;
  for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name != 0; ++module) {
    if (_stricmp(reinterpret_cast<const char*>(base + module->Name), "kernel32.dll") != 0) continue;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(name->Name), "ReadFile") == 0) {
        return reinterpret_cast<void**>(&slots->u1.Function);
      }
    }
  }
  return nullptr;
}

bool store(void** slot, void* value) {
  DWORD protection = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return false;
  *slot = value;
  VirtualProtect(slot, sizeof *slot, protection, &protection);
  return true;
}

}  // namespace

ReadFileCounter::ReadFileCounter() {
  void** const slot = readFileSlot();
  if (slot == nullptr) return;
  original_ = *slot;
  realReadFile = reinterpret_cast<decltype(&ReadFile)>(original_);
  if (store(slot, reinterpret_cast<void*>(&watchedReadFile))) slot_ = slot;
}

ReadFileCounter::~ReadFileCounter() {
  if (slot_ != nullptr) store(slot_, original_);
}

void ReadFileCounter::clear() const {
  const std::lock_guard lock(seen.mutex);
  seen.bytes = 0;
  seen.ticks = 0;
  seen.reads.clear();
}

std::uint64_t ReadFileCounter::bytes() const {
  const std::lock_guard lock(seen.mutex);
  return seen.bytes;
}

double ReadFileCounter::ms() const {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  const std::lock_guard lock(seen.mutex);
  return static_cast<double>(seen.ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::vector<ReadFileCounter::Read> ReadFileCounter::reads() const {
  const std::lock_guard lock(seen.mutex);
  return seen.reads;
}

}  // namespace slidewell::bench
