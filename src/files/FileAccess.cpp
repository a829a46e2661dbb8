// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "resources/StringTable.h"

namespace vantrel::files {

namespace {

int TextIdOf(FileError error) {
    namespace text = resources::text;
    switch (error) {
        case FileError::Missing: return text::kFileMissing;
        case FileError::PermissionDenied: return text::kFilePermissionDenied;
        case FileError::IsFolder: return text::kFileIsFolder;
        case FileError::NotRegularFile: return text::kFileNotRegular;
        case FileError::TooShort: return text::kFileTooShort;
        case FileError::TooLarge: return text::kFileTooLarge;
        case FileError::InvalidContent: return text::kFileWrongFormat;
        case FileError::ReadOnly: return text::kFileReadOnly;
        case FileError::None:
        case FileError::SystemError: break;
    }
    return text::kFileSystemError;
}

}  // namespace

std::string FileErrorText(const FileProblem& problem, int languageOffset) {
    std::string text = resources::Text(TextIdOf(problem.error), languageOffset);
    if (problem.error == FileError::SystemError || problem.error == FileError::None)
        text += ' ' + std::string(problem.systemError != 0 ? std::strerror(problem.systemError) : "?");
    return text;
}

std::string FileProblemMessage(int headingTextId, const std::filesystem::path& path, const FileProblem& problem,
                               int languageOffset) {
    return resources::Text(headingTextId, languageOffset) + '\n' + path.string() + '\n' +
           FileErrorText(problem, languageOffset);
}

FileProblem ProblemFromErrno(int systemError) {
    switch (systemError) {
        case ENOENT:
        case ENOTDIR: return {FileError::Missing, systemError};
        case EACCES:
        case EPERM: return {FileError::PermissionDenied, systemError};
        case EISDIR: return {FileError::IsFolder, systemError};
        default: return {FileError::SystemError, systemError};
    }
}

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) ::close(m_fd);
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool FileDescriptor::close() {
    const int fd = release();
    return fd < 0 || ::close(fd) == 0;
}

ReadBytes ReadRegularFile(const std::filesystem::path& path, std::size_t limit, bool refuseLarger) {
    ReadBytes result;
    // Checked before opening: opening a pipe waits for a writer, and opening a serial device
    // moves its control lines.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        result.problem = ProblemFromErrno(errno);
        return result;
    }
    const auto kindOf = [](const struct stat& s) {
        if (S_ISDIR(s.st_mode)) return FileError::IsFolder;
        return S_ISREG(s.st_mode) ? FileError::None : FileError::NotRegularFile;
    };
    if (const FileError kind = kindOf(status); kind != FileError::None) {
        result.problem = {kind, 0};
        return result;
    }
    // Non-blocking, so that a name swapped for a pipe after the check still cannot hold us.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) {
        result.problem = ProblemFromErrno(errno);
        return result;
    }
    if (::fstat(file.get(), &status) != 0 || kindOf(status) != FileError::None) {
        result.problem = {FileError::NotRegularFile, 0};
        return result;
    }
    const std::size_t wanted = refuseLarger ? limit + 1 : limit;
    result.bytes.resize(wanted);
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(file.get(), result.bytes.data() + got, wanted - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.problem = ProblemFromErrno(errno);
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    result.bytes.resize(got);
    if (got > limit) {
        result.problem = {FileError::TooLarge, 0};
        result.bytes.clear();
    }
    return result;
}

}  // namespace vantrel::files
