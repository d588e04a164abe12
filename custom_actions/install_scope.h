#pragma once
// Whether the installation serves every user of the machine or only the
// installing one; it decides which registrations and folders may be used.

namespace custom_actions {

enum class InstallScope { kPerUser, kPerMachine };

}  // namespace custom_actions
