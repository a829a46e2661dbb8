// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The points CSV import on arbitrary text: never a crash; imported points are finite Singles,
// export and import give them back exactly, and the editor takes them without harm.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "device/WorkingState.h"
#include "ui/model/PointsCsv.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ui::CsvPoints read = ui::ParsePointsCsv(std::string_view(reinterpret_cast<const char*>(data), size));
    Require(read.ok() != read.points.empty(), "a read file has points, a refused one names a line");
    if (!read.ok()) return 0;
    for (const ui::CsvPoint& p : read.points)
        Require(std::isfinite(static_cast<float>(p.input)) && std::isfinite(static_cast<float>(p.physical)),
                "points are finite Singles");
    const ui::CsvPoints again = ui::ParsePointsCsv(ui::WritePointsCsv(read.points));
    Require(again.ok() && again.points.size() == read.points.size(), "exported points import again");
    for (std::size_t i = 0; i < read.points.size(); ++i)
        Require(again.points[i].input == read.points[i].input && again.points[i].physical == read.points[i].physical,
                "exported points are exact");

    device::WorkingState working;
    working.identity.DeviceModel = 10;
    ui::PointsEditor editor(working, false, 0);
    editor.Open();
    if (!ui::PutPointsInEditor(editor, read.points)) editor.Ok();
    return 0;
}
