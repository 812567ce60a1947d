#pragma once
// The association of account-set files (*.vxs) with this program, written
// into the user's data folder as a freedesktop MIME type and a desktop entry.

#include <QString>

// The MIME type of an account-set file.
inline constexpr const char* AccountSetMimeType = "application/x-vorlixan";

// Writes (again) the MIME type "Vorlix账套文件" for *.vxs, the program's icon
// as a PNG in the user's icon folder, and a desktop entry with that icon that
// opens such a file with `program`; then brings the user's MIME database up
// to date and waits for that. Every failure is ignored.
void RegisterFileAssociation(const QString& program);
