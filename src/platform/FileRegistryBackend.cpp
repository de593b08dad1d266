// SPDX-License-Identifier: GPL-2.0-or-later
// Off Windows only: the registry stands in for this there.
#ifndef _WIN32
#include "platform/FileRegistryBackend.h"

#include "platform/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pulsivar {

namespace {
// Larger files are not settings we wrote; reading them whole would only cost memory.
constexpr qint64 maxSettingsFileSize = 16 * 1024 * 1024;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString fileName(uint32_t root)
{
    switch (root) {
    case HKEY_CURRENT_USER_ID: return QStringLiteral("Pulsivar.conf");
    case HKEY_LOCAL_MACHINE_ID: return QStringLiteral("Pulsivar-LocalMachine.conf");
    case HKEY_CLASSES_ROOT_ID: return QStringLiteral("Pulsivar-ClassesRoot.conf");
    default: return {};
    }
}

// What stat tells of the file and, through a link, of its target: a change means re-reading.
// Like every such check it cannot see a rewrite of the same size within one tick of the clock.
std::array<qint64, 12> identify(const QString &path)
{
    std::array<qint64, 12> identity{};
    const QByteArray native = QFile::encodeName(path);
    const auto put = [&identity](int at, const struct stat &info) {
        identity[at] = info.st_mode;
        identity[at + 1] = qint64(info.st_dev);
        identity[at + 2] = qint64(info.st_ino);
        identity[at + 3] = info.st_size;
        identity[at + 4] = info.st_mtim.tv_sec;
        identity[at + 5] = info.st_mtim.tv_nsec;
    };
    struct stat entry {};
    if (::lstat(native.constData(), &entry) != 0)
        return identity;
    put(0, entry);
    struct stat target {};
    if (S_ISLNK(entry.st_mode) && ::stat(native.constData(), &target) == 0)
        put(6, target);
    return identity;
}

QString noFolderProblem()
{
    const auto why = [](const char *name) {
        const QString value = QFile::decodeName(qgetenv(name));
        return value.isEmpty() ? QStringLiteral("%1 is not set").arg(QLatin1String(name))
                               : QStringLiteral("%1 ('%2') is not an absolute path").arg(QLatin1String(name), value);
    };
    return QStringLiteral("There is no folder for the settings: %1, and %2.").arg(why("HOME"), why("XDG_CONFIG_HOME"));
}

QString leftAlone(const QString &what)
{
    return what + QStringLiteral(" It is left as it is.");
}

// The bytes of a regular file, opened without following a link; the reason when it cannot be read.
std::optional<QString> readWhole(const QString &path, QByteArray &bytes, uid_t &owner)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (fd < 0)
        return systemError(errno);
    std::optional<QString> problem;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        problem = systemError(errno);
    else if (!S_ISREG(info.st_mode))
        problem = QStringLiteral("it is not an ordinary file");
    owner = info.st_uid;
    bytes.clear();
    if (!problem)
        bytes.reserve(qsizetype(std::min<qint64>(info.st_size, maxSettingsFileSize + 1)));
    char buffer[1 << 16];
    while (!problem) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            problem = systemError(errno);
        if (got <= 0)
            break;
        bytes.append(buffer, got);
        if (bytes.size() > maxSettingsFileSize)
            problem = QStringLiteral("it is larger than 16 MB, far more than settings take");
    }
    ::close(fd);
    return problem;
}
} // namespace

std::unique_ptr<RegistryBackend> createPlatformRegistryBackend()
{
    return std::make_unique<FileRegistryBackend>();
}

QString FileRegistryBackend::configFolder()
{
    // A relative path would depend on the folder the program was started from.
    const QString configHome = QFile::decodeName(qgetenv("XDG_CONFIG_HOME"));
    if (configHome.startsWith(u'/'))
        return configHome;
    const QString home = QFile::decodeName(qgetenv("HOME"));
    if (home.startsWith(u'/'))
        return QDir(home).filePath(QStringLiteral(".config"));
    return {};
}

QString FileRegistryBackend::fileForRoot(uint32_t root)
{
    const QString base = configFolder();
    const QString name = fileName(root);
    if (base.isEmpty() || name.isEmpty())
        return {};
    return QDir(base).filePath(QStringLiteral("Verrowind/") + name);
}

FileRegistryBackend::RootFile &FileRegistryBackend::current(uint32_t root)
{
    const QString path = fileForRoot(root);
    RootFile &file = roots[root];
    if (path.isEmpty()) {
        // Values saved meanwhile live on in memory for the rest of the run.
        if (!file.loaded || !file.path.isEmpty())
            file = RootFile{};
        file.loaded = true;
        file.problem = noFolderProblem();
        return file;
    }
    if (file.loaded && file.path == path && file.unsaved)
        return file;

    // Parsed once and kept while the file stays as it was; changed by another program, it is read again.
    const FileIdentity identity = identify(path);
    if (file.loaded && file.path == path && file.identity == identity)
        return file;
    file = RootFile{};
    file.path = path;
    file.identity = identity;
    readFile(file);
    file.loaded = true;
    return file;
}

