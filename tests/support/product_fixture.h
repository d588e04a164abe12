#pragma once
// The product's fixed registry places, for seeding a Meridel installation.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

constexpr char kProductKey[] = "Software\\Halvorix\\Meridel\\2.1";
constexpr char kProductParentKey[] = "Software\\Halvorix\\Meridel";

// The registry text of every class identifier of the component table, in order.
std::vector<std::string> ComponentClassIds();

// HKCR\CLSID\{id}\InprocServer32 default value = path, of the given type.
void RegisterClass(const std::string& classId, const std::string& path, DWORD type = REG_SZ);
std::string ClassKey(const std::string& classId);  // "CLSID\{id}"

// The product key, the maker's key and every class registration of the table:
// what a test that runs the removal must start from clean and leave clean.
std::vector<std::pair<HKEY, std::string>> ProductRegistryPlaces();

// The current user's VRML extensions, content types and the two file types:
// what the file-type registration writes and its removal deletes.
std::vector<std::pair<HKEY, std::string>> PerUserFileTypePlaces();

}  // namespace testsupport
