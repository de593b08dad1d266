#pragma once
// The settings store off Windows: one human-readable file a root in the user's configuration folder.
#include "platform/RegistryBackend.h"
#include <QHash>

namespace pulsivar {

class FileRegistryBackend : public RegistryBackend {
public:
    std::optional<StoredValue> read(uint32_t root, const QString &key, const QString &name) override;
    bool write(uint32_t root, const QString &key, const QString &name, const QString &text) override;
    bool remove(uint32_t root, const QString &key, const QString &name) override;
    void beginBatch() override;
    bool endBatch() override;

    // The file that holds a root's values; it follows XDG_CONFIG_HOME as it is at the call.
    static QString fileForRoot(uint32_t root);

private:
    SettingsFile load(uint32_t root);
    bool store(uint32_t root, const SettingsFile &file);

    int batchDepth = 0;
    QHash<uint32_t, SettingsFile> pending;
};

} // namespace pulsivar
