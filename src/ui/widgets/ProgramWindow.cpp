// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/ProgramWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "device/Describe.h"
#include "measure/Trend.h"
#include "render/Chart.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

#include "ui/widgets/Lamp.h"
#include "ui/widgets/MeasurementPanel.h"
#include "ui/widgets/Palette.h"
#include "ui/widgets/RangeControlWidget.h"
#include "ui/widgets/Refreshing.h"
#include "ui/widgets/TrendChart.h"

namespace vantrel::widgets {

using ui::AdjustWhich;
using ui::GuideTarget;

namespace {

// The widgets a floating panel should leave readable: what the technician reads or operates.
bool IsControl(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
           qobject_cast<const QAbstractScrollArea*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const Lamp*>(w);
}

// The guide panel's widths: roomy first, narrow where the roomy one would cover controls.
constexpr int kGuideWidths[] = {290, 220};

QGroupBox* Group(QWidget* parent, const char* name) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(name);
    return box;
}

// The step each marker belongs to points at this control.
constexpr std::array<GuideTarget, ui::kGuideSteps> kMarkerTargets = {
    GuideTarget::MeasureOption,      GuideTarget::InputFamilies, GuideTarget::UnitButton,     GuideTarget::InternalCjc,
    GuideTarget::Linearisation,    GuideTarget::CustomCurve,    GuideTarget::Filter,    GuideTarget::InputRange,
    GuideTarget::OutputTypes,   GuideTarget::DirectionButton,  GuideTarget::BurnoutButton, GuideTarget::OutputRange,
    GuideTarget::ZeroTrim,    GuideTarget::ActionButton,
};

// Calls a handler with the signal's arguments, or with none when it takes none. A template of
// its own, so the call left out is never compiled (clang checks a lambda's branches eagerly).
template <typename Handler, typename... Args>
void CallWithOrWithoutArguments(const Handler& handler, Args... args) {
    if constexpr (std::is_invocable_v<const Handler&, Args...>)
        handler(args...);
    else
        handler();
}

}  // namespace

