#pragma once
// Whether this process runs with the full half of a split token: an
// administrator's elevated process beside the same user's limited ones, which
// share its registry hive and profile folders and may have prepared them.
// False with UAC off, for the built-in Administrator and the system account
// (no limited twin), on systems before Vista and on the Windows 95 family.

namespace platform {

bool RunsWithFullSplitToken();

}  // namespace platform
