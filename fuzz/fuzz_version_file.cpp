// SPDX-License-Identifier: GPL-2.0-or-later
// The update check's whole reading of the version file, which comes off the network.
#include "common/Version.h"
#include "extras/VersionFile.h"

#include <QByteArray>
#include <cstdlib>

using namespace pulsivar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto content = parseVersionFile(QString::fromLocal8Bit(bytes));
    if (!content)
        return 0;
    // The version line ends at the first line break. (The address may still hold a CR LF that
    // the removal of the others joined up; the address check judges it like any other text.)
    if (content->latestVersion.contains(QLatin1String("\r\n")))
        std::abort();
    const bool openable = isWebDownloadAddress(content->downloadAddress);
    if (openable && content->downloadAddress.isEmpty())
        std::abort();
    IsNewerVersion(currentVersionString(), content->latestVersion);
    return 0;
}
