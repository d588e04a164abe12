#pragma once
#include <string>

#include "platform/unique_resource.h"

namespace remover {

// The report file that /r asks for, made before the removal starts.
class ReportFile {
public:
    // Creates the file anew (a file already there is replaced, never
    // appended to) and writes the byte-order mark. The name is resolved
    // against the folder as it is now; the file is made relative to that held
    // folder, so that a link put at its name or in place of the folder later
    // leads nowhere. False when it cannot be made.
    bool Create(const std::wstring& path);
    void Write(const std::string& bytes);
    // True while every write has gone through whole.
    bool Intact() const { return file_.valid() && intact_; }

private:
    platform::UniqueFile file_;
    bool intact_ = true;
};

}  // namespace remover
