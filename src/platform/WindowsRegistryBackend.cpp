// SPDX-License-Identifier: GPL-2.0-or-later
// The settings store on Windows: the registry itself, through advapi32. Compiled only there.
#ifdef _WIN32
#include "platform/RegistryBackend.h"

#include <windows.h>

namespace pulsivar {

namespace {

HKEY rootHandle(uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(root));
}

class WindowsRegistryBackend : public RegistryBackend {
public:
    std::optional<StoredValue> read(uint32_t root, const QString &key, const QString &name) override
    {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(rootHandle(root), key.toLocal8Bit().constData(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return std::nullopt;
        char buffer[1024] = {};
        DWORD type = 0;
        DWORD length = sizeof buffer;
        const LONG result = RegQueryValueExA(handle, name.toLocal8Bit().constData(), nullptr, &type,
                                             reinterpret_cast<BYTE *>(buffer), &length);
        RegCloseKey(handle);
        if (result != ERROR_SUCCESS)
            return std::nullopt;
        StoredValue value;
        if (type == REG_SZ) {
            value.text = QString::fromLocal8Bit(buffer, qstrnlen(buffer, sizeof buffer));
        } else if (type == REG_DWORD && length >= 4) {
            value.type = StoredValue::Type::Number;
            value.number = int32_t(uint32_t(uint8_t(buffer[0])) | uint32_t(uint8_t(buffer[1])) << 8
                                   | uint32_t(uint8_t(buffer[2])) << 16 | uint32_t(uint8_t(buffer[3])) << 24);
        } else {
            value.type = StoredValue::Type::Other;
        }
        return value;
    }

    bool write(uint32_t root, const QString &key, const QString &name, const QString &text) override
    {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(rootHandle(root), key.toLocal8Bit().constData(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) {
            SECURITY_ATTRIBUTES security{12, nullptr, TRUE};
            char className[] = "0";
            if (RegCreateKeyExA(rootHandle(root), key.toLocal8Bit().constData(), 0, className, 0, KEY_ALL_ACCESS,
                                &security, &handle, nullptr) != ERROR_SUCCESS)
                return false;
        }
        const QByteArray bytes = text.toLocal8Bit();
        const LONG result = RegSetValueExA(handle, name.toLocal8Bit().constData(), 0, REG_SZ,
                                           reinterpret_cast<const BYTE *>(bytes.constData()), DWORD(bytes.size() + 1));
        RegCloseKey(handle);
        return result == ERROR_SUCCESS;
    }

    bool remove(uint32_t root, const QString &key, const QString &name) override
    {
        HKEY handle = nullptr;
        if (RegOpenKeyExA(rootHandle(root), key.toLocal8Bit().constData(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
            return false;
        const LONG result = RegDeleteValueA(handle, name.toLocal8Bit().constData());
        RegCloseKey(handle);
        return result == ERROR_SUCCESS;
    }
};

} // namespace

std::unique_ptr<RegistryBackend> createPlatformRegistryBackend()
{
    return std::make_unique<WindowsRegistryBackend>();
}

} // namespace pulsivar
#endif
