// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder that files are written into, whole or not at all.

#include <string>
#include <string_view>

namespace springcalc {

// Held open for its lifetime: each file is made in it by name, so a folder renamed or replaced
// meanwhile cannot redirect them.
class OutputFolder {
public:
    OutputFolder() = default;
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;
    ~OutputFolder();

    // False with errno set when `path` is not a folder this process can write in.
    bool Open(const std::string& path);
    // The path of a file in the folder, for messages.
    std::string PathOf(std::string_view name) const;
    // Writes `bytes` as the file `name`, replacing one of that name: first under a name of its
    // own beside it, then renamed over the old one, so that the file is always the old one or
    // the new one whole, whatever stops the writing. Returns 0, or errno (kNotARegularFile when
    // `name` is a FIFO, a device or a folder) with nothing left behind.
    int Write(const std::string& name, std::string_view bytes) const;

private:
    int WriteTemporary(const std::string& temporary, std::string_view bytes, int& slot) const;

    std::string path_;
    int fd_ = -1;
};

}  // namespace springcalc
