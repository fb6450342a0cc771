#include "core/Errors.h"
#include "platform/FileRegistryStore.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using dv::FileRegistryStore;
using dv::RegValue;

namespace {

const QString kKey = QStringLiteral("\\SOFTWARE\\Vorsholt\\VidedorovIzarir");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FileRegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir{dvtest::home() + QStringLiteral("/reg-XXXXXX")};
    FileRegistryStore store{dir.path()};
    QString file() const { return dir.path() + QStringLiteral("/Vorsholt/VidedorovIzarir.reg"); }
};

TEST_F(FileRegistryStoreTest, KeyMapsToFileUnderConfigRootWithoutSoftware)
{
    EXPECT_EQ(store.fileFor(kKey), file());
    EXPECT_EQ(FileRegistryStore().fileFor(kKey),
              dvtest::home() + QStringLiteral("/config/Vorsholt/VidedorovIzarir.reg"));
    for (const char *bad : {"", "\\", "\\SOFTWARE\\..\\escape", "\\SOFTWARE\\a/b"}) {
        SCOPED_TRACE(bad);
        EXPECT_TRUE(store.fileFor(QString::fromLatin1(bad)).isEmpty());
        EXPECT_FALSE(store.openOrCreateKey(QString::fromLatin1(bad)));
        EXPECT_THROW(store.write(QString::fromLatin1(bad), QStringLiteral("x"), RegValue::ofDWord(1)),
                     dv::ERegistryException);
    }
}

TEST_F(FileRegistryStoreTest, OpenCreatesFolderAndFileWithHeader)
{
    EXPECT_FALSE(store.read(kKey, QStringLiteral("DataBase Name")).has_value());
    ASSERT_TRUE(store.openOrCreateKey(kKey));
    EXPECT_EQ(readAll(file()), QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Vorsholt\\VidedorovIzarir]\n"));
    EXPECT_TRUE(store.openOrCreateKey(kKey)); // existing key opens again, unchanged
    EXPECT_FALSE(store.read(kKey, QStringLiteral("DataBase Name")).has_value());
}

TEST_F(FileRegistryStoreTest, ValuesRoundTripWithTheirTypes)
{
    const QList<std::pair<QString, RegValue>> values = {
        {QStringLiteral("DataBase Path"), RegValue::ofString(QStringLiteral("c:\\program files\\Vorsholt\\"))},
        {QStringLiteral("Quoted"), RegValue::ofString(QStringLiteral("say \"hi\"\nnext line ü"))},
        {QStringLiteral("Empty"), RegValue::ofString(QString())},
        {QStringLiteral("Backup On Read"), RegValue::ofDWord(1)},
        {QStringLiteral("Big"), RegValue::ofDWord(0xFFFFFFFFu)},
        {QStringLiteral("Real"), RegValue::ofBinary(QByteArray::fromHex("000000000000f83f"))},
        {QStringLiteral("No bytes"), RegValue::ofBinary(QByteArray())},
    };
    for (const auto &[name, value] : values)
        store.write(kKey, name, value);

    FileRegistryStore again(dir.path());
    for (const auto &[name, value] : values) {
        SCOPED_TRACE(name.toStdString());
        const auto got = again.read(kKey, name);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, value);
    }
    // Overwriting keeps one line per name and may change the type.
    store.write(kKey, QStringLiteral("Backup On Read"), RegValue::ofString(QStringLiteral("yes")));
    EXPECT_EQ(store.read(kKey, QStringLiteral("Backup On Read")), RegValue::ofString(QStringLiteral("yes")));

    EXPECT_EQ(readAll(file()),
              QByteArray("REGEDIT4\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Vorsholt\\VidedorovIzarir]\n"
                         "\"DataBase Path\"=\"c:\\\\program files\\\\Vorsholt\\\\\"\n"
                         "\"Quoted\"=\"say \\\"hi\\\"\\nnext line \xc3\xbc\"\n"
                         "\"Empty\"=\"\"\n"
                         "\"Backup On Read\"=\"yes\"\n"
                         "\"Big\"=dword:ffffffff\n"
                         "\"Real\"=hex:00,00,00,00,00,00,f8,3f\n"
                         "\"No bytes\"=hex:\n"));
}

