#pragma once
// The association of account-set files (*.vxs) with this program, written
// into the user's data folder as a freedesktop MIME type and a desktop entry.

#include <QString>

// The MIME type of an account-set file.
inline constexpr const char* AccountSetMimeType = "application/x-vorlixan";

// Writes (again) the MIME type "Vorlix账套文件" for *.vxs with the icon
// appFolder + "zb.ico", and a desktop entry that opens such a file with
// `program`. Every failure is ignored.
void RegisterFileAssociation(const QString& appFolder, const QString& program);
