#include "import/LogFileGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

LogFileGroup::LogFileGroup(QWidget *parent) : QGroupBox(QStringLiteral("Log File"), parent)
{
    ReadingFileLBL = new QLabel(this);
    ReadingFileLBL->setObjectName(QStringLiteral("ReadingFileLBL"));
    ReadingFileLBL->setGeometry(8, 20, 424, 24);
    setReadingFileData(QStringLiteral("---"));

    ReadLogFileBTN = new QPushButton(QStringLiteral("R&ead Log File"), this);
    ReadLogFileBTN->setObjectName(QStringLiteral("ReadLogFileBTN"));
    ReadLogFileBTN->setToolTip(QStringLiteral("Download data logger contents"));
    ReadLogFileBTN->setGeometry(8, 52, 140, 28);

    SuppressWarningsCB = new QCheckBox(QStringLiteral("Suppress Warnings"), this);
    SuppressWarningsCB->setObjectName(QStringLiteral("SuppressWarningsCB"));
    SuppressWarningsCB->setGeometry(170, 52, 260, 22);
    DeleteOnReadCB = new QCheckBox(QStringLiteral("Delete DataFile on Read"), this);
    DeleteOnReadCB->setObjectName(QStringLiteral("DeleteOnReadCB"));
    DeleteOnReadCB->setGeometry(170, 78, 260, 22);
    BackupOnReadCB = new QCheckBox(QStringLiteral("Backup DataFile on Read"), this);
    BackupOnReadCB->setObjectName(QStringLiteral("BackupOnReadCB"));
    BackupOnReadCB->setGeometry(170, 104, 260, 22);
}

void LogFileGroup::setReadingFileData(const QString &text)
{
    readingFileData_ = text;
    ReadingFileLBL->setText(QStringLiteral("Reading File : ") + text);
}
