#pragma once

#include <QWidget>

class QLabel;

// The short notice shown while the program closes.
class TfShutDown : public QWidget {
    Q_OBJECT
public:
    explicit TfShutDown(QWidget *parent = nullptr);

    QLabel *StaticText1 = nullptr;

    // Shows the notice centred over the given window and paints it at once.
    void showOver(const QWidget *window);
};
