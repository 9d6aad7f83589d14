// Just enough of the Win32 interface for the sheet's desktop services to build
// on any host: every call lands in FakeDesk, which a test arranges and reads.
// The constants have their Win32 values.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using BOOL = int;
using DWORD = uint32_t;
using UINT = unsigned int;
using ULONG_PTR = uintptr_t;
using HRESULT = long;
using HANDLE = void*;
using HWND = struct FakeWindow*;
using HINSTANCE = struct FakeModule*;
using HGDIOBJ = void*;
using LPCSTR = const char*;

constexpr BOOL FALSE = 0;
constexpr DWORD MAX_PATH = 260;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_LOADFROMFILE = 0x10;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT HELP_CONTEXT = 0x1;
constexpr UINT HELP_QUIT = 0x2;
constexpr UINT HELP_CONTENTS = 0x3;
constexpr UINT HELP_FINDER = 0xB;
constexpr UINT MB_OK = 0;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(intptr_t{-1});

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  char cFileName[MAX_PATH];
};

struct FakeDesk {
  struct Call {
    HWND owner;
    std::string text;
    std::string caption;
    UINT command;
  };
  std::string modulePath = "C:\\Saver\\grazefall.scr";
  std::map<HWND, HWND> parents;
  std::vector<Call> help;
  std::vector<Call> messages;
  // The folder picker: the folder chosen (empty: cancelled) and its owner.
  std::string chosenFolder;
  std::vector<HWND> browseOwners;
  int itemListsLive = 0;
  // Short forms by long path; a path missing here cannot be shortened.
  std::map<std::string, std::string> shortForms;
  std::vector<std::string> loadablePictures;
  int bitmapsLive = 0;
};
inline FakeDesk fakeDesk;

inline HWND GetParent(HWND window) {
  const auto found = fakeDesk.parents.find(window);
  return found == fakeDesk.parents.end() ? nullptr : found->second;
}
inline DWORD GetModuleFileNameA(HINSTANCE, char* path, DWORD size) {
  const std::string& name = fakeDesk.modulePath;
  if (name.size() >= size) return size;
  std::memcpy(path, name.c_str(), name.size() + 1);
  return static_cast<DWORD>(name.size());
}
inline HANDLE FindFirstFileA(const char*, WIN32_FIND_DATAA*) {
  return INVALID_HANDLE_VALUE;
}
inline BOOL FindNextFileA(HANDLE, WIN32_FIND_DATAA*) {
  return FALSE;
}
inline BOOL FindClose(HANDLE) {
  return 1;
}
inline DWORD GetShortPathNameA(const char* path, char* shortPath, DWORD size) {
  const auto found = fakeDesk.shortForms.find(path);
  if (found == fakeDesk.shortForms.end() || found->second.size() >= size) return 0;
  std::memcpy(shortPath, found->second.c_str(), found->second.size() + 1);
  return static_cast<DWORD>(found->second.size());
}
inline HANDLE LoadImageA(HINSTANCE, const char* name, UINT, int, int, UINT) {
  for (const std::string& loadable : fakeDesk.loadablePictures) {
    if (loadable == name) {
      ++fakeDesk.bitmapsLive;
      return &fakeDesk;
    }
  }
  return nullptr;
}
inline BOOL DeleteObject(HGDIOBJ) {
  --fakeDesk.bitmapsLive;
  return 1;
}
inline BOOL WinHelpA(HWND owner, const char* file, UINT command, ULONG_PTR) {
  fakeDesk.help.push_back({owner, file, {}, command});
  return 1;
}
inline int MessageBoxA(HWND owner, const char* text, const char* caption, UINT) {
  fakeDesk.messages.push_back({owner, text, caption, 0});
  return 1;
}
