/* A Windows program that the Wine session runs under the name slidewell.scr, through each of Wine's
 * loaders that run here, to check that the stalling file system delays that program's own calls: it
 * opens the file it is given, reads it to its end and prints the bytes read and the milliseconds that
 * took.
 *   slidewell.scr PATH */
#include <windows.h>

#include <stdio.h>

int wmain(int argc, wchar_t **argv) {
  if (argc != 2) return 2;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  static char buffer[65536];
  unsigned long long total = 0;
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got > 0) total += got;
  CloseHandle(file);
  QueryPerformanceCounter(&end);
  printf("%llu %lld\n", total, (long long)((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart));
  return 0;
}
