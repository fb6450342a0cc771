#pragma once

#include <QString>
#include <QVector>

namespace dv {

// The kinds of modal box the program shows. Each typed kind carries the
// platform's icon and caption for it; Plain has no icon and the application
// title "Dorvanel" as caption.
enum class MsgKind { Error, Warning, Information, Confirmation, Plain };

enum MsgButton : unsigned {
    mbNone = 0,
    mbOK = 1,
    mbCancel = 2,
    mbYes = 4,
    mbNo = 8,
};
using MsgButtons = unsigned;

struct Prompt {
    MsgKind kind = MsgKind::Plain;
    QString text;
    MsgButtons buttons = mbOK;
    MsgButton defaultButton = mbOK;
    QString caption; // empty: the kind's own caption (see captionFor)
};

// Caption used when a prompt names none: "Error", "Warning", "Information",
// "Confirm", and the application title for Plain.
QString captionFor(MsgKind kind);

// Every message box goes through this interface, so tests can script the
// answers and the command-line tool can print instead of showing.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the box and returns the button pressed.
    virtual MsgButton ask(const Prompt &prompt) = 0;

    // Shorthand for a box with one OK button.
    void show(MsgKind kind, const QString &text) { ask(Prompt{kind, text, mbOK, mbOK, {}}); }
    MsgButton ask(MsgKind kind, const QString &text, MsgButtons buttons, MsgButton defaultButton)
    {
        return ask(Prompt{kind, text, buttons, defaultButton, {}});
    }
};

} // namespace dv
