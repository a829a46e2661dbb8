// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

// A named pipe whose writer offers `content` as soon as a reader opens it and gives up when
// the object goes. Code that wrongly opens the pipe then reads the content instead of waiting
// for ever, so a test of such code fails instead of hanging.
class FifoFeeder {
public:
    FifoFeeder(const std::filesystem::path& path, std::string content) {
        ::mkfifo(path.c_str(), 0644);
        m_writer = std::thread([this, path, text = std::move(content)] {
            while (!m_stop) {
                const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    // Far less than a pipe holds: the write never waits.
                    [[maybe_unused]] const ssize_t written = ::write(fd, text.data(), text.size());
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    ~FifoFeeder() {
        m_stop = true;
        m_writer.join();
    }
    FifoFeeder(const FifoFeeder&) = delete;
    FifoFeeder& operator=(const FifoFeeder&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_writer;
};