void FileRegistryBackend::readFile(RootFile &file)
{
    file.writeTarget = file.path;
    struct stat entry {};
    if (::lstat(QFile::encodeName(file.path).constData(), &entry) != 0) {
        if (errno != ENOENT)
            file.problem = leftAlone(QStringLiteral("The settings file '%1' could not be read: %2.")
                                         .arg(shown(file.path), systemError(errno)));
        return;
    }

    QByteArray bytes;
    uid_t owner = 0;
    if (S_ISLNK(entry.st_mode)) {
        // A link is followed only to a settings file of this user's; any other link is replaced
        // by a file at the first save, and what it leads to is neither used nor written.
        char resolved[PATH_MAX];
        if (!::realpath(QFile::encodeName(file.path).constData(), resolved))
            return;
        const QString target = QFile::decodeName(resolved);
        if (readWhole(target, bytes, owner) || owner != ::geteuid())
            return;
        SettingsFile content = SettingsFile::parse(bytes);
        if (content.firstUnreadLine() != 0 || !content.hasKeys())
            return;
        file.content = std::move(content);
        file.writeTarget = target;
        return;
    }
    if (!S_ISREG(entry.st_mode)) {
        file.problem = leftAlone(QStringLiteral("The settings file '%1' is not an ordinary file.").arg(shown(file.path)));
        return;
    }
    if (const auto problem = readWhole(file.path, bytes, owner)) {
        file.problem = leftAlone(QStringLiteral("The settings file '%1' could not be read: %2.")
                                     .arg(shown(file.path), *problem));
        return;
    }
    SettingsFile content = SettingsFile::parse(bytes);
    // What was not understood is not replaced by what was: the file is kept for its owner to mend.
    if (const int line = content.firstUnreadLine()) {
        file.problem = leftAlone(QStringLiteral("The settings file '%1' holds text Pulsivar cannot read (line %2).")
                                     .arg(shown(file.path))
                                     .arg(line));
        return;
    }
    file.content = std::move(content);
}

bool FileRegistryBackend::store(RootFile &file)
{
    if (!file.problem.isEmpty()) {
        file.saveError = file.problem;
        return false;
    }
    const QString folder = QFileInfo(file.writeTarget).absolutePath();
    if (!QDir().mkpath(folder)) {
        file.saveError = QStringLiteral("The folder '%1' could not be created.").arg(shown(folder));
        return false;
    }
    const QFileInfo old(file.writeTarget);
    const bool replacing = old.isFile() && !old.isSymLink();
    if (const auto error = replaceFileContent(file.writeTarget, file.content.serialize())) {
        file.saveError = replacing ? *error + QStringLiteral(" The file keeps the settings saved before.") : *error;
        return false;
    }
    file.unsaved = false;
    file.saveError.clear();
    file.identity = identify(file.path);
    return true;
}

std::optional<StoredValue> FileRegistryBackend::read(uint32_t root, const QString &key, const QString &name)
{
    if (fileName(root).isEmpty())
        return std::nullopt;
    return current(root).content.value(key, name);
}

bool FileRegistryBackend::write(uint32_t root, const QString &key, const QString &name, const QString &text)
{
    if (fileName(root).isEmpty())
        return false;
    RootFile &file = current(root);
    file.content.setText(key, name, text);
    file.unsaved = true;
    return batchDepth > 0 ? file.problem.isEmpty() : store(file);
}

bool FileRegistryBackend::remove(uint32_t root, const QString &key, const QString &name)
{
    if (fileName(root).isEmpty())
        return false;
    RootFile &file = current(root);
    if (!file.content.remove(key, name))
        return false;
    file.unsaved = true;
    return batchDepth > 0 ? file.problem.isEmpty() : store(file);
}

void FileRegistryBackend::beginBatch()
{
    ++batchDepth;
}

bool FileRegistryBackend::endBatch()
{
    if (batchDepth == 0 || --batchDepth > 0)
        return true;
    bool ok = true;
    for (auto &[root, file] : roots) {
        if (file.unsaved)
            ok = store(file) && ok;
    }
    return ok;
}

std::optional<QString> FileRegistryBackend::takeReadProblem()
{
    for (const auto &[root, file] : roots) {
        if (!file.problem.isEmpty() && !told.contains(file.problem)) {
            told.insert(file.problem);
            return file.problem;
        }
    }
    return std::nullopt;
}

std::optional<QString> FileRegistryBackend::takeSaveProblem()
{
    for (const auto &[root, file] : roots) {
        if (file.unsaved && !file.saveError.isEmpty() && !told.contains(file.saveError)) {
            told.insert(file.saveError);
            return file.saveError;
        }
    }
    return std::nullopt;
}

} // namespace pulsivar
#endif
