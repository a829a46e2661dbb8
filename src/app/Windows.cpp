// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Windows.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QSignalBlocker>
#include <QDialogButtonBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "resources/StringTable.h"
#include "resources/icons/ResourceIcons.h"
#include "ui/widgets/Palette.h"

namespace vantrel::app {

QString Tr(int italianId, int languageOffset);

namespace {

namespace res = vantrel::resources;


QLabel* PictureLabel(int id, QSize size, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(res::ResourcePixmap(id, size, parent ? parent->devicePixelRatioF() : 1.0));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// The Cancel button of the windows shown while an operation runs: it stops the operation.
QPushButton* CancelButton(const char* name, int languageOffset, QWidget* parent) {
    auto* button = new QPushButton(Tr(resources::text::kCancel, languageOffset), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* TextLabel(const QString& text, int pointDelta, bool bold, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() + pointDelta);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QString Tr(int italianId, int languageOffset) {
    return QString::fromStdString(res::Text(italianId, languageOffset));
}

// ---- Splash ----------------------------------------------------------------------------

SplashWindow::SplashWindow(int languageOffset, int closeAfterMs, std::function<void()> onFirstTick, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_onFirstTick(std::move(onFirstTick)) {
    setObjectName("Splash");
    setWindowTitle(Tr(resources::text::kProductName, languageOffset));
    setAutoFillBackground(true);
    // The splash keeps its light look on every desktop, its texts dark on it.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(250, 251, 253));
    palette.setColor(QPalette::WindowText, QColor(0x1d, 0x27, 0x33));
    palette.setColor(QPalette::Text, QColor(0x1d, 0x27, 0x33));
    setPalette(palette);

    auto* frame = new QFrame(this);
    frame->setObjectName("SplashFrame");
    frame->setStyleSheet("#SplashFrame { border: 1px solid #9aa7b8; background: #fafbfd; }");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(10);
    layout->addWidget(PictureLabel(res::kPictureSplashBanner, QSize(480, 150), this));
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    row->addWidget(PictureLabel(res::kPictureSplashProbe, QSize(110, 110), this));
    auto* texts = new QVBoxLayout;
    texts->addStretch();
    texts->addWidget(TextLabel(Tr(resources::text::kProductName, languageOffset), 14, true, this));
    texts->addWidget(TextLabel(Tr(resources::text::kConfigurationSoftware, languageOffset), 2, false, this));
    texts->addWidget(TextLabel(Tr(resources::text::kVersion, languageOffset), 0, false, this));
    texts->addStretch();
    row->addLayout(texts, 1);
    layout->addLayout(row);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(closeAfterMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_timer->stop();
        if (m_onFirstTick) m_onFirstTick();
        accept();
    });
    m_timer->start();
}

// ---- About -----------------------------------------------------------------------------

AboutWindow::AboutWindow(int languageOffset, QWidget* parent) : QDialog(parent) {
    setObjectName("About");
    setWindowTitle(Tr(resources::text::kAboutTitle, languageOffset));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 16);
    layout->setSpacing(12);
    auto* row = new QHBoxLayout;
    row->setSpacing(20);
    row->addWidget(PictureLabel(res::kIconApplication, QSize(72, 72), this));
    auto* texts = new QVBoxLayout;
    texts->addWidget(TextLabel(Tr(resources::text::kProductName, languageOffset), 10, true, this));
    texts->addWidget(TextLabel(Tr(resources::text::kConfigurationSoftware, languageOffset), 0, false, this));
    texts->addWidget(TextLabel(Tr(resources::text::kVersion, languageOffset), 0, false, this));
    row->addLayout(texts, 1);
    layout->addLayout(row);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("AboutOk");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

// ---- Language --------------------------------------------------------------------------

LanguageWindow::LanguageWindow(int languageOffset, int animationMs, QWidget* parent) : QDialog(parent) {
    setObjectName("Language");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(14);

    m_animation = new QLabel(this);
    m_animation->setObjectName("LanguageAnimation");
    m_animation->setAlignment(Qt::AlignCenter);
    m_animation->setFixedSize(64, 64);
    auto* top = new QHBoxLayout;
    top->addStretch();
    top->addWidget(m_animation);
    top->addStretch();
    layout->addLayout(top);

    auto makeButton = [this](int iconId, const QString& name, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(res::ResourceIcon(iconId));
        button->setIconSize(QSize(64, 64));
        button->setToolTip(tip);
        button->setAutoRaise(false);
        button->setFixedSize(84, 72);
        return button;
    };
    m_italian = makeButton(res::kIconItalian, "LanguageItalian", "Italiano");
    m_english = makeButton(res::kIconEnglish, "LanguageEnglish", "English");
    connect(m_italian, &QToolButton::clicked, this, [this] { emit languageChosen(0); });
    connect(m_english, &QToolButton::clicked, this, [this] { emit languageChosen(1); });
    auto* flags = new QHBoxLayout;
    flags->setSpacing(18);
    flags->addStretch();
    flags->addWidget(m_italian);
    flags->addWidget(m_english);
    flags->addStretch();
    layout->addLayout(flags);

    m_exit = new QPushButton(this);
    m_exit->setObjectName("LanguageExit");
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_exit);
    layout->addLayout(bottom);

    SetCaption(Tr(resources::text::kLanguage, languageOffset));
    SetExitText(Tr(resources::text::kExit, languageOffset));

    m_timer = new QTimer(this);
    m_timer->setInterval(animationMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        ++m_frame;
        if (m_frame > res::kLanguageFrameLast) m_frame = res::kLanguageFrameFirst;
        ShowFrame();
    });
    ShowFrame();
    setMinimumWidth(280);
}

void LanguageWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }
void LanguageWindow::SetExitText(const QString& text) { m_exit->setText(text); }

void LanguageWindow::ShowFrame() {
    m_animation->setPixmap(res::ResourcePixmap(m_frame, m_animation->size(), devicePixelRatioF()));
}

void LanguageWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_timer->start();
}

void LanguageWindow::hideEvent(QHideEvent* event) {
    m_timer->stop();
    QDialog::hideEvent(event);
}

// ---- Port selection --------------------------------------------------------------------

DoorsWindow::DoorsWindow(PortChoiceModel& model, int languageOffset, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName("doors");
    setWindowTitle(Tr(resources::text::kSerialPorts, languageOffset));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(12);

    auto* frame = new QGroupBox(Tr(resources::text::kSelectPort, languageOffset), this);
    frame->setObjectName("doorsFrame");
    auto* frameLayout = new QVBoxLayout(frame);
    m_list = new QComboBox(frame);
    m_list->setObjectName("doorsList");
    Refill();
    connect(m_list, &QComboBox::currentIndexChanged, this, [this](int index) { m_model.Choose(index); });
    frameLayout->addWidget(m_list);

    // The line settings as a table: each text is "name   :   value", padded for a fixed font;
    // split at the colon, the names and the values stand in aligned columns in any font.
    auto* settings = new QFrame(frame);
    settings->setObjectName("doorsSettings");
    settings->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(settings);
    grid->setContentsMargins(10, 6, 10, 6);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(3);
    int row = 0;
    for (int id : {53, 54, 55, 56}) {
        const QString text = Tr(id, languageOffset);
        const qsizetype colon = text.indexOf(':');
        auto* name = new QLabel(text.left(colon).trimmed(), settings);
        auto* value = new QLabel(colon < 0 ? QString() : text.mid(colon + 1).trimmed(), settings);
        value->setObjectName(QStringLiteral("doorsSetting%1").arg(row));
        grid->addWidget(name, row, 0);
        grid->addWidget(new QLabel(QStringLiteral(":"), settings), row, 1);
        grid->addWidget(value, row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    frameLayout->addWidget(settings);
    layout->addWidget(frame);

    m_ok = new QPushButton("OK", this);
    m_ok->setObjectName("doorsOk");
    m_ok->setDefault(true);
    m_cancel = new QPushButton(Tr(resources::text::kCancel, languageOffset), this);
    m_cancel->setObjectName("doorsCancel");
    connect(m_ok, &QPushButton::clicked, this, &DoorsWindow::accept);
    connect(m_cancel, &QPushButton::clicked, this, &DoorsWindow::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    // The window grows with its port list (a minimum width of its own would stop that).
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void DoorsWindow::Refill() {
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    // Wide enough for the device path, the description and the stable name of each port.
    int widest = 0;
    for (const PortListEntry& entry : m_model.entries()) {
        const QString text = QString::fromStdString(entry.text);
        m_list->addItem(text);
        widest = std::max(widest, m_list->fontMetrics().horizontalAdvance(text));
    }
    m_list->setMinimumWidth(std::clamp(widest + 48, 340, 900));
    m_list->setCurrentIndex(m_model.currentIndex());
}

void DoorsWindow::accept() { QDialog::accept(); }

void DoorsWindow::reject() {
    m_model.Cancel();
    QDialog::reject();
}

// ---- Connection test -------------------------------------------------------------------

ConnectionTestWindow::ConnectionTestWindow(int languageOffset, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("TentConn");
    setWindowTitle(Tr(resources::text::kProductName, languageOffset));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(14);
    layout->addWidget(PictureLabel(res::kIconConnect, QSize(40, 40), this));
    auto* caption = TextLabel(Tr(resources::text::kConnectionTest, languageOffset), 1, true, this);
    caption->setObjectName("TentConnCaption");
    caption->setWordWrap(false);
    layout->addWidget(caption, 1);
    m_attempt = TextLabel(QString(), 6, true, this);
    m_attempt->setObjectName("N_Tent");
    m_attempt->setMinimumWidth(48);
    layout->addWidget(m_attempt);
    m_cancel = CancelButton("TentConnCancel", languageOffset, this);
    connect(m_cancel, &QPushButton::clicked, this, &ConnectionTestWindow::cancelClicked);
    layout->addWidget(m_cancel);
    SetAttempt(1);
    setMinimumWidth(340);
}

// The attempt number in decimal with one leading blank, as the label always showed it.
void ConnectionTestWindow::SetAttempt(int attempt) { m_attempt->setText(" " + QString::number(attempt)); }

QString ConnectionTestWindow::attemptText() const { return m_attempt->text(); }

// ---- Operation window ------------------------------------------------------------------

OperationWindow::OperationWindow(int languageOffset, int animationMs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("Video");
    setWindowTitle(Tr(resources::text::kProductName, languageOffset));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(18);
    m_picture = new QLabel(this);
    m_picture->setObjectName("VideoAnimation");
    m_picture->setFixedSize(96, 64);
    layout->addWidget(m_picture);
    auto* texts = new QVBoxLayout;
    auto* enabled = TextLabel(Tr(resources::text::kCommunicationEnabled, languageOffset), 3, true, this);
    enabled->setObjectName("VideoCommunication");
    auto* warning = TextLabel(Tr(resources::text::kDoNotUnplug, languageOffset), 0, false, this);
    warning->setObjectName("VideoWarning");
    const QColor warningColour = widgets::ForPalette(this, QColor(0xa3, 0x3a, 0x00), QColor(0xff, 0xb0, 0x70));
    warning->setStyleSheet(QStringLiteral("color: %1;").arg(warningColour.name()));
    texts->addWidget(enabled);
    texts->addWidget(warning);
    layout->addLayout(texts, 1);
    m_cancel = CancelButton("VideoCancel", languageOffset, this);
    connect(m_cancel, &QPushButton::clicked, this, &OperationWindow::cancelClicked);
    layout->addWidget(m_cancel, 0, Qt::AlignBottom);
    ShowFrame();

    m_timer = new QTimer(this);
    m_timer->setInterval(animationMs);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_frame = 1 - m_frame;
        ShowFrame();
    });
    m_timer->start();
    setMinimumWidth(440);
}

void OperationWindow::ShowFrame() {
    const int id = m_frame == 0 ? res::kPictureTransferSend : res::kPictureTransferReceive;
    m_picture->setPixmap(res::ResourcePixmap(id, m_picture->size(), devicePixelRatioF()));
}

void OperationWindow::Finish() {
    m_finished = true;
    m_timer->stop();
    close();
}

// The window belongs to the running operation: only the operation closes it.
void OperationWindow::closeEvent(QCloseEvent* event) {
    if (m_finished)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

void OperationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace vantrel::app
