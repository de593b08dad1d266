// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The settings store off Windows: one human-readable file a root in the user's configuration folder.
#include "platform/RegistryBackend.h"
#include <QSet>
#include <array>
#include <map>

namespace pulsivar {

class FileRegistryBackend : public RegistryBackend {
public:
    std::optional<StoredValue> read(uint32_t root, const QString &key, const QString &name) override;
    bool write(uint32_t root, const QString &key, const QString &name, const QString &text) override;
    bool remove(uint32_t root, const QString &key, const QString &name) override;
    void beginBatch() override;
    bool endBatch() override;
    std::optional<QString> takeReadProblem() override;
    std::optional<QString> takeSaveProblem() override;

    // By the XDG base-directory rules: XDG_CONFIG_HOME when it is an absolute path, else
    // $HOME/.config when HOME is one; empty when neither is.
    static QString configFolder();
    // The file that holds a root's values, as the environment is at the call; empty without a
    // configuration folder.
    static QString fileForRoot(uint32_t root);

private:
    using FileIdentity = std::array<qint64, 12>;

    struct RootFile {
        QString path;
        bool loaded = false;
        FileIdentity identity{};
        SettingsFile content;
        QString writeTarget;  // the path, or the settings file of ours that a link there leads to
        QString problem;      // why the file is not taken as settings; nothing is saved while set
        QString saveError;    // why the last save failed
        bool unsaved = false; // content holds changes the disk does not have yet
    };

    RootFile &current(uint32_t root);
    void readFile(RootFile &file);
    bool store(RootFile &file);

    int batchDepth = 0;
    std::map<uint32_t, RootFile> roots;
    QSet<QString> told;
};

} // namespace pulsivar
