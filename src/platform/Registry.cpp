// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/Registry.h"

#include "common/NumberText.h"
#include "platform/RegistryBackend.h"

#include <QDir>
#include <QOperatingSystemVersion>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>

namespace pulsivar {

namespace {
// A value this long or longer did not fit the read buffer and never reads back.
constexpr qsizetype readBufferBytes = 1024;
constexpr int32_t platformWin32NT = 2;
// Off Windows there is no Windows platform id to report.
constexpr int32_t platformNotWindows = -1;


QString folderOf(QStandardPaths::StandardLocation location, bool create)
{
    const QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty())
        return {};
    if (create && !QDir().mkpath(path))
        return {};
    return QDir::toNativeSeparators(path);
}
} // namespace

bool clsRegistry::GetApplicationKey(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef,
                                    QString &sKeyVal)
{
    const auto value = registryBackend().read(uint32_t(lKeyRoot), sKeyName, sSubKeyRef);
    if (!value || (value->type == StoredValue::Type::Text
                   && value->text.toLocal8Bit().size() >= readBufferBytes)) {
        sKeyVal.clear();
        return false;
    }
    switch (value->type) {
    case StoredValue::Type::Text: {
        const qsizetype nul = value->text.indexOf(QChar(0));
        sKeyVal = nul >= 0 ? value->text.left(nul) : value->text;
        break;
    }
    case StoredValue::Type::Number: sKeyVal = QString::number(value->number); break;
    case StoredValue::Type::Other: break;
    }
    return true;
}

bool clsRegistry::SetApplicationKey(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef,
                                    QString sKeyVal)
{
    if (sKeyName.isEmpty() || sSubKeyRef.isEmpty())
        return false;
    // A value that exists is never empty.
    if (sKeyVal.isEmpty())
        sKeyVal = QStringLiteral(" ");
    return registryBackend().write(uint32_t(lKeyRoot), sKeyName, sSubKeyRef, sKeyVal);
}

bool clsRegistry::DeleteApplicationValue(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef)
{
    return registryBackend().remove(uint32_t(lKeyRoot), sKeyName, sSubKeyRef);
}

QString clsRegistry::UsersLocalDataPath()
{
    return folderOf(QStandardPaths::GenericDataLocation, true);
}

QString clsRegistry::UsersMyDocumentsPath()
{
    return folderOf(QStandardPaths::DocumentsLocation, false);
}

QString clsRegistry::UsersTemporaryPath()
{
    const QString path = QDir::toNativeSeparators(QDir::tempPath());
    if (path.isEmpty())
        return {};
    return path.endsWith(QDir::separator()) ? path : path + QDir::separator();
}

bool clsRegistry::GetOsVersion(int32_t &lMajorVersion, int32_t &lMinorVersion, int32_t &lBuildNum,
                               int32_t &lPlatformId)
{
#ifdef _WIN32
    const auto version = QOperatingSystemVersion::current();
    lMajorVersion = version.majorVersion();
    lMinorVersion = version.minorVersion();
    lBuildNum = version.microVersion();
    lPlatformId = platformWin32NT;
    return true;
#else
    // The kernel's version is this system's honest counterpart ("6.1.0-18-amd64").
    static const QRegularExpression pattern(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const auto match = pattern.match(QSysInfo::kernelVersion());
    if (!match.hasMatch())
        return false;
    lMajorVersion = match.captured(1).toInt();
    lMinorVersion = match.captured(2).toInt();
    lBuildNum = match.captured(3).toInt();
    lPlatformId = platformNotWindows;
    return true;
#endif
}

bool clsRegistry::IsOsVersionWinNT()
{
    int32_t major = 0, minor = 0, buildNum = 0, platform = 0;
    return GetOsVersion(major, minor, buildNum, platform) && platform == platformWin32NT;
}

void clsRegistry::saveFormValue(const QString &valueName, int32_t value)
{
    SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), valueName,
                      QString::number(value));
}

int32_t clsRegistry::getFormValue(const QString &valueName, int32_t lDefault)
{
    QString text;
    if (!GetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), valueName, text))
        return lDefault;
    // A stored value that is no number reads as 0, not as the default.
    return toInt32(text).value_or(0);
}

void clsRegistry::SaveFormPositionTop(const QString &sFormName, int32_t sFormTop) { saveFormValue(sFormName + "Top", sFormTop); }
void clsRegistry::SaveFormPositionLeft(const QString &sFormName, int32_t lLeft) { saveFormValue(sFormName + "Left", lLeft); }
void clsRegistry::SaveFormPositionHeight(const QString &sFormName, int32_t lHeight) { saveFormValue(sFormName + "Height", lHeight); }
void clsRegistry::SaveFormPositionWidth(const QString &sFormName, int32_t lWidth) { saveFormValue(sFormName + "Width", lWidth); }
int32_t clsRegistry::GetFormPositionTop(const QString &sFormName, int32_t lDefault) { return getFormValue(sFormName + "Top", lDefault); }
int32_t clsRegistry::GetFormPositionLeft(const QString &sFormName, int32_t lDefault) { return getFormValue(sFormName + "Left", lDefault); }
int32_t clsRegistry::GetFormPositionHeight(const QString &sFormName, int32_t lDefault) { return getFormValue(sFormName + "Height", lDefault); }
int32_t clsRegistry::GetFormPositionWidth(const QString &sFormName, int32_t lDefault) { return getFormValue(sFormName + "Width", lDefault); }

void clsRegistry::SaveUserSetting(const QString &sSettingName, const QString &sSettingValue)
{
    SetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), sSettingName, sSettingValue);
}

QString clsRegistry::GetUserSetting(const QString &sSettingName)
{
    QString text;
    if (!GetApplicationKey(int32_t(HKEY_CURRENT_USER_ID), QString::fromLatin1(applicationKey), sSettingName, text))
        return {};
    return trimBlanks(text).toString();
}

void clsRegistry::SaveGlobalSetting(const QString &sKeyName, const QString &sSettingName, const QString &sSettingValue)
{
    SetApplicationKey(int32_t(HKEY_LOCAL_MACHINE_ID), sKeyName, sSettingName, sSettingValue);
}

QString clsRegistry::GetGlobalSetting(const QString &sKeyName, const QString &sSettingName)
{
    QString text;
    return GetApplicationKey(int32_t(HKEY_LOCAL_MACHINE_ID), sKeyName, sSettingName, text) ? text : QString();
}

void clsRegistry::SaveClassRootSetting(const QString &sKeyName, const QString &sSettingName, const QString &sSettingValue)
{
    SetApplicationKey(int32_t(HKEY_CLASSES_ROOT_ID), sKeyName, sSettingName, sSettingValue);
}

QString clsRegistry::GetClassRootSetting(const QString &sKeyName, const QString &sSettingName)
{
    QString text;
    return GetApplicationKey(int32_t(HKEY_CLASSES_ROOT_ID), sKeyName, sSettingName, text) ? text : QString();
}

} // namespace pulsivar
