#pragma once

#include <QGroupBox>

class QCheckBox;
class QLabel;
class QPushButton;

// The "Log File" group box of the header: the Read Log File command and its
// three check boxes. The Log File List page owns their handlers.
class LogFileGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit LogFileGroup(QWidget *parent = nullptr);
    QLabel *ReadingFileLBL = nullptr;
    QPushButton *ReadLogFileBTN = nullptr;
    QCheckBox *SuppressWarningsCB = nullptr;
    QCheckBox *DeleteOnReadCB = nullptr;
    QCheckBox *BackupOnReadCB = nullptr;

    // ReadingFileLBL is a data label: "Reading File", ":" and a data text.
    void setReadingFileData(const QString &text);
    QString readingFileData() const { return readingFileData_; }

private:
    QString readingFileData_;
};
