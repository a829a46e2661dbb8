// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/ProgramFileCommands.h"

namespace vantrel::ui {

files::ReadResult DiskProgramFileStore::Read(const std::filesystem::path& path) {
    return files::ReadProgramFile(path);
}

files::WriteResult DiskProgramFileStore::Write(const std::filesystem::path& path, const device::ConfigRecord& record) {
    return files::WriteProgramFile(path, record);
}

}  // namespace vantrel::ui
