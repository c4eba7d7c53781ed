#include "about/frmAbout.h"

#include "about/credits.h"
#include "platform/widgets/clicklabel.h"
#include "platform/widgets/look.h"
#include "rates/address.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace about {

namespace {

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

frmAbout::frmAbout(platform::ShellOpen& shell, QWidget* owner) : QDialog(owner), shell_(shell) {
    using platform::twipsRect;
    platform::setUpDialog(*this, QStringLiteral("За програмата"), 4530, 4185);

    lblOK = new QPushButton(QStringLiteral("OK"), this);
    lblOK->setGeometry(twipsRect(1440, 3480, 1455, 375));
    lblOK->setAutoDefault(true); // Enter on the focused button presses it

    lbl1 = plainLabel(
        QStringLiteral("Тази програма ползва сайта на ЗВТ - ") + QLatin1String(rates::BankHost) +
            QStringLiteral(" Автора не носи отговорност за точността на информацията"),
        this);
    lbl1->setGeometry(twipsRect(240, 120, 4095, 735));
    lbl1->setWordWrap(true);

    Image1 = new platform::ClickLabel(this);
    // A screen with more than one pixel to a point (144 DPI and up) gets the picture drawn at
    // twice the size, brought smoothly to its own scale rather than blown up.
    const QSize size(105, 40);
    const qreal ratio = devicePixelRatio();
    QPixmap picture(ratio > 1 ? QStringLiteral(":/about/about@2x.bmp")
                              : QStringLiteral(":/about/about.bmp"));
    if (ratio > 1) {
        picture = picture.scaled((QSizeF(size) * ratio).toSize(), Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
        picture.setDevicePixelRatio(ratio);
    }
    Image1->setPixmap(picture);
    Image1->setGeometry(platform::twips(1680), platform::twips(1080), size.width(), size.height());
    Image1->setAccessibleName(QStringLiteral("Уеб сайт на автора: ") +
                              QLatin1String(WebAddressShown));

    Label2 = plainLabel(QStringLiteral("Author: ") + QLatin1String(Author), this);
    Label2->setGeometry(twipsRect(240, 1920, 1455, 255));

    Label3 = plainLabel(QStringLiteral("Special 10x to:  ") + QLatin1String(Thanks), this);
    Label3->setGeometry(twipsRect(240, 2280, 4095, 495));
    Label3->setWordWrap(true);

    Label4 =
        new platform::ClickLabel(QStringLiteral("Visit: ") + QLatin1String(WebAddressShown), this);
    Label4->setTextFormat(Qt::PlainText);
    Label4->setGeometry(twipsRect(360, 2880, 3735, 375));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setFont(platform::msSansSerif(9.75, true));
    Label4->setAccessibleDescription(QStringLiteral("Отваря уеб сайта на автора"));

    for (QWidget* link : std::initializer_list<QWidget*>{Image1, Label4})
        link->setCursor(Qt::PointingHandCursor);

    connect(lblOK, &QPushButton::clicked, this, &frmAbout::lblOK_Click);
    connect(Image1, &platform::ClickLabel::clicked, this, &frmAbout::Image1_Click);
    connect(Label4, &platform::ClickLabel::clicked, this, &frmAbout::Label4_Click);
}

void frmAbout::openWebSite() {
    shell_.open(QLatin1String(WebAddress));
}

void frmAbout::Image1_Click() {
    openWebSite();
}

void frmAbout::Label4_Click() {
    openWebSite();
}

void frmAbout::lblOK_Click() {
    hide();
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // No button is the cancel button, so Escape leaves the window open.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    lblOK->setFocus();
}

} // namespace about