ProgramWindow::ProgramWindow(ui::ProgramForm& form, link::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_form(form), m_dialogs(dialogs) {
    setObjectName("Program");
    // Group titles stand out from the field captions (the font does not pass to children).
    setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"));

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    m_configurationFrame = Named(new QWidget(this), "configurationFrame");
    auto* contLayout = new QHBoxLayout(m_configurationFrame);
    contLayout->setContentsMargins(0, 0, 0, 0);
    contLayout->setSpacing(12);

    auto* left = new QVBoxLayout;
    left->setSpacing(10);
    m_inputOutputRow = Named(new QWidget(m_configurationFrame), "inputOutputRow");
    auto* ingrLayout = new QHBoxLayout(m_inputOutputRow);
    ingrLayout->setContentsMargins(0, 0, 0, 0);
    ingrLayout->setSpacing(12);
    ingrLayout->addWidget(BuildInput(), 1);
    ingrLayout->addWidget(BuildOutput(), 1);
    left->addWidget(m_inputOutputRow);
    m_measurePanel = new MeasurementPanel(m_form, m_configurationFrame);
    left->addWidget(m_measurePanel, 1);
    left->addStretch(0);
    contLayout->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(10);
    right->addWidget(BuildDevicePanel());
    right->addWidget(BuildModePanel());
    right->addWidget(BuildSummary(), 1);

    body->addWidget(m_configurationFrame, 5);
    body->addLayout(right, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(body, 1);

    BuildGuide();
    Connect();

    setTabOrder(m_measureOption, m_programmingOption);
    setTabOrder(m_programmingOption, m_inputFamilies);
    setTabOrder(m_inputFamilies, m_thermocoupleTypes);
    setTabOrder(m_thermocoupleTypes, m_rtdSensors);
    setTabOrder(m_rtdSensors, m_potRanges);
    setTabOrder(m_potRanges, m_wirings);
    setTabOrder(m_wirings, m_internalCjc);
    setTabOrder(m_internalCjc, m_linear);
    setTabOrder(m_linear, m_custom);
    setTabOrder(m_custom, m_unitButton);
    setTabOrder(m_unitButton, m_rangeIn->maxBox());
    setTabOrder(m_rangeIn->maxBox(), m_rangeIn->minBox());
    setTabOrder(m_rangeIn->minBox(), m_outputTypes);
    setTabOrder(m_outputTypes, m_rangeOut->maxBox());
    setTabOrder(m_rangeOut->maxBox(), m_rangeOut->minBox());
    setTabOrder(m_rangeOut->minBox(), m_burnoutButton);
    setTabOrder(m_burnoutButton, m_directionButton);
    setTabOrder(m_directionButton, m_filterBox);
    setTabOrder(m_filterBox, m_adjMax);
    setTabOrder(m_adjMax, m_zeroSlider);
    setTabOrder(m_zeroSlider, m_adjMin);
    setTabOrder(m_adjMin, m_spanSlider);
    setTabOrder(m_spanSlider, m_tripsButton);
    setTabOrder(m_tripsButton, m_actionButton);
    setTabOrder(m_actionButton, m_stopButton);
    setTabOrder(m_stopButton, m_summary);

    m_form.SetChangeListener([this] { Refresh(); });
    Refresh();
}

ProgramWindow::~ProgramWindow() { m_form.SetChangeListener({}); }

// ---- Building ----------------------------------------------------------------------

QWidget* ProgramWindow::BuildDevicePanel() {
    auto* panel = m_devicePanel = Group(this, "DevicePanel");
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    m_picture = Named(new QLabel(panel), "picture");
    m_picture->setFixedSize(48, 48);
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->hide();
    m_modelText = Named(new QLabel(panel), "modelText");
    m_modelText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_modelText->setWordWrap(true);
    m_modelText->setMinimumHeight(48);
    m_modelText->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont bold = m_modelText->font();
    bold.setBold(true);
    m_modelText->setFont(bold);
    m_commLabel = Named(new QLabel(panel), "CommActivity");
    m_txLamp = Named(new Lamp(14, panel), "linkTx");
    m_rxLamp = Named(new Lamp(14, panel), "linkRx");
    m_progress = Named(new QProgressBar(panel), "progress");
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(8);
    grid->addWidget(m_picture, 0, 0);
    grid->addWidget(m_modelText, 0, 1, 1, 4);
    auto* activity = new QHBoxLayout;
    activity->setSpacing(6);
    activity->addWidget(m_commLabel);
    activity->addWidget(m_txLamp);
    activity->addWidget(m_rxLamp);
    activity->addSpacing(8);
    activity->addWidget(m_progress, 1);
    grid->addLayout(activity, 1, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* ProgramWindow::BuildInput() {
    m_inputBox = Group(m_inputOutputRow, "Input");
    auto* layout = new QVBoxLayout(m_inputBox);
    layout->setSpacing(8);

    m_inputFrame = Named(new QWidget(m_inputBox), "inputFrame");
    auto* lists = new QVBoxLayout(m_inputFrame);
    lists->setContentsMargins(0, 0, 0, 0);
    lists->setSpacing(6);
    m_inputTypeLabel = Named(new QLabel(m_inputFrame), "InputType");
    m_inputFamilies = Named(new QComboBox(m_inputFrame), "inputFamilies");
    m_thermocoupleTypes = Named(new QComboBox(m_inputFrame), "thermocoupleTypes");
    m_rtdSensors = Named(new QComboBox(m_inputFrame), "rtdSensors");
    m_potRanges = Named(new QComboBox(m_inputFrame), "potRanges");
    m_wirings = Named(new QComboBox(m_inputFrame), "wirings");
    m_inputTypeLabel->setBuddy(m_inputFamilies);
    lists->addWidget(m_inputTypeLabel);
    for (QComboBox* list : {m_inputFamilies, m_thermocoupleTypes, m_rtdSensors, m_potRanges, m_wirings}) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        list->setMinimumWidth(190);
        lists->addWidget(list);
    }
    layout->addWidget(m_inputFrame);

    m_inputOptionsLabel = Named(new QLabel(m_inputBox), "InputOptions");
    QFont bold = m_inputOptionsLabel->font();
    bold.setBold(true);
    m_inputOptionsLabel->setFont(bold);
    layout->addSpacing(4);
    layout->addWidget(m_inputOptionsLabel);
    m_internalCjc = Named(new QCheckBox(m_inputBox), "internalCjc");
    m_linear = Named(new QCheckBox(m_inputBox), "Linear");
    m_custom = Named(new QCheckBox(QStringLiteral("Custom"), m_inputBox), "Custom");
    layout->addWidget(m_internalCjc);
    layout->addWidget(m_linear);
    layout->addWidget(m_custom);
    auto* unitRow = new QHBoxLayout;
    m_unitButton = Named(new QPushButton(QStringLiteral("°C ⇄ °F"), m_inputBox), "unitButton");
    m_unitLabel = Named(new QLabel(m_inputBox), "unitLabel");
    unitRow->addWidget(m_unitButton);
    unitRow->addWidget(m_unitLabel, 1);
    layout->addLayout(unitRow);

    m_rangeIn = Named(new RangeControlWidget(m_inputBox), "inputRange");
    m_rangeIn->Bind(&m_form.inputRange());
    layout->addSpacing(4);
    layout->addWidget(m_rangeIn);
    layout->addStretch();
    return m_inputBox;
}

QWidget* ProgramWindow::BuildOutput() {
    m_outputBox = Group(m_inputOutputRow, "Output");
    auto* layout = new QVBoxLayout(m_outputBox);
    layout->setSpacing(8);

    m_outputTypesFrame = Named(new QWidget(m_outputBox), "outputTypesFrame");
    auto* typeRow = new QHBoxLayout(m_outputTypesFrame);
    typeRow->setContentsMargins(0, 0, 0, 0);
    m_outputTypeLabel = Named(new QLabel(m_outputTypesFrame), "outputTypeLabel");
    m_outputTypes = Named(new QComboBox(m_outputTypesFrame), "outputTypes");
    m_outputTypes->setMinimumWidth(130);
    m_outputTypeLabel->setBuddy(m_outputTypes);
    typeRow->addWidget(m_outputTypeLabel);
    typeRow->addWidget(m_outputTypes, 1);
    layout->addWidget(m_outputTypesFrame);

    m_rangeOut = Named(new RangeControlWidget(m_outputBox), "outputRange");
    m_rangeOut->Bind(&m_form.outputRange());
    layout->addWidget(m_rangeOut);

    m_optionsBox = Group(m_outputBox, "OutputOptions");
    auto* options = new QGridLayout(m_optionsBox);
    options->setHorizontalSpacing(8);
    m_burnoutButton = Named(new QPushButton(QStringLiteral("⇅"), m_optionsBox), "burnoutButton");
    m_burnoutLabel = Named(new QLabel(m_optionsBox), "burnoutLabel");
    m_directionButton = Named(new QPushButton(QStringLiteral("⇄"), m_optionsBox), "directionButton");
    m_directionLabel = Named(new QLabel(m_optionsBox), "directionLabel");
    m_filterBox = Named(new QCheckBox(m_optionsBox), "filterBox");
    for (QPushButton* b : {m_burnoutButton, m_directionButton}) b->setFixedWidth(36);
    options->addWidget(m_burnoutButton, 0, 0);
    options->addWidget(m_burnoutLabel, 0, 1);
    options->addWidget(m_directionButton, 1, 0);
    options->addWidget(m_directionLabel, 1, 1);
    options->addWidget(m_filterBox, 2, 0, 1, 2);
    options->setColumnStretch(1, 1);
    layout->addWidget(m_optionsBox);

    m_ranges = Group(m_outputBox, "Ranges");
    auto* adjust = new QGridLayout(m_ranges);
    adjust->setHorizontalSpacing(8);
    const auto adjustRow = [this, adjust](int row, const char* caption, QLineEdit*& box, QSlider*& slider,
                                          const char* boxName, const char* sliderName) {
        auto* label = new QLabel(QString::fromLatin1(caption), m_ranges);
        box = Named(new QLineEdit(m_ranges), boxName);
        box->setFixedWidth(64);
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->installEventFilter(this);
        label->setBuddy(box);
        slider = Named(new QSlider(Qt::Horizontal, m_ranges), sliderName);
        slider->setRange(ui::kSliderMin, ui::kSliderMax);
        slider->setSingleStep(1);
        slider->setPageStep(5);
        slider->setTickInterval(10);
        slider->setTickPosition(QSlider::TicksBelow);
        adjust->addWidget(label, row, 0);
        adjust->addWidget(box, row, 1);
        adjust->addWidget(new QLabel(QStringLiteral("%"), m_ranges), row, 2);
        adjust->addWidget(slider, row, 3);
    };
    adjustRow(0, "Zero", m_adjMax, m_zeroSlider, "zeroTrim", "zeroSlider");
    adjustRow(1, "Span", m_adjMin, m_spanSlider, "spanTrim", "spanSlider");
    adjust->setColumnStretch(3, 1);
    layout->addWidget(m_ranges);

    m_tripsFrame = Group(m_outputBox, "tripsFrame");
    auto* trips = new QGridLayout(m_tripsFrame);
    m_tripsButton = Named(new QPushButton(m_tripsFrame), "tripsButton");
    m_tripLevel1 = Named(new QLabel(m_tripsFrame), "Trip1");
    m_tripLevel2 = Named(new QLabel(m_tripsFrame), "Trip2");
    trips->addWidget(m_tripsButton, 0, 0, 2, 1, Qt::AlignVCenter);
    trips->addWidget(m_tripLevel1, 0, 1);
    trips->addWidget(m_tripLevel2, 1, 1);
    trips->setColumnStretch(1, 1);
    trips->setHorizontalSpacing(14);
    layout->addWidget(m_tripsFrame);
    layout->addStretch();
    return m_outputBox;
}

QWidget* ProgramWindow::BuildModePanel() {
    m_modeBox = Group(this, "modeFrame");
    auto* layout = new QVBoxLayout(m_modeBox);
    layout->setSpacing(8);
    auto* options = new QHBoxLayout;
    m_measureOption = Named(new QRadioButton(m_modeBox), "measureOption");
    m_programmingOption = Named(new QRadioButton(m_modeBox), "programmingOption");
    options->addWidget(m_measureOption);
    options->addWidget(m_programmingOption);
    options->addStretch();
    layout->addLayout(options);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(8);
    m_actionButton = Named(new QPushButton(m_modeBox), "actionButton");
    m_actionButton->setMinimumHeight(44);
    m_stopButton = Named(new QPushButton(QStringLiteral("■  Stop"), m_modeBox), "stopButton");
    m_stopButton->setMinimumHeight(44);
    actions->addWidget(m_actionButton, 2);
    actions->addWidget(m_stopButton, 1);
    layout->addLayout(actions);
    m_verify = Named(new QCheckBox(m_modeBox), "Verify");
    layout->addWidget(m_verify);
    return m_modeBox;
}

QWidget* ProgramWindow::BuildSummary() {
    m_summaryBox = Group(this, "ProgrammingInfo");
    auto* layout = new QVBoxLayout(m_summaryBox);
    m_summary = Named(new QPlainTextEdit(m_summaryBox), "summary");
    m_summary->setReadOnly(true);
    m_summary->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_summary->setFont(mono);
    m_summary->setMinimumWidth(340);
    layout->addWidget(m_summary);
    m_preview = Named(new QPushButton(m_summaryBox), "Preview");
    connect(m_preview, &QPushButton::clicked, this, &ProgramWindow::previewRequested);
    layout->addWidget(m_preview, 0, Qt::AlignRight);
    return m_summaryBox;
}

void ProgramWindow::BuildGuide() {
    m_guidePanel = Named(new QFrame(this), "guidePanel");
    m_guidePanel->setFrameShape(QFrame::StyledPanel);
    m_guidePanel->setStyleSheet(
        "QFrame#guidePanel { background: #fffbe6; border: 2px solid #2f6fd6; border-radius: 8px; }"
        "QLabel#guideText { color: #1d2733; }");
    auto* layout = new QVBoxLayout(m_guidePanel);
    layout->setContentsMargins(12, 10, 12, 10);
    layout->setSpacing(8);
    m_guideText = Named(new QLabel(m_guidePanel), "guideText");
    m_guideText->setWordWrap(true);
    layout->addWidget(m_guideText);
    auto* buttons = new QHBoxLayout;
    m_guideCancel = Named(new QPushButton(m_guidePanel), "guideCancel");
    m_guideOk = Named(new QPushButton(m_guidePanel), "guideOk");
    m_guideOk->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(m_guideCancel);
    buttons->addWidget(m_guideOk);
    layout->addLayout(buttons);
    m_guidePanel->hide();

    for (int i = 0; i < ui::kGuideSteps; ++i) {
        auto* marker = new Lamp(12, this);
        marker->setObjectName(QString("guideMarker%1").arg(i));
        marker->hide();
        m_guideMarkers[static_cast<std::size_t>(i)] = marker;
    }
    m_guideTimer = new QTimer(this);
    m_guideTimer->setObjectName("WizTime");
}

void ProgramWindow::Connect() {
    const auto guarded = [this](auto handler) {
        // Buttons report clicked(bool); handlers that take nothing ignore it.
        return [this, handler](auto... args) {
            if (m_refreshing) return;
            CallWithOrWithoutArguments(handler, args...);
        };
    };
    connect(m_inputFamilies, &QComboBox::activated, this, guarded([this](int i) { m_form.ChooseFamily(i); }));
    connect(m_thermocoupleTypes, &QComboBox::activated, this, guarded([this](int i) { m_form.ChooseTcType(i); }));
    connect(m_rtdSensors, &QComboBox::activated, this, guarded([this](int i) { m_form.ChooseRtdSensor(i); }));
    connect(m_wirings, &QComboBox::activated, this, guarded([this](int i) { m_form.ChooseWiring(i); }));
    connect(m_potRanges, &QComboBox::activated, this, guarded([this](int i) { m_form.ChoosePotRange(i); }));
    connect(m_internalCjc, &QCheckBox::clicked, this, guarded([this](bool on) { m_form.ClickInternalCjc(on); }));
    connect(m_linear, &QCheckBox::clicked, this, guarded([this](bool on) { m_form.ClickLinear(on); }));
    connect(m_custom, &QCheckBox::clicked, this, guarded([this](bool on) { m_form.ClickCustom(on); }));
    connect(m_unitButton, &QPushButton::clicked, this, guarded([this] { m_form.ToggleUnit(); }));

    m_rangeIn->SetLeaveHandler([this] { return m_form.LeaveInputRange(); });
    m_rangeOut->SetLeaveHandler([this] { return m_form.LeaveOutputRange(); });
    m_rangeIn->SetTypeHandler([this](bool max, std::string text) {
        max ? m_form.TypeInputMax(std::move(text)) : m_form.TypeInputMin(std::move(text));
    });
    m_rangeOut->SetTypeHandler([this](bool max, std::string text) {
        max ? m_form.TypeOutputMax(std::move(text)) : m_form.TypeOutputMin(std::move(text));
    });

    connect(m_outputTypes, &QComboBox::activated, this, guarded([this](int i) { m_form.ChooseOutputType(i); }));
    connect(m_burnoutButton, &QPushButton::clicked, this, guarded([this] { m_form.ToggleBurnout(); }));
    connect(m_directionButton, &QPushButton::clicked, this, guarded([this] { m_form.ToggleDirection(); }));
    connect(m_filterBox, &QCheckBox::clicked, this, guarded([this](bool on) { m_form.ClickFilter(on); }));
    connect(m_verify, &QCheckBox::clicked, this, guarded([this](bool on) { m_form.ClickVerify(on); }));
    connect(m_adjMax, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_form.SetAdjustText(AdjustWhich::Zero, t.toStdString()); });
    connect(m_adjMin, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_form.SetAdjustText(AdjustWhich::Span, t.toStdString()); });
    connect(m_zeroSlider, &QSlider::valueChanged, this,
            guarded([this](int p) { m_form.MoveSlider(AdjustWhich::Zero, p); }));
    connect(m_spanSlider, &QSlider::valueChanged, this,
            guarded([this](int p) { m_form.MoveSlider(AdjustWhich::Span, p); }));
    connect(m_tripsButton, &QPushButton::clicked, this, guarded([this] { m_form.ClickTrips(); }));
    connect(m_measureOption, &QRadioButton::clicked, this, guarded([this] { m_form.ChooseMode(ui::Mode::Measure); }));
    connect(m_programmingOption, &QRadioButton::clicked, this, guarded([this] { m_form.ChooseMode(ui::Mode::Programming); }));
    connect(m_actionButton, &QPushButton::clicked, this, guarded([this] { m_form.PressAction(); }));
    connect(m_stopButton, &QPushButton::clicked, this, guarded([this] { m_form.PressStop(); }));
    connect(m_measurePanel, &MeasurementPanel::loggingClicked, this, &ProgramWindow::loggingClicked);
    connect(m_measurePanel, &MeasurementPanel::displayClicked, this, &ProgramWindow::displayClicked);
    connect(m_measurePanel, &MeasurementPanel::staleChanged, this, &ProgramWindow::staleChanged);

    connect(m_guideOk, &QPushButton::clicked, this, [this] { m_form.guide().Next(); });
    connect(m_guideCancel, &QPushButton::clicked, this, [this] { m_form.guide().Cancel(); });
    connect(m_guideTimer, &QTimer::timeout, this, [this] { m_form.guide().Blink(); });
}

// ---- Refreshing --------------------------------------------------------------------

QString ProgramWindow::T(int id) const { return QString::fromStdString(m_form.T(id)); }
QString ProgramWindow::R(const ui::TextRef& ref) const {
    return QString::fromStdString(ref.Render(m_form.LanguageOffset()));
}

void ProgramWindow::Refresh() {
    // A handler run from inside a refresh (a focus change, a leave check) reports a change
    // again: redraw once more when the current pass is over.
    if (m_refreshing) {
        m_refreshAgain = true;
        return;
    }
    m_refreshing = true;
    do {
        m_refreshAgain = false;
        RefreshTexts();
        RefreshInput();
        RefreshOutput();
        RefreshMode();
        RefreshGuide();
    } while (m_refreshAgain);
    m_refreshing = false;
    emit formChanged();
}

void ProgramWindow::RefreshTexts() {
    m_inputBox->setTitle(T(resources::text::kInputTitle));
    m_outputBox->setTitle(T(resources::text::kOutputTitle));
    m_optionsBox->setTitle(T(resources::text::kOutputOptions));
    m_ranges->setTitle(T(resources::text::kTrimsTitle));
    m_tripsFrame->setTitle(T(resources::text::kTrips));
    m_modeBox->setTitle(T(resources::text::kMode));
    m_summaryBox->setTitle(T(resources::text::kProgrammingInformation));
    m_preview->setText(T(resources::text::kPreviewButton));
    SetText(m_inputTypeLabel, T(resources::text::kInputTypeField));
    SetText(m_inputOptionsLabel, T(resources::text::kInputOptions));
    SetText(m_outputTypeLabel, T(resources::text::kOutputTypeField));
    m_devicePanel->setTitle(T(resources::text::kDevice));
    SetText(m_commLabel, T(resources::text::kCommunicationActivity));
    SetText(m_tripsButton, T(resources::text::kTrips) + QStringLiteral("…"));
    SetText(m_filterBox, R(m_form.filter().caption));
    SetText(m_verify, R(m_form.verifyBox().caption));
    SetText(m_linear, R(m_form.linearisation().caption));
    SetText(m_internalCjc, R(m_form.internalCjc().caption));
    SetText(m_measureOption, T(resources::text::kMeasure));
    SetText(m_programmingOption, T(resources::text::kProgramming));
    m_measurePanel->RefreshTexts();
    m_unitButton->setToolTip(R(m_form.unitLabel().text));
    m_burnoutButton->setToolTip(R(m_form.burnoutLabel().text));
    m_directionButton->setToolTip(R(m_form.directionLabel().text));
    m_rangeIn->Refresh();
    m_rangeOut->Refresh();
}

namespace {

void RefreshList(QComboBox* box, const ui::ChoiceList& list, int offset) {
    QStringList texts;
    for (int id : list.entries) texts << QString::fromStdString(resources::Text(id, offset));
    bool same = box->count() == texts.size();
    for (int i = 0; same && i < texts.size(); ++i) same = box->itemText(i) == texts[i];
    if (!same) {
        box->clear();
        box->addItems(texts);
    }
    if (box->currentIndex() != list.selected) box->setCurrentIndex(list.selected);
    SetShown(box, list.visible);
    box->setEnabled(list.enabled);
}

void RefreshCheck(QCheckBox* box, const ui::CheckBox& model) {
    if (box->isChecked() != model.checked) box->setChecked(model.checked);
    SetShown(box, model.visible);
    box->setEnabled(model.enabled);
}

}  // namespace

void ProgramWindow::RefreshInput() {
    const int offset = m_form.LanguageOffset();
    m_inputFrame->setEnabled(m_form.inputFrame().enabled);
    RefreshList(m_inputFamilies, m_form.inputFamilies(), offset);
    RefreshList(m_thermocoupleTypes, m_form.thermocoupleTypes(), offset);
    RefreshList(m_rtdSensors, m_form.rtdSensors(), offset);
    RefreshList(m_wirings, m_form.wirings(), offset);
    RefreshList(m_potRanges, m_form.potRanges(), offset);
    RefreshCheck(m_internalCjc, m_form.internalCjc());
    RefreshCheck(m_linear, m_form.linearisation());
    RefreshCheck(m_custom, m_form.customCurve());
    SetShown(m_unitButton, m_form.unitButton().visible);
    m_unitButton->setEnabled(m_form.unitButton().enabled);
    SetText(m_unitLabel, R(m_form.unitLabel().text));
    SetShown(m_unitLabel, m_form.unitLabel().visible);
    // Options that the family does not have leave no empty heading behind.
    SetShown(m_inputOptionsLabel, m_form.internalCjc().visible || m_form.linearisation().visible || m_form.customCurve().visible ||
                                      m_form.unitButton().visible);
}

void ProgramWindow::RefreshOutput() {
    const int offset = m_form.LanguageOffset();
    m_outputTypesFrame->setEnabled(m_form.outputTypeFrame().enabled);
    RefreshList(m_outputTypes, m_form.outputTypes(), offset);
    SetShown(m_burnoutButton, m_form.burnoutButton().visible);
    m_burnoutButton->setEnabled(m_form.burnoutButton().enabled);
    SetText(m_burnoutLabel, R(m_form.burnoutLabel().text));
    SetShown(m_burnoutLabel, m_form.burnoutLabel().visible);
    SetShown(m_directionButton, m_form.directionButton().visible);
    m_directionButton->setEnabled(m_form.directionButton().enabled);
    SetText(m_directionLabel, R(m_form.directionLabel().text));
    RefreshCheck(m_filterBox, m_form.filter());
    RefreshCheck(m_verify, m_form.verifyBox());
    SetShown(m_verify, m_form.mode() == ui::Mode::Programming);

    m_ranges->setEnabled(m_form.trimsFrame().enabled);
    const auto adjustment = [](QLineEdit* box, QSlider* slider, const ui::Adjustment& a) {
        SetText(box, QString::fromStdString(a.text));
        if (a.textSelected && box->hasFocus() && box->selectedText() != box->text()) box->selectAll();
        if (slider->value() != a.slider) slider->setValue(a.slider);
    };
    adjustment(m_adjMax, m_zeroSlider, m_form.zeroTrim());
    adjustment(m_adjMin, m_spanSlider, m_form.spanTrim());

    SetShown(m_tripsFrame, m_form.tripsFrame().visible);
    SetShown(m_tripsButton, m_form.tripsButton().visible);
    m_tripsButton->setEnabled(m_form.tripsButton().enabled);
    const auto& levels = m_form.state().TripLevels;
    const QString unit = QString::fromStdString(m_form.inputRange().unit()).trimmed();
    // The same resolution as the summary's trip lines.
    const auto tripText = [&](int trip) {
        const std::size_t i = trip == 1 ? 0 : 1;
        return T(resources::text::kTrip) +
               QString(" %1:  ↑ %2  ↓ %3 %4")
                   .arg(trip)
                   .arg(QString::fromStdString(device::TripLevelText(static_cast<double>(levels[2 * i]))),
                        QString::fromStdString(device::TripLevelText(static_cast<double>(levels[2 * i + 1]))), unit);
    };
    SetText(m_tripLevel1, tripText(1));
    SetText(m_tripLevel2, tripText(2));
}

void ProgramWindow::RefreshMode() {
    const bool measure = m_form.mode() == ui::Mode::Measure;
    m_configurationFrame->setEnabled(m_form.configurationFrame().enabled);
    m_modeBox->setEnabled(m_form.modeFrame().enabled);
    if (m_measureOption->isChecked() != measure) m_measureOption->setChecked(measure);
    if (m_programmingOption->isChecked() == measure) m_programmingOption->setChecked(!measure);
    m_measureOption->setEnabled(m_form.measureOption().enabled);
    m_programmingOption->setEnabled(m_form.programmingOption().enabled);

    SetText(m_actionButton, (measure ? QStringLiteral("▶  ") : QStringLiteral("⇪  ")) + R(m_form.actionToolTip()));
    m_actionButton->setToolTip(R(m_form.actionToolTip()));
    // The signal colours stay, but on a dark theme they are deepened and carry light text.
    const bool dark = render::IsDark(palette());
    const ButtonColours action = ActionButtonColours(ToQColor(m_form.actionColour()), dark);
    const QString style = QString(
                              "QPushButton#actionButton { background: %1; color: %2; font-weight: bold; border: 1px solid "
                              "%3; border-radius: 6px; padding: 6px 14px; }"
                              "QPushButton#actionButton:hover { background: %4; }"
                              "QPushButton#actionButton:focus { border: 2px solid #2f6fd6; }"
                              "QPushButton#actionButton:disabled { background: %5; color: %6; border-color: %5; }")
                              .arg(action.background.name(), action.text.name(), action.border.name(),
                                   action.hover.name(), action.disabledBackground.name(), action.disabledText.name());
    if (m_actionButton->styleSheet() != style) m_actionButton->setStyleSheet(style);
    m_actionButton->setEnabled(m_form.actionButton().enabled);
    // Without a transmitter nothing can be exchanged, and the preview uses nominal values.
    m_preview->setEnabled(m_form.actionButton().enabled || !m_form.deviceConnected());
    SetShown(m_actionButton, m_form.actionButton().visible);
    const ButtonColours stop = ActionButtonColours(QColor(255, 255, 0), dark);
    const QString stopStyle =
        QString("QPushButton#stopButton { background: %1; color: %2; font-weight: bold; border: 1px solid %3;"
                " border-radius: 6px; padding: 6px 14px; }"
                "QPushButton#stopButton:disabled { background: %4; color: %5; border-color: %4; }")
            .arg(stop.background.name(), stop.text.name(), stop.border.name(), stop.disabledBackground.name(),
                 stop.disabledText.name());
    if (m_stopButton->styleSheet() != stopStyle) m_stopButton->setStyleSheet(stopStyle);
    m_stopButton->setEnabled(m_form.stopButton().enabled && m_operationRunning);
    SetShown(m_stopButton, m_form.stopButton().visible);

    // Until loading chooses a mode the form model holds both pages visible; here they stack,
    // so only the page of the current mode is shown.
    bool measurePage = m_form.stateLampFrame().visible || m_form.measurementPage().visible;
    bool optionsPage = m_form.optionsPage().visible;
    if (measurePage && optionsPage) {
        measurePage = measure;
        optionsPage = !measure;
    }
    // Hide before showing: for a moment both pages would stand in the layout, and the window
    // would grow to hold them both.
    if (!optionsPage) SetShown(m_inputOutputRow, false);
    if (!measurePage) SetShown(m_measurePanel, false);
    m_measurePanel->Refresh();
    SetShown(m_inputOutputRow, optionsPage);
    SetShown(m_measurePanel, measurePage);

    QString model = QString::fromStdString(m_form.modelText());
    model.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    SetText(m_modelText, model.trimmed());
    const QString summary = QString::fromStdString(m_form.summary());
    if (m_summary->toPlainText() != summary) m_summary->setPlainText(summary);
    const bool linkUp = m_form.deviceConnected() && !m_form.linkIndicatorsGrey();
    m_txLamp->SetColour(linkUp ? QColor(0, 200, 0) : kLampGrey);
    m_rxLamp->SetColour(linkUp ? QColor(0, 200, 0) : kLampGrey);
    m_progress->setValue(static_cast<int>(std::lround(std::clamp(m_form.progressValue(), 0.0, 100.0))));
}

void ProgramWindow::RefreshGuide() {
    const ui::GuidedMode& guide = m_form.guide();
    SetText(m_guideText, R(guide.hint));
    SetText(m_guideOk, R(guide.okCaption));
    SetText(m_guideCancel, R(guide.cancelCaption));
    m_guidePanel->setVisible(guide.panelVisible);
    if (guide.panelVisible) m_guidePanel->raise();
    for (int i = 0; i < ui::kGuideSteps; ++i) {
        const ui::GuideMarker& model = guide.markers[static_cast<std::size_t>(i)];
        auto* marker = static_cast<Lamp*>(m_guideMarkers[static_cast<std::size_t>(i)]);
        marker->SetColour(ToQColor(model.colour));
        marker->setVisible(model.visible);
        if (model.visible) marker->raise();
    }
    if (guide.timerRunning) {
        if (m_guideTimer->interval() != guide.timerIntervalMs) m_guideTimer->setInterval(guide.timerIntervalMs);
        if (!m_guideTimer->isActive()) m_guideTimer->start();
    } else if (m_guideTimer->isActive()) {
        m_guideTimer->stop();
    }
    PlaceGuide();

    if (!guide.running) {
        m_focusedStep = -1;
        return;
    }
    if (m_focusedStep == guide.step) return;
    m_focusedStep = guide.step;
    if (QWidget* target = GuideTargetWidget(guide.focus); target && target->isEnabled() && target->isVisible())
        target->setFocus(Qt::OtherFocusReason);
}

QWidget* ProgramWindow::GuideTargetWidget(GuideTarget target) const {
    switch (target) {
    case GuideTarget::MeasureOption: return m_form.mode() == ui::Mode::Measure ? m_measureOption : m_programmingOption;
    case GuideTarget::InputFamilies: return m_inputFamilies;
    case GuideTarget::UnitButton: return m_unitButton;
    case GuideTarget::InternalCjc: return m_internalCjc;
    case GuideTarget::Linearisation: return m_linear;
    case GuideTarget::CustomCurve: return m_custom;
    case GuideTarget::Filter: return m_filterBox;
    case GuideTarget::InputRange: return m_rangeIn->maxBox();
    case GuideTarget::OutputTypes: return m_outputTypes;
    case GuideTarget::DirectionButton: return m_directionButton;
    case GuideTarget::BurnoutButton: return m_burnoutButton;
    case GuideTarget::OutputRange: return m_rangeOut->maxBox();
    case GuideTarget::ZeroTrim: return m_adjMax;
    case GuideTarget::ActionButton: return m_actionButton;
    case GuideTarget::None: break;
    }
    return nullptr;
}

void ProgramWindow::PlaceGuide() {
    if (layout()) layout()->activate();
    const auto anchor = [this](GuideTarget target) -> QWidget* {
        // The markers and the panel stand beside the whole range control, not one box.
        if (target == GuideTarget::InputRange) return m_rangeIn;
        if (target == GuideTarget::OutputRange) return m_rangeOut;
        return GuideTargetWidget(target);
    };
    for (int i = 0; i < ui::kGuideSteps; ++i) {
        QWidget* marker = m_guideMarkers[static_cast<std::size_t>(i)];
        QWidget* target = anchor(kMarkerTargets[static_cast<std::size_t>(i)]);
        if (!marker->isVisibleTo(this) || !target) continue;
        const QPoint at = target->mapTo(this, QPoint(0, 0));
        const int x = std::max(0, at.x() - marker->width() - 3);
        const int y = at.y() + std::min(target->height(), 28) / 2 - marker->height() / 2;
        marker->move(x, y);
    }
    if (!m_guidePanel->isVisibleTo(this)) return;
    QWidget* target = anchor(kMarkerTargets[static_cast<std::size_t>(m_form.guide().step)]);
    const QRect placed = target && target->isVisibleTo(this) ? GuideRectBeside(target) : QRect();
    if (placed.isNull()) {
        SizeGuideTo(kGuideWidths[0]);
        m_guidePanel->move(width() - m_guidePanel->width() - 16, 16);
        return;
    }
    SizeGuideTo(placed.width());
    m_guidePanel->move(placed.topLeft());
}

QSize ProgramWindow::SizeGuideTo(int panelWidth) {
    m_guidePanel->setFixedWidth(panelWidth);
    const int forWidth = m_guidePanel->heightForWidth(panelWidth);
    m_guidePanel->setFixedHeight(forWidth > 0 ? forWidth : m_guidePanel->sizeHint().height());
    return m_guidePanel->size();
}

// Beside the control first, then below, to the left and above it; a narrower panel where the
// wide one would cover more of the form. The first place that covers the least wins.
QRect ProgramWindow::GuideRectBeside(QWidget* target) {
    const QRect r(target->mapTo(this, QPoint(0, 0)), target->size());
    const QRect inside = rect().adjusted(4, 4, -4, -4);
    QRect best;
    int bestCovered = std::numeric_limits<int>::max();
    for (const int panelWidth : kGuideWidths) {
        const QSize s = SizeGuideTo(panelWidth);
        const QPoint places[] = {{r.right() + 16, r.top()},
                                 {r.left() + 12, r.bottom() + 10},
                                 {r.left() - s.width() - 22, r.top()},
                                 {r.left(), r.top() - s.height() - 10}};
        for (const QPoint& at : places) {
            const QRect candidate(at, s);
            if (!inside.contains(candidate)) continue;
            const auto hides = [&](const QWidget* w) {
                return w->isVisibleTo(this) && candidate.intersects(QRect(w->mapTo(this, QPoint(0, 0)), w->size()));
            };
            const std::vector<QWidget*> keep = GuideKeepClear();
            if (std::any_of(keep.begin(), keep.end(), hides)) continue;
            const int covered = CoveredArea(candidate);
            if (covered < bestCovered) {
                best = candidate;
                bestCovered = covered;
            }
        }
    }
    return best;
}

// The steps change the unit label, the output type and its range, the burn-out and direction
// labels and the zero and span adjustments: the user must see them change.
std::vector<QWidget*> ProgramWindow::GuideKeepClear() const {
    return {m_unitLabel, m_outputTypeLabel, m_outputTypes, m_burnoutLabel, m_directionLabel, m_ranges};
}

// How much of the form's visible controls (and the step markers) a panel at rect would hide.
int ProgramWindow::CoveredArea(const QRect& panel) const {
    int covered = 0;
    for (const QWidget* w : findChildren<QWidget*>()) {
        if (!IsControl(w) || !w->isVisibleTo(this) || m_guidePanel->isAncestorOf(w)) continue;
        const QRect overlap = panel.intersected(QRect(w->mapTo(this, QPoint(0, 0)), w->size()));
        if (!overlap.isEmpty()) covered += overlap.width() * overlap.height();
    }
    return covered;
}

void ProgramWindow::SetPicture(const QPixmap& picture) {
    m_picture->setPixmap(picture.scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_picture->setVisible(!picture.isNull());
}

// ---- Measurement -------------------------------------------------------------------

void ProgramWindow::SetTimeSource(measure::TimeSource source) { m_measurePanel->SetTimeSource(std::move(source)); }
void ProgramWindow::RefreshStaleness() { m_measurePanel->RefreshStaleness(); }
bool ProgramWindow::valueStale() const { return m_measurePanel->valueStale(); }
void ProgramWindow::SetLogging(bool active, const QString& path) { m_measurePanel->SetLogging(active, path); }
TrendChart* ProgramWindow::trendChart() const { return m_measurePanel->trendChart(); }
QPushButton* ProgramWindow::logButton() const { return m_measurePanel->logButton(); }

void ProgramWindow::SetOperationRunning(bool running) {
    if (running == m_operationRunning) return;
    m_operationRunning = running;
    m_stopButton->setEnabled(m_form.stopButton().enabled && m_operationRunning);
}

void ProgramWindow::Started(const measure::Scale& scale) {
    m_measurePanel->Start(scale, measure::ReferencesFor(scale, !m_form.outputDirect(), m_form.state()));
}

void ProgramWindow::Show(const measure::Reading& reading) {
    m_measurePanel->Show(reading);
    m_form.ShowReading(reading.statusRed ? ui::Rgb{255, 0, 0} : ui::Rgb{0, 255, 0}, reading.valueText);
}

void ProgramWindow::Stopped() { m_measurePanel->Stop(); }

// ---- Events ------------------------------------------------------------------------

bool ProgramWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != m_adjMax && box != m_adjMin) return QWidget::eventFilter(watched, event);
    const AdjustWhich which = box == m_adjMax ? AdjustWhich::Zero : AdjustWhich::Span;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_form.AdjustEnter(which);
            return true;
        }
        if (key->key() == Qt::Key_Backspace || key->text().isEmpty()) return false;  // caret keys, Delete
        const QString text = key->text();
        const char c = text.size() == 1 && text[0].unicode() < 128 ? static_cast<char>(text[0].unicode()) : 0;
        if (!ui::ProgramForm::AdjustKeyAccepted(c)) return true;  // everything else is discarded
        return false;
    }
    case QEvent::FocusOut:
        if (!m_refreshing) m_form.AdjustFocusLost(which);
        return false;
    case QEvent::MouseButtonPress:
        QTimer::singleShot(0, box, [box] { box->selectAll(); });
        return false;
    default: return QWidget::eventFilter(watched, event);
    }
}

void ProgramWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceGuide();
}

void ProgramWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    QTimer::singleShot(0, this, [this] { PlaceGuide(); });
}

}  // namespace vantrel::widgets
