#include "install/icq_folder.h"

namespace kelvane {
namespace {

bool HasNormalFile(FileSystem& fs, const std::string& folder, const std::string& name) {
  auto entry = fs.Lookup(folder + name);
  // Windows opens names without regard to case; only the stored name tells the case.
  return entry && !entry->directory && !entry->hidden && !entry->system && entry->name == name;
}

}  // namespace

bool IsIcqFolder(FileSystem& fs, const std::string& folder) {
  return folder.size() >= 4 && HasNormalFile(fs, folder, kIcqProgram) &&
         HasNormalFile(fs, folder, kIcqCore);
}

bool ValidateFolderField(FileSystem& fs, const std::string& text) {
  return text.size() >= 4 && (IsIcqFolder(fs, text) || IsIcqFolder(fs, text + "\\"));
}

}  // namespace kelvane
