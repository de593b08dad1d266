// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The program's settings store: every setting and window placement as a text value under one key.
#include <QString>
#include <cstdint>

namespace pulsivar {

// The application key below HKEY_CURRENT_USER.
inline constexpr const char *applicationKey = "SOFTWARE\\Verrowind\\Pulsivar";

class clsRegistry {
public:
    bool GetApplicationKey(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef, QString &sKeyVal);
    bool SetApplicationKey(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef, QString sKeyVal);
    bool DeleteApplicationValue(int32_t lKeyRoot, const QString &sKeyName, const QString &sSubKeyRef);

    QString UsersLocalDataPath();
    QString UsersMyDocumentsPath();
    QString UsersTemporaryPath();
    bool GetOsVersion(int32_t &lMajorVersion, int32_t &lMinorVersion, int32_t &lBuildNum, int32_t &lPlatformId);
    bool IsOsVersionWinNT();

    void SaveFormPositionTop(const QString &sFormName, int32_t sFormTop);
    void SaveFormPositionLeft(const QString &sFormName, int32_t lLeft);
    void SaveFormPositionHeight(const QString &sFormName, int32_t lHeight);
    void SaveFormPositionWidth(const QString &sFormName, int32_t lWidth);
    int32_t GetFormPositionTop(const QString &sFormName, int32_t lDefault);
    int32_t GetFormPositionLeft(const QString &sFormName, int32_t lDefault);
    int32_t GetFormPositionHeight(const QString &sFormName, int32_t lDefault);
    int32_t GetFormPositionWidth(const QString &sFormName, int32_t lDefault);

    void SaveUserSetting(const QString &sSettingName, const QString &sSettingValue);
    QString GetUserSetting(const QString &sSettingName);
    void SaveGlobalSetting(const QString &sKeyName, const QString &sSettingName, const QString &sSettingValue);
    QString GetGlobalSetting(const QString &sKeyName, const QString &sSettingName);
    void SaveClassRootSetting(const QString &sKeyName, const QString &sSettingName, const QString &sSettingValue);
    QString GetClassRootSetting(const QString &sKeyName, const QString &sSettingName);

private:
    void saveFormValue(const QString &valueName, int32_t value);
    int32_t getFormValue(const QString &valueName, int32_t lDefault);
};

} // namespace pulsivar
