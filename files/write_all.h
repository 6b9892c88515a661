// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing to a file descriptor, whole.

#include <string_view>

namespace springcalc {

// Writes all of `bytes` to `fd`, again after a signal or a short write. Returns 0, or the
// errno of the write that failed; a write that takes nothing counts as a full device.
int WriteAll(int fd, std::string_view bytes);

}  // namespace springcalc
