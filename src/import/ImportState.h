#pragma once

#include "import/ExcavData.h"

#include <QByteArray>

// The import's working state, kept by the main window across commands.
struct ImportState {
    QByteArray Ms1;            // content of the file being read
    ExcavData_t ExcavatorData; // the record being decoded
    FileName_t FileName;       // name parts of the file being read
    bool LogToDataBase = false;
    quint16 DwnldRecrd = 0;    // wraps at 65535; never reset by the import
};
