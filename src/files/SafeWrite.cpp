// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SafeWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <random>
#include <string>
#include <system_error>

namespace vantrel::files {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinkHops = 40;  // as the system's own limit for a path
constexpr int kTemporaryNameTries = 100;

WriteResult Failure(int systemError) {
    const FileProblem problem = ProblemFromErrno(systemError);
    return {problem.error, problem.systemError};
}

// The file a path finally names: symbolic links followed (a relative link from its own
// folder). A path that does not exist yet names itself.
WriteResult FollowLinks(const fs::path& path, fs::path& target) {
    target = path;
    for (int hop = 0; hop < kMostLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0) return errno == ENOENT ? WriteResult() : Failure(errno);
        if (!S_ISLNK(status.st_mode)) return {};
        std::error_code ec;
        const fs::path link = fs::read_symlink(target, ec);
        if (ec) return Failure(ec.value());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    return {FileError::SystemError, ELOOP};
}

// Writes all of `bytes` at `offset`; 0 or the system's error number.
int WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return 0;
}

// Copies the bytes of `from` after `start` to `to` at the same offset; 0 or the error number.
int CopyTail(const fs::path& from, off_t start, int to) {
    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!source.valid()) return errno;
    std::array<char, 65536> buffer{};
    for (off_t offset = start;;) {
        const ssize_t n = ::pread(source.get(), buffer.data(), buffer.size(), offset);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return 0;
        if (const int error = WriteAllAt(to, std::string_view(buffer.data(), static_cast<std::size_t>(n)), offset))
            return error;
        offset += n;
    }
}

// A new file of a unique name beside the target, created exclusively and never through a
// link, so nothing planted in the folder can redirect the write. 0 or the error number.
int CreateTemporary(const fs::path& folder, const fs::path& name, mode_t mode, FileDescriptor& file,
                    fs::path& created) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        std::string suffix(8, ' ');
        for (char& c : suffix) c = kLetters[pick(random)];
        created = folder / ("." + name.string() + "." + suffix + ".tmp");
        file = FileDescriptor(::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (file.valid()) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

// Flushes a folder's entries (the rename) to the disk. Some file systems cannot flush a
// folder; the rename has happened either way, so this is not reported.
void SyncFolder(const fs::path& folder) {
    FileDescriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.valid()) ::fsync(handle.get());
}

// The file written where it is: for a folder that cannot be written, or a file with other
// hard links. Space is reserved before the first byte changes, so a full disk refuses the
// save without touching the old content.
WriteResult WriteInPlace(const fs::path& target, std::string_view content, ExistingTail tail, const struct stat& old) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) return Failure(errno);
    struct stat status {};
    if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return {FileError::NotRegularFile};
    const auto length = static_cast<off_t>(content.size());
    const off_t newSize = tail == ExistingTail::Keep ? std::max(length, old.st_size) : length;
    if (newSize > old.st_size) {
        if (const int error = ::posix_fallocate(file.get(), 0, newSize); error != 0) return Failure(error);
    }
    if (const int error = WriteAllAt(file.get(), content, 0)) return Failure(error);
    if (tail == ExistingTail::Drop && ::ftruncate(file.get(), length) != 0) return Failure(errno);
    if (::fsync(file.get()) != 0 || !file.close()) return Failure(errno);
    WriteResult result;
    result.atomic = false;
    return result;
}

// Removes the temporary file unless the rename took it.
class TemporaryName {
public:
    explicit TemporaryName(fs::path path) : m_path(std::move(path)) {}
    ~TemporaryName() {
        if (!m_path.empty()) ::unlink(m_path.c_str());
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    void Keep() { m_path.clear(); }

private:
    fs::path m_path;
};

}  // namespace

WriteResult SafeWrite(const fs::path& path, std::string_view content, ExistingTail tail) {
    fs::path target;
    if (WriteResult followed = FollowLinks(path, target); !followed.ok()) return followed;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return Failure(errno);
    if (exists) {
        if (S_ISDIR(old.st_mode)) return {FileError::IsFolder};
        if (!S_ISREG(old.st_mode)) return {FileError::NotRegularFile};
        // The mode bits say read-only even to the superuser, whom the access check lets pass.
        if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return {FileError::ReadOnly};
        if (::access(target.c_str(), W_OK) != 0) return Failure(errno);
        if (old.st_nlink > 1) return WriteInPlace(target, content, tail, old);
    }

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    FileDescriptor file;
    fs::path temporaryPath;
    // A new file gets the usual permissions less the user's mask; a replacement starts private
    // and takes the old file's bits below.
    if (const int error = CreateTemporary(folder, target.filename(), exists ? 0600 : 0666, file, temporaryPath)) {
        if (exists && (error == EACCES || error == EPERM))
            return WriteInPlace(target, content, tail, old);
        return Failure(error);
    }
    TemporaryName temporary(temporaryPath);
    if (const int error = WriteAllAt(file.get(), content, 0)) return Failure(error);
    if (exists && tail == ExistingTail::Keep && old.st_size > static_cast<off_t>(content.size())) {
        if (const int error = CopyTail(target, static_cast<off_t>(content.size()), file.get())) return Failure(error);
    }
    if (exists) {
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(file.get(), old.st_uid, old.st_gid) != 0) {
            // Only the superuser may give a file away: the saver's own ownership stays.
        }
        if (::fchmod(file.get(), old.st_mode & 07777) != 0) return Failure(errno);
    }
    if (::fsync(file.get()) != 0 || !file.close()) return Failure(errno);
    if (::rename(temporaryPath.c_str(), target.c_str()) != 0) return Failure(errno);
    temporary.Keep();
    SyncFolder(folder);
    return {};
}

}  // namespace vantrel::files
