// File and folder operations the tweak run needs, in Windows terms. Paths are UTF-8 Windows
// paths; file contents are raw bytes and are never converted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// What a directory lookup reports for one path.
struct DirEntry {
  std::string name;  // the name as stored on disk, letter case included
  bool directory = false;
  bool hidden = false;
  bool system = false;
  bool read_only = false;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Clears read-only, hidden and system. False when the path is missing or refused.
  virtual bool SetNormalAttributes(const std::string& path) = 0;
  // The same for every file (never a folder) whose name matches the wildcard last component,
  // one by one. False when nothing matched or a match was refused.
  virtual bool SetNormalAttributesMatching(const std::string& pattern) = 0;

  // Deletes one file (never a folder). False when missing, a folder, read-only or in use.
  virtual bool DeleteFileAt(const std::string& path) = 0;
  // Deletes every file (never a folder) whose name matches the wildcard last component,
  // case-insensitively. False when nothing matched or a match could not be deleted.
  virtual bool DeleteMatching(const std::string& pattern) = 0;

  // Makes one folder; its parent must exist. False when anything is already there.
  virtual bool MakeDirectory(const std::string& path) = 0;
  // Removes a folder with everything in it. False when it is missing or something stayed.
  virtual bool DeleteFolder(const std::string& path) = 0;

  // Reads the whole file. Nullopt when it is missing, a folder or unreadable.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Makes the file hold exactly these bytes, creating it when missing; works on a file that
  // cannot be deleted but can be written. False when it cannot be opened or written; a
  // failed write may leave the file shortened.
  virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;
  // Writes a new file through a temporary name beside it, so the name never holds a partial
  // copy. False, and nothing left behind, when the file exists already or the write fails.
  virtual bool WriteNewFile(const std::string& path, std::string_view bytes) = 0;
  // Makes the file hold exactly these bytes by swapping in a complete copy written beside it,
  // so the name never holds a partial file; keeps the old file's security settings where the
  // system can. Tries again for about a second while another program holds the file. False,
  // with the old file as it was and nothing left behind, when it is read-only, a folder or
  // still held, or the copy cannot be written.
  virtual bool ReplaceFileContents(const std::string& path, std::string_view bytes) = 0;

  // Directory lookup of exactly one path (no wildcards). Nullopt when nothing is there.
  virtual std::optional<DirEntry> Lookup(const std::string& path) = 0;

  // False on any failure, a trailing backslash allowed ("C:\ICQ\").
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
};

// The folder text ending in exactly the backslash it may lack.
inline std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\')
    folder += '\\';
  return folder;
}

// Makes every missing folder above the file at path; existing ones are fine.
inline void MakeParentFolders(FileSystem& fs, const std::string& path) {
  for (size_t sep = path.find('\\', 3); sep != std::string::npos; sep = path.find('\\', sep + 1)) {
    fs.MakeDirectory(path.substr(0, sep));
  }
}

}  // namespace kelvane
