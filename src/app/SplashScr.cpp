#include "app/SplashScr.h"

#include "app/MainFormTexts.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

namespace {
QLabel *line(QWidget *parent, const QString &text, int pixelSize, int top, Qt::Alignment align)
{
    auto *l = new QLabel(text, parent);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    l->setFont(f);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setGeometry(12, top, 325, pixelSize + 10);
    l->setAttribute(Qt::WA_TranslucentBackground);
    return l;
}
} // namespace

TfSplashScreen::TfSplashScreen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("fSplashScreen"));
    // 4-pixel grey border around the 349 x 256 panel.
    setFixedSize(357, 264);
    setAutoFillBackground(true);
    QPalette border = palette();
    border.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(border);

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Panel1"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(4, 4, 349, 256);
    frame->setAutoFillBackground(true);
    QPalette cream = frame->palette();
    cream.setColor(QPalette::Window, QColor(0xF4, 0xF0, 0xDC));
    frame->setPalette(cream);
    Panel1 = frame;

    Image1 = new QLabel(frame);
    Image1->setGeometry(2, 2, 345, 252);
    Image1->setAlignment(Qt::AlignCenter);
    const QPixmap picture(QStringLiteral(":/Splash.png"));
    if (!picture.isNull()) {
        // Scaled down to fit when larger, aspect kept; never blown up.
        const QSize room = Image1->size();
        Image1->setPixmap(picture.width() > room.width() || picture.height() > room.height()
                              ? picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                              : picture);
    }

    Line1Lbl = line(frame, QString(), 21, 8, Qt::AlignRight);
    Line2Lbl = line(frame, QStringLiteral("Data"), 21, 38, Qt::AlignRight);
    Line3Lbl = line(frame, QStringLiteral("Viewing"), 21, 68, Qt::AlignRight);
    Line4Lbl = line(frame, QStringLiteral("Package"), 21, 98, Qt::AlignRight);
    DateLbl = line(frame, QString::fromUtf8(dv::kReleaseYears), 16, 222, Qt::AlignRight);

    // Set when the form is made, as the product line of this build.
    Line1Lbl->setText(QString::fromUtf8(dv::kProductLine));
}

void TfSplashScreen::showAndPaint()
{
    if (const QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
