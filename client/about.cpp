#include "about.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

#include "ui/translate_window.h"
#include "z5r/i18n.h"
#include "z5r/product_contacts.h"

namespace z5r {

namespace {

constexpr int kTitlePixels = 24;
constexpr int kBuildPixels = 10;
constexpr int kLogoSize = 64;
constexpr int kTextWidth = 440;

// A label that acts as a link: underlined, with the hand cursor.
class CLinkLabel : public QLabel {
public:
    CLinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        QFont underlined = font();
        underlined.setUnderline(true);
        setFont(underlined);
        setCursor(Qt::PointingHandCursor);
        setStyleSheet(QStringLiteral("color: #1a4fa0;"));
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) onClick_();
    }

private:
    std::function<void()> onClick_;
};

QLabel* Named(QLabel* label, const char* name) {
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The product's emblem: a sweep trace in a rounded square.
QPixmap Logo() {
    QPixmap logo(kLogoSize, kLogoSize);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(16, 60, 100));
    painter.drawRoundedRect(QRectF(0, 0, kLogoSize, kLogoSize), 12, 12);
    QPainterPath trace;
    trace.moveTo(8, 40);
    trace.cubicTo(18, 8, 26, 8, 32, 32);
    trace.cubicTo(38, 56, 46, 56, 56, 24);
    painter.setPen(QPen(QColor(160, 230, 255), 4, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(trace);
    return logo;
}

}  // namespace

void OpenLink(const std::string& target) { QDesktopServices::openUrl(QUrl(QString::fromStdString(target))); }

TAboutForm::TAboutForm(QWidget* parent, const SAboutTexts& texts) : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QString::fromUtf8(Z5R_TEXT("О программе")));
    setModal(true);
    setWindowFlag(Qt::Tool, true);
    setAutoFillBackground(true);
    QPalette light = palette();
    light.setColor(QPalette::Window, Qt::white);
    setPalette(light);

    auto* logo = Named(new QLabel(this), "LogoImage");
    logo->setPixmap(Logo());
    auto* title = Named(new QLabel(QString::fromUtf8(Z5R_TEXT("Программный комплекс Z5R")), this), "TitleLabel");
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPixelSize(kTitlePixels);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    LabelVersion = Named(new QLabel(Text(texts_.versionLine), this), "LabelVersion");
    QFont bold = LabelVersion->font();
    bold.setBold(true);
    LabelVersion->setFont(bold);
    LabelVersion->setAlignment(Qt::AlignRight);

    BuildLabel = Named(new QLabel(Text(texts_.buildLine), this), "BuildLabel");
    QFont small = BuildLabel->font();
    small.setPixelSize(kBuildPixels);
    BuildLabel->setFont(small);
    BuildLabel->setAlignment(Qt::AlignRight);

    auto* rights = Named(new QLabel(QStringLiteral("© %1 %2. %3")
                                        .arg(QString::fromLatin1(kRightsYears),
                                             Text(Tr("ООО «Корвел»")), Text(Tr("Все права защищены."))),
                                    this),
                         "RightsLabel");
    auto* warning = Named(new QLabel(QString::fromUtf8(Z5R_TEXT(
                                         "Эта программа — свободное программное обеспечение: её можно распространять "
                                         "и изменять на условиях лицензии GNU GPL версии 3 или любой более поздней. "
                                         "Программа поставляется БЕЗ КАКИХ-ЛИБО ГАРАНТИЙ.")),
                                     this),
                          "WarningLabel");
    warning->setWordWrap(true);
    warning->setMinimumWidth(kTextWidth);

    auto* mailCaption = Named(new QLabel(QString::fromUtf8(Z5R_TEXT("Вопросы и предложения:")), this), "MailCaption");
    LabelMail = Named(new CLinkLabel(Text(texts_.mailText), [this] { OpenLink(texts_.mailTarget); }, this),
                      "LabelMail");
    LabelMail->setToolTip(QString::fromUtf8(Z5R_TEXT("Отправить письмо в службу поддержки")));
    auto* siteCaption = Named(new QLabel(QString::fromUtf8(Z5R_TEXT("Обновление и поддержка:")), this), "SiteCaption");
    LabelURL = Named(new CLinkLabel(Text(texts_.site), [this] { OpenLink(texts_.site); }, this), "LabelURL");
    LabelURL->setToolTip(QString::fromUtf8(Z5R_TEXT("Посетите сайт фирмы-производителя")));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* header = new QHBoxLayout;
    header->addWidget(logo);
    header->addWidget(title, 1);
    auto* links = new QGridLayout;
    links->addWidget(mailCaption, 0, 0);
    links->addWidget(LabelMail, 0, 1);
    links->addWidget(siteCaption, 1, 0);
    links->addWidget(LabelURL, 1, 1);
    links->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(LabelVersion);
    layout->addWidget(BuildLabel);
    layout->addSpacing(8);
    layout->addWidget(rights);
    layout->addWidget(warning);
    layout->addSpacing(8);
    layout->addLayout(links);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    TranslateWindow(this);
}

void TAboutForm::showEvent(QShowEvent* event) {
    BuildLabel->hide();
    QDialog::showEvent(event);
}

void TAboutForm::keyPressEvent(QKeyEvent* event) {
    constexpr auto kToggleBuild = Qt::ControlModifier | Qt::AltModifier;
    if (event->key() == Qt::Key_B && (event->modifiers() & kToggleBuild) == kToggleBuild) {
        BuildLabel->setVisible(!BuildLabel->isVisible());
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace z5r
