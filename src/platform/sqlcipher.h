#pragma once
// The one include of the SQLCipher C API (built with its codec enabled).
#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>
