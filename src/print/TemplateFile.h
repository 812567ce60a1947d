#pragma once
// The layout template file: a text file in the Chinese code page with CR LF
// line ends, a header of KEY=value lines and then the items (ITEM= lines,
// each followed by its property lines). Read into a PrintLayout, written
// back from one; a template file is only ever replaced whole.

#include "print/Layout.h"

#include <QString>
#include <QStringList>

namespace TemplateFile {

// Reads a template file's text (GBK, CR LF or LF); false when it cannot be read.
bool ReadFile(const QString& path, QStringList& lines);

// Reads template text into `layout` (header pass, then item pass); false,
// with no items read, when its PID line names another layout than `pid`.
// Throws std::runtime_error on a value out of range.
bool ReadLines(PrintLayout& layout, const QStringList& lines, const QString& pid);

// The layout as template lines, in the writer's order.
QStringList Lines(const PrintLayout& layout);

// Writes the layout to `path`: a new file takes the real name only when it
// is whole, and the previous file is kept as path + "_OLD". "" on success,
// else what went wrong; on failure the file on disk is as it was.
QString Save(const PrintLayout& layout, const QString& path);

}  // namespace TemplateFile
