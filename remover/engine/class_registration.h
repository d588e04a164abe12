#pragma once
#include <windows.h>

#include <string>
#include <optional>

namespace remover {

// The braced, upper-case 38-character registry form of a class identifier.
std::string GuidToText(const GUID& classId);

// One server path of a class and the hive it was read from. Any process of
// the user can write the user's classes; only administrators the machine's.
struct ClassServer {
    std::string path;
    bool fromUser = false;
};

// The default value of CLSID\{id}\InprocServer32, read directly from the
// user's classes (HKEY_CURRENT_USER\Software\Classes), which on Windows
// HKEY_CLASSES_ROOT shows over the machine's, and else from the machine's
// (HKEY_LOCAL_MACHINE\Software\Classes). Each hive is read once, and the
// origin is the hive the path came from: asking the user's hive a second
// time could give another answer than the read that gave the path. A path is
// found only for a REG_SZ or REG_EXPAND_SZ value (unexpanded) that ends with
// its terminator and fits 260 bytes, in a key that opens with read and write
// access.
std::optional<ClassServer> ReadInprocServer(const GUID& classId);

// Deletes the class's key from the user's and from the machine's classes. A
// registry link on the way to the user's key is not followed.
void DeleteClassRegistration(const GUID& classId);

// True when the server path of the class names anything that exists on disk.
bool IsModulePresent(const GUID& classId);

}  // namespace remover
