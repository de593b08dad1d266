// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <QSaveFile>
#else
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pulsivar {

namespace {
QString failure(const QString &path, const QString &why)
{
    return QStringLiteral("Writing '%1' failed: %2.").arg(QDir::toNativeSeparators(path), why);
}
} // namespace

#ifdef _WIN32

std::optional<QString> replaceFileContent(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size()
        || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failure(path, why);
    }
    if (!file.commit())
        return failure(path, file.errorString());
    return std::nullopt;
}

#else

namespace {
bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(std::min<qsizetype>(size, 1 << 20)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Makes the rename itself survive a power cut; a folder that cannot be synced changes nothing.
void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
} // namespace

std::optional<QString> replaceFileContent(const QString &path, const QByteArray &bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(path, QString::fromLocal8Bit(std::strerror(errno)));

    // A file that is replaced keeps its permissions; a new one gets the usual ones.
    struct stat old {};
    const bool replacesFile = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    bool ok = ::fchmod(fd, replacesFile ? (old.st_mode & 07777) : newFileMode()) == 0
              && writeAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.constData(), target.constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.constData());
        return failure(path, QString::fromLocal8Bit(std::strerror(error)));
    }
    syncFolder(folder);
    return std::nullopt;
}

#endif

} // namespace pulsivar
