// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <optional>

#include "math/CallendarVanDusen.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace vantrel::widgets {

// The Callendar-Van Dusen entry of the points editor: R0 with A, B, C or with alpha, beta,
// delta, the range in °C and the number of points. Values are read as the editor reads them
// ("," or ".").
class CvdDialog : public QDialog {
public:
    CvdDialog(int language, int maxPoints, QWidget* parent);

    // The coefficients as typed; the box that does not hold a number otherwise.
    std::optional<math::CvdCoefficients> Coefficients(QLineEdit*& bad) const;
    std::optional<double> From() const;
    std::optional<double> To() const;
    int Count() const;
    QLineEdit* fromBox() const { return m_from; }
    QLineEdit* toBox() const { return m_to; }

private:
    void Relabel();

    QRadioButton* m_abc = nullptr;
    QRadioButton* m_alpha = nullptr;
    QLineEdit* m_r0 = nullptr;
    QLineEdit* m_c1 = nullptr;
    QLineEdit* m_c2 = nullptr;
    QLineEdit* m_c3 = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QSpinBox* m_count = nullptr;
    QLabel* m_l1 = nullptr;
    QLabel* m_l2 = nullptr;
    QLabel* m_l3 = nullptr;
};

}  // namespace vantrel::widgets
