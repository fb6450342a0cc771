#include "app/Forms.h"

namespace {
void setUp(QDialog *form, const char *name, const char *caption)
{
    form->setObjectName(QString::fromLatin1(name));
    form->setWindowTitle(QString::fromLatin1(caption));
    form->setModal(true);
}
} // namespace

TfCraneInfo::TfCraneInfo(QWidget *parent) : QDialog(parent)
{
    setUp(this, "fCraneInfo", "Crane Information");
}

TClearRecrds::TClearRecrds(QWidget *parent) : QDialog(parent)
{
    setUp(this, "ClearRecrds", "Clear Records");
}

TSerialNumberFRM::TSerialNumberFRM(QWidget *parent) : QDialog(parent)
{
    setUp(this, "SerialNumberFRM", "Serial Number Entry");
}

TReportSelectEX::TReportSelectEX(QWidget *parent) : QDialog(parent)
{
    setUp(this, "ReportSelectEX", "Select Report");
}
