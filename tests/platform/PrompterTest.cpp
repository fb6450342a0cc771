#include "platform/MessageBoxPrompter.h"
#include "platform/ScriptedPrompter.h"
#include "platform/StreamPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>

using namespace dv;

namespace {

TEST(PrompterTest, CaptionPerKind)
{
    EXPECT_EQ(captionFor(MsgKind::Error), QStringLiteral("Error"));
    EXPECT_EQ(captionFor(MsgKind::Warning), QStringLiteral("Warning"));
    EXPECT_EQ(captionFor(MsgKind::Information), QStringLiteral("Information"));
    EXPECT_EQ(captionFor(MsgKind::Confirmation), QStringLiteral("Confirm"));
    EXPECT_EQ(captionFor(MsgKind::Plain), QStringLiteral("Dorvanel"));
}

TEST(PrompterTest, ScriptedRecordsEveryBoxAndAnswersScriptThenDefault)
{
    ScriptedPrompter p;
    p.answerNext(mbNo);
    EXPECT_EQ(p.ask(MsgKind::Confirmation, QStringLiteral("Delete?"), mbYes | mbNo, mbYes), mbNo);
    EXPECT_EQ(p.ask(MsgKind::Confirmation, QStringLiteral("Again?"), mbYes | mbNo, mbYes), mbYes);
    p.show(MsgKind::Plain, QStringLiteral("Set Info.RegPath"));
    EXPECT_EQ(p.texts(), QStringList({QStringLiteral("Delete?"), QStringLiteral("Again?"),
                                      QStringLiteral("Set Info.RegPath")}));
    EXPECT_EQ(p.shown().at(2).kind, MsgKind::Plain);
    EXPECT_EQ(p.shown().at(2).buttons, MsgButtons(mbOK));
    p.clear();
    EXPECT_TRUE(p.shown().isEmpty());
}

TEST(PrompterTest, StreamWritesOneLinePerBoxAndAnswersDefault)
{
    std::FILE *f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    StreamPrompter p(f);
    p.show(MsgKind::Information, QStringLiteral("Read 12 records  from  file"));
    EXPECT_EQ(p.ask(MsgKind::Confirmation, QStringLiteral("Sure?"), mbYes | mbNo, mbNo), mbNo);
    std::rewind(f);
    char buf[256] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(QByteArray(buf, qsizetype(n)), QByteArray("Read 12 records  from  file\nSure?\n"));
}

struct BoxCase {
    MsgKind kind;
    QString caption;
    MsgButtons buttons;
    MsgButton defaultButton;
    QMessageBox::Icon icon;
    QString title;
    QMessageBox::StandardButtons qtButtons;
    QMessageBox::StandardButton qtDefault;
};

TEST(PrompterTest, MessageBoxShowsKindIconCaptionButtonsAndDefault)
{
    const QList<BoxCase> cases = {
        {MsgKind::Error, {}, mbOK, mbOK, QMessageBox::Critical, QStringLiteral("Error"), QMessageBox::Ok,
         QMessageBox::Ok},
        {MsgKind::Warning, {}, mbOK | mbCancel, mbCancel, QMessageBox::Warning, QStringLiteral("Warning"),
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel},
        {MsgKind::Information, {}, mbOK, mbOK, QMessageBox::Information, QStringLiteral("Information"),
         QMessageBox::Ok, QMessageBox::Ok},
        {MsgKind::Confirmation, {}, mbYes | mbNo, mbNo, QMessageBox::Question, QStringLiteral("Confirm"),
         QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
        {MsgKind::Plain, {}, mbOK, mbOK, QMessageBox::NoIcon, QStringLiteral("Dorvanel"), QMessageBox::Ok,
         QMessageBox::Ok},
        {MsgKind::Confirmation, QStringLiteral("Clear Records"), mbYes | mbNo | mbCancel, mbYes,
         QMessageBox::Question, QStringLiteral("Clear Records"),
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes},
    };
    MessageBoxPrompter prompter;
    for (const BoxCase &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->windowTitle(), c.title);
            EXPECT_EQ(box->text(), QStringLiteral("the text"));
            EXPECT_EQ(box->standardButtons(), c.qtButtons);
            ASSERT_NE(box->defaultButton(), nullptr);
            EXPECT_EQ(box->standardButton(box->defaultButton()), c.qtDefault);
            box->defaultButton()->click(); // what Enter does
        });
        const MsgButton answer = prompter.ask(Prompt{c.kind, QStringLiteral("the text"), c.buttons,
                                                     c.defaultButton, c.caption});
        EXPECT_TRUE(seen);
        EXPECT_EQ(answer, c.defaultButton);
    }
}

TEST(PrompterTest, MessageBoxReturnsTheButtonPressed)
{
    MessageBoxPrompter prompter;
    QTimer::singleShot(0, [] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(prompter.ask(MsgKind::Confirmation, QStringLiteral("Sure?"), mbYes | mbNo, mbYes), mbNo);
}

} // namespace
