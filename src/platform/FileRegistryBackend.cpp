#include "platform/FileRegistryBackend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace pulsivar {

namespace {
// Larger files are not settings we wrote; reading them whole would only cost memory.
constexpr qint64 maxSettingsFileSize = 16 * 1024 * 1024;
} // namespace

#ifndef _WIN32
std::unique_ptr<RegistryBackend> createPlatformRegistryBackend()
{
    return std::make_unique<FileRegistryBackend>();
}
#endif

QString FileRegistryBackend::fileForRoot(uint32_t root)
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    QString name;
    switch (root) {
    case HKEY_CURRENT_USER_ID: name = QStringLiteral("Pulsivar.conf"); break;
    case HKEY_LOCAL_MACHINE_ID: name = QStringLiteral("Pulsivar-LocalMachine.conf"); break;
    case HKEY_CLASSES_ROOT_ID: name = QStringLiteral("Pulsivar-ClassesRoot.conf"); break;
    default: return {};
    }
    return QDir(base).filePath(QStringLiteral("Verrowind/") + name);
}

SettingsFile FileRegistryBackend::load(uint32_t root)
{
    if (batchDepth > 0 && pending.contains(root))
        return pending.value(root);
    QFile file(fileForRoot(root));
    if (!QFileInfo(file).isFile() || file.size() > maxSettingsFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return SettingsFile::parse(file.readAll());
}

bool FileRegistryBackend::store(uint32_t root, const SettingsFile &content)
{
    if (batchDepth > 0) {
        pending.insert(root, content);
        return true;
    }
    const QString path = fileForRoot(root);
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // Written beside and renamed over, so a process killed mid-save leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = content.serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<StoredValue> FileRegistryBackend::read(uint32_t root, const QString &key, const QString &name)
{
    if (fileForRoot(root).isEmpty())
        return std::nullopt;
    return load(root).value(key, name);
}

bool FileRegistryBackend::write(uint32_t root, const QString &key, const QString &name, const QString &text)
{
    if (fileForRoot(root).isEmpty())
        return false;
    SettingsFile file = load(root);
    file.setText(key, name, text);
    return store(root, file);
}

bool FileRegistryBackend::remove(uint32_t root, const QString &key, const QString &name)
{
    if (fileForRoot(root).isEmpty())
        return false;
    SettingsFile file = load(root);
    if (!file.remove(key, name))
        return false;
    return store(root, file);
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
    const auto roots = pending.keys();
    for (const uint32_t root : roots)
        ok = store(root, pending.value(root)) && ok;
    pending.clear();
    return ok;
}

RegistryBackend &registryBackend()
{
    static std::unique_ptr<RegistryBackend> backend = createPlatformRegistryBackend();
    return *backend;
}

} // namespace pulsivar
