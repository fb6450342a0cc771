#pragma once

#include <QString>
#include <QtGlobal>

// Reports progress of an import to whoever shows it (window or console).
class ImportObserver {
public:
    virtual ~ImportObserver() = default;
    virtual void fileStarted(const QString & /*fileName*/) {}
    // DwnldRecrd after each stored record; a window may throttle repaints.
    virtual void recordStored(quint16 /*dwnldRecrd*/) {}
};
