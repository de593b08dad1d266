// SPDX-License-Identifier: GPL-2.0-or-later
// The resource library needs one translation unit of its own; the resources are added by rcc.
namespace pulsivar { int resourcesAnchor = 0; }
