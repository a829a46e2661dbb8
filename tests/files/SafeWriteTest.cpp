// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "TempFolder.h"
#include "files/SafeWrite.h"

using namespace vantrel::files;
namespace fs = std::filesystem;

namespace {

std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

fs::perms Mode(const fs::path& path) { return fs::status(path).permissions(); }

long Entries(const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// Runs `body` in a child process without the superuser's rights ("nobody" when run as root),
// so that permissions bind as they do for a user. True when the body returned true.
bool Unprivileged(const std::function<bool()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(SafeWrite, KeepsPermissionsAndLinksAndNeverWritesThroughAPlantedLink) {
    TempFolder folder;
    Put(folder / "victim", "victim");
    Put(folder / "a.D70", "old");
    fs::permissions(folder / "a.D70", fs::perms::owner_read | fs::perms::owner_write);
    // A link planted where a fixed temporary name would be.
    fs::create_symlink(folder / "victim", folder / "a.D70.vantrel-tmp");
    ASSERT_TRUE(SafeWrite(folder / "a.D70", "new").ok());
    EXPECT_EQ(Text(folder / "victim"), "victim");
    EXPECT_EQ(Text(folder / "a.D70"), "new");
    EXPECT_EQ(Mode(folder / "a.D70"), fs::perms::owner_read | fs::perms::owner_write);

    // Saving through a symbolic link saves its target, and the link stays a link.
    fs::create_symlink("a.D70", folder / "link.D70");
    const WriteResult viaLink = SafeWrite(folder / "link.D70", "through the link");
    EXPECT_TRUE(viaLink.ok() && viaLink.atomic);
    EXPECT_TRUE(fs::is_symlink(folder / "link.D70"));
    EXPECT_EQ(Text(folder / "a.D70"), "through the link");

    // A file with another hard link is written in place: both names still show one file.
    fs::create_hard_link(folder / "a.D70", folder / "hard.D70");
    const WriteResult viaHardLink = SafeWrite(folder / "hard.D70", "both");
    EXPECT_TRUE(viaHardLink.ok());
    EXPECT_FALSE(viaHardLink.atomic);
    EXPECT_EQ(Text(folder / "a.D70"), "both");
    EXPECT_EQ(Entries(folder.path()), 5);  // no temporary file left behind
}

TEST(SafeWrite, RefusesWhatItMustNotReplaceAndLeavesItWhole) {
    TempFolder folder;
    Put(folder / "read-only.D70", "kept");
    fs::permissions(folder / "read-only.D70", fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(folder / "folder.D70");
    ASSERT_EQ(mkfifo((folder / "pipe.D70").c_str(), 0644), 0);
    const std::pair<const char*, FileError> cases[] = {
        {"read-only.D70", FileError::ReadOnly},
        {"folder.D70", FileError::IsFolder},
        {"pipe.D70", FileError::NotRegularFile},
        {"no-such-folder/a.D70", FileError::Missing},
    };
    for (const auto& [name, error] : cases) EXPECT_EQ(SafeWrite(folder / name, "new").problem.error, error) << name;
    EXPECT_EQ(Text(folder / "read-only.D70"), "kept");
    EXPECT_EQ(fs::status(folder / "pipe.D70").type(), fs::file_type::fifo);
    EXPECT_EQ(Entries(folder.path()), 3);
}

TEST(SafeWrite, AWritableFileInAFolderThatCannotBeWrittenIsSavedInPlace) {
    TempFolder folder;
    Put(folder / "a.D70", "old content");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(folder.path().c_str(), 65534, 65534), 0);
        ASSERT_EQ(chown((folder / "a.D70").c_str(), 65534, 65534), 0);
    }
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_exec);
    EXPECT_TRUE(Unprivileged([&] {
        const WriteResult written = SafeWrite(folder / "a.D70", "new");
        return written.ok() && !written.atomic;
    }));
    EXPECT_EQ(Text(folder / "a.D70"), "new");
}
