#pragma once

#include <QWidget>

class QLabel;

// Shown while the windows are built: the excavator picture with the product
// lines over it and the release years.
class TfSplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit TfSplashScreen(QWidget *parent = nullptr);

    QWidget *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *Line1Lbl = nullptr;
    QLabel *Line2Lbl = nullptr;
    QLabel *Line3Lbl = nullptr;
    QLabel *Line4Lbl = nullptr;
    QLabel *DateLbl = nullptr;

    // Shows the splash centred on the screen and paints it at once, so it is
    // visible while the slow start-up steps run.
    void showAndPaint();
};
