#include "remover/engine/file_deletion.h"

bool g_restartNeeded = false;

namespace remover {

const char kTooLongName[] = "!! ERROR - Too Long Name !!";

void DeleteFileOrSchedule(const std::string&) {}

std::string ExpandToLongPath(const std::string& path) { return path; }

std::string FindLongName(const std::string& path) { return path; }

}  // namespace remover
