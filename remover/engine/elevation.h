#pragma once

namespace remover {

// True when this process runs with an elevated token. An elevated remover
// shares the user's registry hive and profile folders with every unelevated
// process of that user, so what it finds there may have been planted.
// False where the system cannot tell (no TokenElevation): such systems have
// no split token, and the remover behaves as it always has.
bool IsProcessElevated();

}  // namespace remover
