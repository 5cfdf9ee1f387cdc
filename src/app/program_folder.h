#pragma once

// Where the program keeps kvx.ini, Errors/ and help/.

#include <QString>

namespace karvex {

// KARVEX_HOME when set; else the executable's folder; else, when that folder is not
// writable, the per-user application data folder. The folder exists on return.
QString ResolveProgramFolder();

} // namespace karvex
