#pragma once

// A Log File List page over a real event database, a scripted prompter and a
// volume monitor the test plugs sticks into.
#include "import/FixtureDb.h"
#include "import/LogFileListPage.h"
#include "platform/VolumeMonitor.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QListWidget>
#include <QSignalSpy>

#include <ostream>

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace pagetest {

class FakeVolumeMonitor : public dv::VolumeMonitor {
public:
    QList<dv::Volume> list;
    int starts = 0;

    QList<dv::Volume> volumes() override { return list; }
    void start() override { ++starts; }

    void add(const QString &root, int bus = 7, const QString &fs = QStringLiteral("vfat"),
             bool system = false)
    {
        dv::Volume v;
        v.root = root;
        v.device = QStringLiteral("/dev/fake");
        v.fileSystem = fs;
        v.busType = bus;
        v.system = system;
        list.append(v);
    }
    void plug(const QString &root, int bus = 7, const QString &fs = QStringLiteral("vfat"))
    {
        add(root, bus, fs);
        Q_EMIT volumeChanged(root, true);
    }
    void unplug(const QString &root)
    {
        list.removeIf([&](const dv::Volume &v) { return v.root == root; });
        Q_EMIT volumeChanged(root, false);
    }
};

struct World {
    fixture::Db db;
    FakeVolumeMonitor volumes;
    LogFileListPage page{db.info, db.db, db.prompter, volumes, db.state};
    QSignalSpy tab{&page, &LogFileListPage::logFileTabVisible};
    QSignalSpy reloads{&page, &LogFileListPage::reloadRequested};
    QSignalSpy viewer{&page, &LogFileListPage::showViewerPage};
    QSignalSpy numEvents{&page, &LogFileListPage::numEventsChanged};

    World() { volumes.add(QStringLiteral("/"), 0, QStringLiteral("ext4"), true); }

    // The last value the tab was given; -1 when never.
    int tabShown() const { return tab.isEmpty() ? -1 : int(tab.last()[0].toBool()); }

    QStringList names() const
    {
        QStringList out;
        for (int i = 0; i < page.CheckFileListBox->count(); ++i)
            out << page.CheckFileListBox->item(i)->text();
        return out;
    }
    void tick(const QStringList &which)
    {
        for (int i = 0; i < page.CheckFileListBox->count(); ++i) {
            QListWidgetItem *item = page.CheckFileListBox->item(i);
            if (which.contains(item->text()))
                item->setCheckState(Qt::Checked);
        }
    }
    QStringList ticked() const
    {
        QStringList out;
        for (int i = 0; i < page.CheckFileListBox->count(); ++i)
            if (page.CheckFileListBox->item(i)->checkState() == Qt::Checked)
                out << page.CheckFileListBox->item(i)->text();
        return out;
    }
};

inline QString local() { return dvtest::documents() + QStringLiteral("/VidedorovIzarir"); }

// Removes the Documents folder the test made, so the next test starts without one.
struct CleanDocuments {
    ~CleanDocuments() { QDir(dvtest::documents()).removeRecursively(); }
};

} // namespace pagetest
