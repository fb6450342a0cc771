#include "app/ShutDown.h"

#include <QCoreApplication>
#include <QLabel>

TfShutDown::TfShutDown(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("fShutDown"));
    setFixedSize(184, 37);
    StaticText1 = new QLabel(QStringLiteral("Shutting down......"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(13);
    f.setBold(true);
    StaticText1->setFont(f);
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setGeometry(0, 0, 184, 37);
}

void TfShutDown::showOver(const QWidget *window)
{
    if (window)
        move(window->geometry().center() - rect().center());
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
