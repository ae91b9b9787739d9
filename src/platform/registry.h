// SPDX-License-Identifier: MIT
#pragma once

#include "simulator_locate.h"

namespace sceneshifter {

// The host's registry on Windows (both views of the machine's keys, and
// the user's); null on other hosts.
RegistryReader* HostRegistry();

}  // namespace sceneshifter
