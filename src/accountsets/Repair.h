#pragma once

#include <QString>

struct App;

// Offers the repair of an account-set file that does not open: closes
// CurrentDatabase and shows the compaction window in repair mode for `path`.
// The database stays closed for the caller, who decides what comes next.
void RepairAccountSet(App& app, const QString& path, const QString& setName);
