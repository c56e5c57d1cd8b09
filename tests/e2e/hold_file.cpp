// hold-file.exe PATH: holds the file open as another program would (read and write sharing,
// no delete sharing), says "held" on standard output, and waits until it is ended.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2)
    return 64;
  HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  DWORD written;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &written, nullptr);
  Sleep(120000);
  CloseHandle(file);
  return 0;
}
