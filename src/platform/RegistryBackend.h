// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// Where the settings store keeps its values: the registry on Windows, text files elsewhere.
#include "platform/SettingsFile.h"
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace pulsivar {

inline constexpr uint32_t HKEY_CLASSES_ROOT_ID = 0x80000000u;
inline constexpr uint32_t HKEY_CURRENT_USER_ID = 0x80000001u;
inline constexpr uint32_t HKEY_LOCAL_MACHINE_ID = 0x80000002u;

class RegistryBackend {
public:
    virtual ~RegistryBackend() = default;
    virtual std::optional<StoredValue> read(uint32_t root, const QString &key, const QString &name) = 0;
    virtual bool write(uint32_t root, const QString &key, const QString &name, const QString &text) = 0;
    virtual bool remove(uint32_t root, const QString &key, const QString &name) = 0;
    // Writes made between begin and end reach the disk together, or not at all.
    virtual void beginBatch() {}
    virtual bool endBatch() { return true; }

    // Why stored values could not be read, so that the store started empty and will not save;
    // each reason is given once.
    virtual std::optional<QString> takeReadProblem() { return std::nullopt; }
    // Why changes are still not on the disk; each reason once, and none already given as a read
    // problem.
    virtual std::optional<QString> takeSaveProblem() { return std::nullopt; }
};

// The platform's store, created on first use.
RegistryBackend &registryBackend();
std::unique_ptr<RegistryBackend> createPlatformRegistryBackend();

// What the user must hear about the store: at start, why the settings could not be read; at exit,
// why they could not be saved. Nothing when all is well or the reason was given before.
inline std::optional<QString> takeSettingsReadProblem() { return registryBackend().takeReadProblem(); }
inline std::optional<QString> takeSettingsSaveProblem() { return registryBackend().takeSaveProblem(); }

// Groups the writes of its lifetime into one; the whole settings save uses it.
class RegistryBatch {
public:
    RegistryBatch() { registryBackend().beginBatch(); }
    ~RegistryBatch() { registryBackend().endBatch(); }
    RegistryBatch(const RegistryBatch &) = delete;
    RegistryBatch &operator=(const RegistryBatch &) = delete;
};

} // namespace pulsivar
