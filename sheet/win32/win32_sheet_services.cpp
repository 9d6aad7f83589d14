#include "sheet/win32/win32_sheet_services.h"

#include <shlobj.h>

#include <string>

namespace grazefall::platform::win32 {

std::optional<std::string> Win32SheetServices::programDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(module_, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  std::string directory(path, length);
  const size_t separator = directory.find_last_of("\\/");
  if (separator == std::string::npos) return std::nullopt;
  return directory.substr(0, separator + 1);
}

std::vector<std::string> Win32SheetServices::listDirectory(std::string_view directory) {
  std::vector<std::string> names;
  std::string pattern(directory);
  if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += "*.*";
  WIN32_FIND_DATAA entry{};
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.emplace_back(entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return names;
}

std::optional<std::string> Win32SheetServices::browseForDirectory(std::string_view title) {
  const std::string heading(title);
  char chosen[MAX_PATH] = {};
  BROWSEINFOA browse{};
  browse.hwndOwner = owner_;
  browse.pszDisplayName = chosen;
  browse.lpszTitle = heading.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST item = SHBrowseForFolderA(&browse);
  if (item == nullptr) return std::nullopt;
  char path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListA(item, path) != FALSE;
  // The shell's item list is freed with the shell's allocator.
  IMalloc* allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator != nullptr) {
    allocator->Free(item);
    allocator->Release();
  }
  if (!found) return std::nullopt;
  // The short (8.3) form, in place; a path the system cannot shorten stays
  // as it is.
  char shortPath[MAX_PATH] = {};
  const DWORD shortLength = GetShortPathNameA(path, shortPath, MAX_PATH);
  if (shortLength > 0 && shortLength < MAX_PATH) return std::string(shortPath, shortLength);
  return std::string(path);
}

bool Win32SheetServices::canLoadPicture(std::string_view path) {
  const std::string file(path);
  HANDLE bitmap =
      LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  if (bitmap == nullptr) return false;
  DeleteObject(bitmap);
  return true;
}

void Win32SheetServices::openHelp() {
  std::string helpFile = programDirectory().value_or("") + kHelpFileName;
  WinHelpA(page_, helpFile.c_str(), HELP_CONTENTS, 0);
}

void Win32SheetServices::showMessage(std::string_view text, std::string_view caption) {
  const std::string body(text);
  const std::string title(caption);
  MessageBoxA(owner_, body.c_str(), title.c_str(), MB_OK);
}

platform::DisplayModes* Win32SheetServices::displayModes() {
  if (!display_ && system_ != nullptr) display_ = system_->createDisplayDevice();
  return display_.get();
}

}  // namespace grazefall::platform::win32
