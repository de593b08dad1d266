// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/RegistryBackend.h"

namespace pulsivar {

RegistryBackend &registryBackend()
{
    static std::unique_ptr<RegistryBackend> backend = createPlatformRegistryBackend();
    return *backend;
}

} // namespace pulsivar
