#pragma once
// A small file system of its own (tmpfs with a size limit), for tests of a
// full disk. Mounting needs root; a test skips when none can be made:
//
//   SmallDisk disk(64 * 1024);
//   SKIP_WITHOUT_SMALL_DISK(disk);
//   ... write into disk.path() until it is full ...

#include <QString>
#include <QTemporaryDir>

class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isValid() const { return m_mounted; }
    QString path() const { return m_dir.path(); }  // no trailing "/"
    // Fills the disk up to its last few bytes with one file.
    void fill();
    // Every file in the disk's folders, hidden ones included, relative to path().
    QStringList files() const;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

#define SKIP_WITHOUT_SMALL_DISK(disk)                                      \
    do {                                                                   \
        if (!(disk).isValid())                                             \
            QSKIP("no small file system can be mounted (needs root)");     \
    } while (0)
