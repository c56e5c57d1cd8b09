// hold-file.exe PATH [--no-write-sharing | --exclusive]: holds the file open as another program
// would (read and write sharing, no delete sharing; with --no-write-sharing read sharing only;
// with --exclusive no sharing at all, so that nobody can even read it), says "held" on standard
// output, and waits until it is ended.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (argc == 3 && lstrcmpW(argv[2], L"--no-write-sharing") == 0) {
    sharing = FILE_SHARE_READ;
  } else if (argc == 3 && lstrcmpW(argv[2], L"--exclusive") == 0) {
    sharing = 0;
  } else if (argc != 2) {
    return 64;
  }
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
