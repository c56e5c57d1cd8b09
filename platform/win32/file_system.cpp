#include "platform/win32/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "platform/win32/handle.h"
#include "platform/win32/text.h"

namespace kelvane::win32 {
namespace {

// The complete new bytes stand under the file's name with this ending until they take its place.
constexpr wchar_t kPartEnding[] = L".kelvane-part";

std::wstring WithBackslash(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\')
    folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& path) {
  size_t sep = path.find_last_of(L'\\');
  return sep == std::wstring::npos ? std::wstring() : path.substr(0, sep + 1);
}

bool IsDots(const wchar_t* name) {
  return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Where the path leads once every junction and link on its way is followed, letter case as on
// disk; empty when it cannot be opened.
std::wstring FinalPath(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  wchar_t final[MAX_PATH * 4];
  const DWORD length =
      file.valid() ? GetFinalPathNameByHandleW(file.get(), final, std::size(final), 0) : 0;
  return length > 0 && length < std::size(final) ? std::wstring(final, length) : std::wstring();
}

// Whether the entry is a junction or symbolic link: a reparse point that stands for another
// name. A file that a cloud service keeps or Windows compresses is a reparse point too, but its
// tag says it is the file itself; Wine shows its links without a tag.
bool NamesAnother(const WIN32_FIND_DATAW& entry) {
  const DWORD tag = entry.dwReserved0;
  return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (tag == 0 || IsReparseTagNameSurrogate(tag));
}

// Whether the file or folder is a junction or link itself. Asked without a trailing backslash,
// which would look through it.
bool IsReparsePoint(std::wstring path) {
  while (!path.empty() && path.back() == L'\\')
    path.pop_back();
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    WIN32_FIND_DATAW entry;
    FindHandle find(path, &entry);
    return !find.valid() || NamesAnother(entry);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return false;
  // Wine shows a link to a file as a plain file; it leads somewhere else than its folder does.
  const size_t sep = path.find_last_of(L'\\');
  const std::wstring folder = FinalPath(path.substr(0, sep + 1));
  const std::wstring file = FinalPath(path);
  return !folder.empty() && !file.empty() &&
         CompareStringOrdinal(file.c_str(), -1,
                              (WithBackslash(folder) + path.substr(sep + 1)).c_str(), -1,
                              TRUE) != CSTR_EQUAL;
}

// Whether the file has other names than this one (hard links): what is done to its bytes or
// attributes is done under those names too, which may lie anywhere on the volume.
bool HasOtherNames(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  return file.valid() && GetFileInformationByHandle(file.get(), &info) && info.nNumberOfLinks > 1;
}

// Deletes a file unless it is a link: Wine deletes what a link to a file points to, not the link.
void DeleteUnlessLink(const std::wstring& path) {
  if (!IsReparsePoint(path))
    DeleteFileW(path.c_str());
}

// A new file for a copy of ours beside the file it is for. A copy that a cut-off run left there
// goes first; a link someone planted under its name stays, and no copy is made through it.
Handle NewFile(const std::wstring& path) {
  DeleteUnlessLink(path);
  return Handle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// A complete copy under its own name, on disk before anything refers to it.
bool WriteFlushed(const std::wstring& path, std::string_view bytes) {
  Handle file = NewFile(path);
  if (!file.valid())
    return false;
  const bool ok = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  return file.Close() && ok;
}

// Full paths of the files (never folders) matching the wildcard last component. None when the
// folder is a junction or link: the files it shows may lie anywhere on the disk. File links are
// left out too, and so are files with other names unless with_other_names: deleting one deletes
// just that name, but its attributes are those of what it points to.
std::vector<std::wstring> MatchingFiles(const std::wstring& pattern, bool with_other_names) {
  const std::wstring folder = FolderOf(pattern);
  std::vector<std::wstring> matches;
  if (IsReparsePoint(folder))
    return matches;
  WIN32_FIND_DATAW data;
  FindHandle find(pattern, &data);
  if (!find.valid())
    return matches;
  do {
    const std::wstring file = folder + data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsReparsePoint(file) &&
        (with_other_names || !HasOtherNames(file))) {
      matches.push_back(file);
    }
  } while (find.Next(&data));
  return matches;
}

// Errors that mean another program has the file open, so that it cannot be swapped now.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// ReplaceFileW keeps the old file's security settings and attributes; the plain move covers
// the file systems and cases where it cannot (and a replace that lost the old name half-way).
bool Swap(const std::wstring& copy, const std::wstring& target) {
  return ReplaceFileW(target.c_str(), copy.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                      nullptr, nullptr) ||
         MoveFileExW(copy.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// The size of the pieces a rewrite reads and writes: large enough for few calls, small enough
// to stay in the cache.
constexpr DWORD kPiece = 256 * 1024;

// The whole file from its first byte; nullopt when it cannot be read.
std::optional<std::string> ReadAll(HANDLE file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size))
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  for (size_t done = 0; done < bytes.size();) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD read = 0;
    if (!::ReadFile(file, bytes.data() + done, chunk, &read, nullptr) || read == 0)
      return std::nullopt;
    done += read;
  }
  return bytes;
}

// Opens a file to read it from start to end, beside any program that lets others read it.
Handle OpenToRead(const std::wstring& path) {
  return Handle(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

// Reads the open file from where it stands to its end, piece by piece, while take asks for more.
// False when a read fails.
bool ReadPieces(HANDLE file, const std::function<bool(std::string_view)>& take) {
  std::string piece(kPiece, '\0');
  for (DWORD read = 0;;) {
    if (!::ReadFile(file, piece.data(), kPiece, &read, nullptr))
      return false;
    if (read == 0 || !take(std::string_view(piece.data(), read)))
      return true;
  }
}

// Sets the file's length and leaves the file pointer at its start.
bool SetLength(HANDLE file, LARGE_INTEGER length) {
  LARGE_INTEGER start{};
  return SetFilePointerEx(file, length, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
         SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

// Writes the complete copy into the file itself, through a link and beside a program that holds
// the file open. The new length is set first, so a full disk, or a program's mapped view that
// forbids shortening the file, changes nothing.
bool CopyInPlace(const std::wstring& copy, const std::wstring& target) {
  Handle from(CreateFileW(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  Handle to(CreateFileW(target.c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size, old_size;
  if (!from.valid() || !to.valid() || !GetFileSizeEx(from.get(), &size) ||
      !GetFileSizeEx(to.get(), &old_size) ||
      (size.QuadPart != old_size.QuadPart && !SetLength(to.get(), size))) {
    return false;
  }
  bool written = true;
  return ReadPieces(from.get(),
                    [&](std::string_view piece) { return written = WriteAll(to.get(), piece); }) &&
         written && FlushFileBuffers(to.get()) && to.Close();
}

// Puts the complete copy in the file's place, and the copy goes: swapped in, or written into
// the file in place while another program holds it open so that it cannot be swapped, and
// always into a link, which must stay one. Tries again for about a second while the holder
// allows neither. Wine's ReplaceFileW leaves an empty "rf*.tmp" beside the file each time it
// fails; those go too.
bool PutInPlace(const std::wstring& copy, const std::wstring& target, bool existed, bool link) {
  const std::wstring leftovers = FolderOf(target) + L"rf*.tmp";
  const std::vector<std::wstring> before = MatchingFiles(leftovers, true);
  bool ok = false;
  for (int tries = 1;; ++tries) {
    ok = !link && Swap(copy, target);
    const bool held = !ok && !link && HeldByAnother(GetLastError());
    ok = ok || ((link || held) && CopyInPlace(copy, target));
    if (ok || !held || tries == 5)
      break;
    Sleep(250);
  }
  for (const std::wstring& file : MatchingFiles(leftovers, true)) {
    if (std::find(before.begin(), before.end(), file) == before.end())
      DeleteFileW(file.c_str());
  }
  // When a replace lost the old name half-way, the copy is all that is left of the file.
  if (!existed || Exists(target))
    DeleteUnlessLink(copy);
  return ok;
}

// Collects the new bytes into large writes; the first failed write stops all later ones.
class FileSink : public ByteSink {
 public:
  explicit FileSink(HANDLE file) : file_(file) { buffer_.reserve(kPiece); }
  void Write(std::string_view bytes) override {
    if (buffer_.size() + bytes.size() > kPiece)
      Flush();
    if (bytes.size() >= kPiece) {
      ok_ = ok_ && WriteAll(file_, bytes);
    } else {
      buffer_.append(bytes);
    }
  }
  bool Flush() {
    ok_ = ok_ && WriteAll(file_, buffer_);
    buffer_.clear();
    return ok_;
  }
  bool ok() const { return ok_; }

 private:
  HANDLE file_;
  std::string buffer_;
  bool ok_ = true;
};

// Runs the edit from the file at target into a complete, flushed copy at temp. Replaced means
// the copy is ready to be put in place.
Rewrite WriteEditedCopy(const std::wstring& target, const std::wstring& temp, FileEdit& edit) {
  Handle old = OpenToRead(target);
  if (!old.valid())
    return Rewrite::Unreadable;
  Handle copy = NewFile(temp);
  if (!copy.valid())
    return Rewrite::Failed;
  FileSink sink(copy.get());
  if (!ReadPieces(old.get(), [&](std::string_view piece) {
        edit.Take(piece, sink);
        return sink.ok();
      }))
    return Rewrite::Unreadable;
  if (!sink.ok())
    return Rewrite::Failed;
  if (!edit.Finish(sink))
    return Rewrite::Kept;
  const bool ok = sink.Flush() && FlushFileBuffers(copy.get());
  return copy.Close() && ok ? Rewrite::Replaced : Rewrite::Failed;
}

// What stands at a path that is to be written.
struct Target {
  std::wstring path;
  DWORD attributes;
  bool exists() const { return attributes != INVALID_FILE_ATTRIBUTES; }
  bool link() const { return exists() && IsReparsePoint(path); }
  // A read-only file is never written, even where the account could override it (Wine as root
  // maps the attribute to permission bits that root ignores).
  bool writable() const {
    return !exists() || !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
  }
  std::wstring copy() const { return path + kPartEnding; }
};

Target TargetAt(const std::string& path) {
  std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return {std::move(wide), attributes};
}

bool RemoveTree(const std::wstring& folder, bool link);

void RemoveContents(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  FindHandle find(folder + L"\\*", &data);
  for (bool more = find.valid(); more; more = find.Next(&data)) {
    if (IsDots(data.cFileName))
      continue;
    const std::wstring child = folder + L"\\" + data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      RemoveTree(child, NamesAnother(data));
    } else {
      DeleteUnlessLink(child);
    }
  }
}

// Removes the folder with everything in it. A junction or link, the folder itself or one
// inside it, is removed as the link it is and never entered: what it points to may lie
// anywhere on the disk.
bool RemoveTree(const std::wstring& folder, bool link) {
  if (!link)
    RemoveContents(folder);  // its search handle is closed before the folder goes
  return RemoveDirectoryW(folder.c_str());
}

}  // namespace

bool Win32FileSystem::SetNormalAttributes(const std::string& path) {
  // Only the archive bit left is as good as normal for every file this is asked of, and the
  // look-up is much cheaper than the change.
  constexpr DWORD kKept = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;
  const std::wstring wide = Widen(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return false;
  return (attributes & ~kKept) == 0 || SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool Win32FileSystem::DeleteFileAt(const std::string& path) {
  return DeleteFileW(Widen(path).c_str());
}

bool Win32FileSystem::SetNormalAttributesMatching(const std::string& pattern) {
  const std::vector<std::wstring> matches = MatchingFiles(Widen(pattern), false);
  bool all = !matches.empty();
  for (const std::wstring& file : matches) {
    all &= SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
  }
  return all;
}

bool Win32FileSystem::DeleteMatching(const std::string& pattern) {
  const std::vector<std::wstring> matches = MatchingFiles(Widen(pattern), true);
  bool all = !matches.empty();
  for (const std::wstring& file : matches)
    all &= DeleteFileW(file.c_str()) != 0;
  return all;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr);
}

bool Win32FileSystem::DeleteFolder(const std::string& path) {
  DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  const std::wstring folder = Widen(path);
  return RemoveTree(folder, IsReparsePoint(folder));
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path) {
  Handle file = OpenToRead(Widen(path));
  return file.valid() ? ReadAll(file.get()) : std::nullopt;
}

bool Win32FileSystem::ReadInPieces(const std::string& path,
                                   const std::function<void(std::string_view)>& take) {
  Handle file = OpenToRead(Widen(path));
  return file.valid() && ReadPieces(file.get(), [&](std::string_view piece) {
           take(piece);
           return true;
         });
}

bool Win32FileSystem::WriteFile(const std::string& path, std::string_view bytes) {
  const Target target = TargetAt(path);
  if (!target.writable())
    return false;
  if (!WriteFlushed(target.copy(), bytes)) {
    DeleteUnlessLink(target.copy());
    return false;
  }
  return PutInPlace(target.copy(), target.path, target.exists(), target.link());
}

bool Win32FileSystem::WriteNewFile(const std::string& path, std::string_view bytes) {
  const std::wstring target = Widen(path);
  const std::wstring temp = target + kPartEnding;
  const bool ok = WriteFlushed(temp, bytes) &&
                  MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  if (!ok)
    DeleteUnlessLink(temp);
  return ok;
}

Rewrite Win32FileSystem::RewriteFile(const std::string& path, FileEdit& edit) {
  const Target target = TargetAt(path);
  if (!target.exists() || (target.attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Rewrite::Unreadable;
  if (!target.writable())
    return Rewrite::Failed;
  const Rewrite written = WriteEditedCopy(target.path, target.copy(), edit);
  if (written != Rewrite::Replaced) {
    DeleteUnlessLink(target.copy());
    return written;
  }
  return PutInPlace(target.copy(), target.path, true, target.link()) ? Rewrite::Replaced
                                                                     : Rewrite::Failed;
}

std::optional<DirEntry> Win32FileSystem::Lookup(const std::string& path) {
  // FindFirstFileW reads each of these as a wildcard; no file name holds one.
  if (path.find_first_of("*?<>\"") != std::string::npos)
    return std::nullopt;
  WIN32_FIND_DATAW data;
  FindHandle find(Widen(path), &data);
  if (!find.valid())
    return std::nullopt;
  DirEntry entry;
  entry.name = Narrow(data.cFileName);
  entry.directory = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
  entry.hidden = data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN;
  entry.system = data.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM;
  entry.read_only = data.dwFileAttributes & FILE_ATTRIBUTE_READONLY;
  return entry;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FileExists(const std::string& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::IsLink(const std::string& path) {
  const std::wstring wide = Widen(path);
  return IsReparsePoint(wide) || HasOtherNames(wide);
}

}  // namespace kelvane::win32
