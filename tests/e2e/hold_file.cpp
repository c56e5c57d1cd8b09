// hold-file.exe PATH [--exclusive]: holds the file open as another program would (read and
// write sharing, no delete sharing; with --exclusive no sharing at all, so that nobody can even
// read it), says "held" on standard output, and waits until it is ended.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  const bool exclusive = argc == 3 && lstrcmpW(argv[2], L"--exclusive") == 0;
  if (argc != 2 && !exclusive)
    return 64;
  const DWORD sharing = exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  DWORD written;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &written, nullptr);
  Sleep(120000);
  CloseHandle(file);
  return 0;
}
