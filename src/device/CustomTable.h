// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "device/WorkingState.h"

// The working custom table as the points editor leaves it: the user's points, one point more
// when they are even (continuing the last segment by a fortieth of the table's span), and the
// segment counts programming reads.
namespace vantrel::device {

// Stores the added point at index k (the hidden row after k user points, k >= 1).
void StoreAddedPoint(std::array<float, kWorkingPoints>& physical, std::array<float, kWorkingPoints>& input, int k);

// A custom curve loaded from a programming file or read back holds the user's points only.
// Runs the editor's odd rule and its storing of the added point and segment counts, so that
// programming right after is correct. The tables must already hold the points. False (and
// nothing changed) when a count is outside what the model's editor accepts.
bool CompleteLoadedCurve(WorkingState& working, int pointCount, int cjcPointCount);

}  // namespace vantrel::device