TEST_F(FileRegistryStoreTest, HandEditedFileIsReadLeniently)
{
    dvtest::writeFile(file(),
                      "REGEDIT4\r\n"
                      "; edited by hand\r\n"
                      "[HKEY_CURRENT_USER\\SOFTWARE\\Vorsholt\\VidedorovIzarir]\r\n"
                      "\"DataBase Path\"=\"c:\\program files\\Vorsholt\"\r\n"
                      "this line means nothing\r\n"
                      "\"Broken Number\"=dword:zz\r\n"
                      "\"Unclosed\"=\"abc\r\n"
                      "\"Twice\"=dword:00000001\r\n"
                      "\"Twice\"=dword:00000002\r\n"
                      "\"Long\"=hex:01,02,\\\r\n"
                      "  03,04\r\n"
                      "\"Suppress Warnings\" = DWORD:00000005\r\n");

    EXPECT_EQ(store.read(kKey, QStringLiteral("DataBase Path")),
              RegValue::ofString(QStringLiteral("c:\\program files\\Vorsholt")));
    EXPECT_FALSE(store.read(kKey, QStringLiteral("Broken Number")).has_value());
    EXPECT_FALSE(store.read(kKey, QStringLiteral("Unclosed")).has_value());
    EXPECT_EQ(store.read(kKey, QStringLiteral("Twice")), RegValue::ofDWord(2));
    EXPECT_EQ(store.read(kKey, QStringLiteral("Long")), RegValue::ofBinary(QByteArray::fromHex("01020304")));
    EXPECT_EQ(store.read(kKey, QStringLiteral("suppress warnings")), RegValue::ofDWord(5));
}

TEST_F(FileRegistryStoreTest, RewriteKeepsUnknownLinesAndReplacesBrokenValue)
{
    dvtest::writeFile(file(),
                      "REGEDIT4\n"
                      "; keep me\n"
                      "[HKEY_CURRENT_USER\\SOFTWARE\\Vorsholt\\VidedorovIzarir]\n"
                      "garbage =\n"
                      "\"Broken Number\"=dword:zz\n"
                      "\"Twice\"=dword:00000001\n"
                      "\"Long\"=hex:01,\\\n"
                      "  02\n"
                      "\"Twice\"=dword:00000002\n");
    store.write(kKey, QStringLiteral("Broken Number"), RegValue::ofDWord(7));
    store.write(kKey, QStringLiteral("Twice"), RegValue::ofDWord(3));
    store.write(kKey, QStringLiteral("New"), RegValue::ofString(QStringLiteral("n")));

    EXPECT_EQ(readAll(file()),
              QByteArray("REGEDIT4\n"
                         "; keep me\n"
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Vorsholt\\VidedorovIzarir]\n"
                         "garbage =\n"
                         "\"Broken Number\"=dword:00000007\n"
                         "\"Twice\"=dword:00000003\n"
                         "\"Long\"=hex:01,\\\n"
                         "  02\n"
                         "\"New\"=\"n\"\n"));
}

TEST_F(FileRegistryStoreTest, UnusableFolderRefusesOpenAndWrite)
{
    // A plain file where the folder should be: refused even for a superuser.
    const QString blocker = dvtest::writeFile(dir.path() + QStringLiteral("/blocker"), "x");
    FileRegistryStore blocked(blocker);
    EXPECT_FALSE(blocked.openOrCreateKey(kKey));
    EXPECT_FALSE(blocked.read(kKey, QStringLiteral("DataBase Name")).has_value());
    try {
        blocked.write(kKey, QStringLiteral("DataBase Name"), RegValue::ofString(QStringLiteral("a")));
        FAIL() << "write did not throw";
    } catch (const dv::ERegistryException &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Failed to set data for 'DataBase Name'"));
    }
    EXPECT_EQ(readAll(blocker), QByteArray("x"));
}

TEST_F(FileRegistryStoreTest, KeyThatIsAFolderIsRefusedWithoutLosingIt)
{
    ASSERT_TRUE(QDir().mkpath(file()));
    EXPECT_FALSE(store.openOrCreateKey(kKey));
    EXPECT_THROW(store.write(kKey, QStringLiteral("x"), RegValue::ofDWord(1)), dv::ERegistryException);
    EXPECT_TRUE(QFileInfo(file()).isDir());
}

} // namespace
