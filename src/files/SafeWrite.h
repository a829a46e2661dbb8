// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string_view>

#include "files/FileAccess.h"

// The one way the program writes a file: whole or not at all.
namespace vantrel::files {

struct WriteResult {
    FileProblem problem;
    // False when the file had to be written in place (its folder cannot be written, or the
    // file has other hard links that a replacement would cut off): a failure in the middle of
    // such a save can leave the file damaged, and the user is told so.
    bool atomic = true;

    WriteResult() = default;
    // Not explicit: a failure is fully said by its kind and the system's error number.
    WriteResult(FileError error, int systemError = 0) : problem{error, systemError} {}
    bool ok() const { return problem.error == FileError::None; }
};

enum class ExistingTail {
    Drop,  // the file holds exactly the new content
    Keep,  // bytes an existing file holds beyond the new content's length stay after it
};

// Writes `content` as the file's content:
// - a symbolic link is followed and its target saved, so the link stays a link;
// - a folder, a device or a pipe is refused, and so is a file marked read-only;
// - the content goes to a new temporary file of a unique name in the same folder (created
//   exclusively, never through a link), is flushed to the disk, gets the old file's permission
//   bits (and owner, where the system allows it) and then replaces the file in one rename,
//   after which the folder is flushed too: a failure at any point leaves the old file whole;
// - when the folder cannot be written but the file can, or the file has other hard links, the
//   file is written in place (space reserved first) and the result says it was not atomic.
WriteResult SafeWrite(const std::filesystem::path& path, std::string_view content,
                      ExistingTail tail = ExistingTail::Drop);

}  // namespace vantrel::files
