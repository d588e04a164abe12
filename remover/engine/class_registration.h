#pragma once
#include <windows.h>

#include <string>

namespace remover {

// The braced, upper-case 38-character registry form of a class identifier.
std::string GuidToText(const GUID& classId);

// The default value of HKCR\CLSID\{id}\InprocServer32: found only for a REG_SZ
// or REG_EXPAND_SZ value (unexpanded) that ends with its terminator and fits
// 260 bytes, in a key that opens with read and write access.
bool GetInprocServerPath(const GUID& classId, std::string& path);

// True when the user's own classes (HKEY_CURRENT_USER\Software\Classes)
// register the class's server, which HKEY_CLASSES_ROOT then shows over the
// machine's registration: any process of the user could have written it.
bool IsUserClassRegistration(const GUID& classId);

// True when the class's server path names anything that exists on disk.
bool IsModulePresent(const GUID& classId);

}  // namespace remover
