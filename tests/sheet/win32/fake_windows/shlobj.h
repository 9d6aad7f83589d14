// The shell's folder picker for the fake Win32 interface (see windows.h).
#pragma once

#include "windows.h"

using LPITEMIDLIST = struct FakeItemList*;
constexpr UINT BIF_RETURNONLYFSDIRS = 0x1;

struct BROWSEINFOA {
  HWND hwndOwner;
  LPITEMIDLIST pidlRoot;
  char* pszDisplayName;
  const char* lpszTitle;
  UINT ulFlags;
};

struct IMalloc {
  void Free(void*) { --fakeDesk.itemListsLive; }
  ULONG_PTR Release() { return 0; }
};

inline bool SUCCEEDED(HRESULT result) {
  return result >= 0;
}
inline HRESULT SHGetMalloc(IMalloc** allocator) {
  static IMalloc shellAllocator;
  *allocator = &shellAllocator;
  return 0;
}
inline LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* browse) {
  fakeDesk.browseOwners.push_back(browse->hwndOwner);
  if (fakeDesk.chosenFolder.empty()) return nullptr;
  ++fakeDesk.itemListsLive;
  return reinterpret_cast<LPITEMIDLIST>(&fakeDesk);
}
inline BOOL SHGetPathFromIDListA(LPITEMIDLIST, char* path) {
  std::memcpy(path, fakeDesk.chosenFolder.c_str(), fakeDesk.chosenFolder.size() + 1);
  return 1;
}
