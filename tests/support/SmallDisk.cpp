#include "support/SmallDisk.h"

#include <QDirIterator>
#include <QFile>
#include <sys/mount.h>

SmallDisk::SmallDisk(qint64 bytes)
{
    if (!m_dir.isValid())
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

void SmallDisk::fill()
{
    QFile f(m_dir.path() + QStringLiteral("/filler"));
    if (!f.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(4096, 'x');
    while (f.write(block) == block.size() && f.flush()) {
    }
    f.close();
}

QStringList SmallDisk::files() const
{
    QStringList names;
    QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(m_dir.path().size() + 1);
    names.sort();
    return names;
}
