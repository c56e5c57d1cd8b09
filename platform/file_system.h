// File and folder operations the tweak run needs, in Windows terms. Paths are UTF-8 Windows
// paths; file contents are raw bytes and are never converted.
#pragma once

#include <cstdint>
#include <functional>
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

// Where the new bytes of a rewritten file go, in order.
class ByteSink {
 public:
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~ByteSink() = default;
};

// Collects the bytes in memory.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

// Makes a file's new bytes from its old ones, which come piece by piece; a piece may end
// anywhere, even between the two bytes of a CR LF.
class FileEdit {
 public:
  virtual void Take(std::string_view piece, ByteSink& out) = 0;
  // After the last piece: writes what is left and says whether the new bytes are to replace
  // the old ones.
  virtual bool Finish(ByteSink& out) = 0;

 protected:
  ~FileEdit() = default;
};

enum class Rewrite {
  Replaced,    // the new bytes are in place
  Kept,        // the edit declined them
  Unreadable,  // missing, a folder, or it could not be read
  Failed,      // read-only, held by another program, or the copy could not be written
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
  // Passes the whole file to take piece by piece, never holding it whole; a piece may end
  // anywhere. False when it is missing, a folder or unreadable.
  virtual bool ReadInPieces(const std::string& path,
                            const std::function<void(std::string_view)>& take) = 0;
  // Makes the file hold exactly these bytes, creating it when missing, and never shows a
  // partial file under its name: a complete, flushed copy beside it is swapped in, keeping the
  // old file's security settings where the system can. Tries again for about a second while
  // another program holds the file; one that holds it open so that it cannot be swapped, and a
  // file that is a link (which must stay one), get the copy written into them in place, to its
  // exact length. False when the file is read-only, a folder, its folder is missing, or no way
  // works; the file then keeps its old bytes and nothing is left beside it (but for a swap that
  // lost the old name half-way: the complete copy beside it is then all that is left).
  virtual bool WriteFile(const std::string& path, std::string_view bytes) = 0;
  // Writes a new file through a temporary name beside it, so the name never holds a partial
  // copy. False, and nothing left behind, when the file exists already or the write fails.
  virtual bool WriteNewFile(const std::string& path, std::string_view bytes) = 0;
  // Rewrites a file through the edit without ever holding it whole: the old bytes go to the
  // edit piece by piece, its new bytes to a complete copy beside the file, which is put in the
  // file's place as WriteFile does. Whatever the result but Replaced, the old file is as it was
  // and nothing is left beside it.
  virtual Rewrite RewriteFile(const std::string& path, FileEdit& edit) = 0;

  // Directory lookup of exactly one path (no wildcards). Nullopt when nothing is there.
  virtual std::optional<DirEntry> Lookup(const std::string& path) = 0;

  // False on any failure, a trailing backslash allowed ("C:\ICQ\").
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // True when the path itself, not what it may point to, is a junction, symbolic link or other
  // reparse point, or a file that also has another name (a hard link). False when it is missing.
  virtual bool IsLink(const std::string& path) = 0;
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
