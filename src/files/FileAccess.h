// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Reading files from outside safely: only regular files are opened (a pipe, a device or a
// folder is refused before it is opened, so nothing can block), and never more is read than
// the format needs. Every failure carries a reason that can be told to the user.
namespace vantrel::files {

enum class FileError {
    None,
    Missing,           // the file, or a folder on its path, does not exist
    PermissionDenied,  // the system refuses the access
    IsFolder,          // a folder where a file is expected
    NotRegularFile,    // a device, a pipe or a socket
    TooShort,          // fewer bytes than the format needs
    TooLarge,          // more bytes than the format allows
    InvalidContent,    // the bytes are not in the expected format
    ReadOnly,          // the file is marked read-only and is not replaced
    SystemError,       // any other reason the system gives (its error number is kept)
};

// The failure of a read or a write: what went wrong and the system's error number.
struct FileProblem {
    FileError error = FileError::None;
    int systemError = 0;  // errno when the system reported the failure, else 0
};

// The reason in words, from the string table in the language of the offset; the system's
// own text for SystemError.
std::string FileErrorText(const FileProblem& problem, int languageOffset);

// A message for the user: the heading text (an Italian text id), then the path, then the
// reason, one per line.
std::string FileProblemMessage(int headingTextId, const std::filesystem::path& path, const FileProblem& problem,
                               int languageOffset);

// The failure for a system error number: missing, permission denied, a folder, or the
// system's own reason.
FileProblem ProblemFromErrno(int systemError);

// An open file descriptor, closed when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    int release();
    // Closes now; false (errno set) when the system reports a failure (a delayed write error).
    bool close();

private:
    int m_fd;
};

struct ReadBytes {
    FileProblem problem;
    std::vector<std::uint8_t> bytes;
    bool ok() const { return problem.error == FileError::None; }
};

// The first `limit` bytes of a regular file (fewer when it is shorter). With refuseLarger a
// file holding more than `limit` bytes is refused with TooLarge instead.
ReadBytes ReadRegularFile(const std::filesystem::path& path, std::size_t limit, bool refuseLarger);

}  // namespace vantrel::files
