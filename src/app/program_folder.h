#pragma once

// Where the program keeps kvx.ini, Errors/ and help/.

#include <QString>

namespace karvex {

// KARVEX_HOME when set; else the executable's folder; else, when that folder is not
// writable, the per-user application data folder. The folder exists on return.
QString ResolveProgramFolder();

// The help's contents page: help/index.html in the program folder, else beside the executable,
// else where an installation puts it (share/karvex/help beside the executable's bin folder).
// When none is there, the path in the program folder, for the message that names it.
QString ResolveHelpFile(const QString& programFolder);

} // namespace karvex
