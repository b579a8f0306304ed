#include "splash_form.h"

#include <QEvent>
#include <QFont>
#include <QPainter>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "arguments.h"
#include "client_start.h"
#include "launcher_config.h"
#include "launcher_texts.h"
#include "splash_background.h"

namespace z5r {

namespace {

constexpr int kNamePixels = 29;
constexpr int kVersionPixels = 16;
constexpr int kBottomPixels = 12;
constexpr int kMargin = 24;

QLabel* MakeLabel(QWidget* parent, const char* name, const std::string& text, int pixels) {
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixels);
    label->setFont(font);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return label;
}

}  // namespace

TSplashForm::TSplashForm(SSplashOptions options)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      options_(std::move(options)),
      settings_(MakeSplashSettings(options_.folder)),
      // Built once: activating the window again must not hand the
      // parameters on twice.
      argumentString_(BuildArgumentString(options_.parameters)),
      background_(LoadBackground(ResolveExistingFile(options_.folder, settings_.pictureName))) {
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QString::fromStdString(ProductTitleText()));
    setFixedSize(background_.size());

    NameLabel = MakeLabel(this, "NameLabel", ProductTitleText(), kNamePixels);
    QFont nameFont = NameLabel->font();
    nameFont.setBold(true);
    NameLabel->setFont(nameFont);
    VersionLabel = MakeLabel(this, "VersionLabel", settings_.versionText, kVersionPixels);
    BottomLabel = MakeLabel(this, "BottomLabel", RightsNoticeText(), kBottomPixels);
    BottomLabel->setWordWrap(true);
    BottomLabel->setAlignment(Qt::AlignRight | Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(NameLabel);
    layout->addWidget(VersionLabel);
    layout->addStretch();
    layout->addWidget(BottomLabel);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }

    LoadTimer = new QTimer(this);
    LoadTimer->setObjectName(QStringLiteral("LoadTimer"));
    LoadTimer->setSingleShot(true);
    LoadTimer->setInterval(options_.loadDelayMs);
    connect(LoadTimer, &QTimer::timeout, this, [this] { LoadTimerTimer(); });

    ExitTimer = new QTimer(this);
    ExitTimer->setObjectName(QStringLiteral("ExitTimer"));
    ExitTimer->setSingleShot(true);
    connect(ExitTimer, &QTimer::timeout, this, [this] { ExitTimerTimer(); });
    ExitTimer->start(options_.exitDelayMs);
}

bool TSplashForm::event(QEvent* event) {
    // The load delay counts from the first activation only.
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        LoadTimer->start();
    }
    return QWidget::event(event);
}

void TSplashForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
}

void TSplashForm::LoadTimerTimer() {
    LoadTimer->stop();
    switch (StartClient(options_.folder, settings_.clientFileName, argumentString_)) {
        case EClientStart::Started:
            options_.end(kExitStarted);
            return;
        case EClientStart::StartFailed:
            return;  // the exit timer reports
        case EClientStart::Missing:
            ReportAndEnd(settings_.clientFileName);
            return;
    }
}

void TSplashForm::ExitTimerTimer() {
    ExitTimer->stop();
    ReportAndEnd(kLauncherConfigName);
}

void TSplashForm::ReportAndEnd(const std::string& fileName) {
    // One message: the other timer must not add its own while this one shows.
    ExitTimer->stop();
    options_.showError(ErrorCaptionText(), FileNotFoundText(fileName));
    options_.end(kExitFailed);
}

}  // namespace z5r
