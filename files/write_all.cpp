// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/write_all.h"

#include <unistd.h>

#include <cerrno>

namespace springcalc {

int WriteAll(int fd, std::string_view bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n < 0 ? errno : ENOSPC;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

}  // namespace springcalc
