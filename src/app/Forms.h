#pragma once

#include <QDialog>

// The secondary forms the entry sequence creates. Their pages of work are
// built by the views; here they are the empty windows with their captions.

class TfCraneInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfCraneInfo(QWidget *parent = nullptr);
};

class TClearRecrds : public QDialog {
    Q_OBJECT
public:
    explicit TClearRecrds(QWidget *parent = nullptr);
};

class TSerialNumberFRM : public QDialog {
    Q_OBJECT
public:
    explicit TSerialNumberFRM(QWidget *parent = nullptr);
};

class TReportSelectEX : public QDialog {
    Q_OBJECT
public:
    explicit TReportSelectEX(QWidget *parent = nullptr);
};
