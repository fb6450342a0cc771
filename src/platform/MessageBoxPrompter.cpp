#include "platform/MessageBoxPrompter.h"

#include <QMessageBox>

namespace dv {

namespace {

QMessageBox::Icon iconFor(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    case MsgKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonPair {
    MsgButton ours;
    QMessageBox::StandardButton qt;
};

// Order of the buttons on the box follows the platform's convention; this
// table only maps between the two sets.
constexpr ButtonPair kButtons[] = {
    {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},
    {mbOK, QMessageBox::Ok},
    {mbCancel, QMessageBox::Cancel},
};

} // namespace

MsgButton MessageBoxPrompter::ask(const Prompt &prompt)
{
    MsgButtons buttons = prompt.buttons;
    if (buttons == mbNone)
        buttons = mbOK;

    QMessageBox box(iconFor(prompt.kind),
                    prompt.caption.isEmpty() ? captionFor(prompt.kind) : prompt.caption,
                    prompt.text, QMessageBox::NoButton, parent_);
    QMessageBox::StandardButtons qtButtons;
    for (const ButtonPair &b : kButtons)
        if (buttons & b.ours)
            qtButtons |= b.qt;
    box.setStandardButtons(qtButtons);
    for (const ButtonPair &b : kButtons)
        if (b.ours == prompt.defaultButton && (buttons & b.ours))
            box.setDefaultButton(b.qt);

    const auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonPair &b : kButtons)
        if (b.qt == pressed)
            return b.ours;
    // Closed without a button (Escape where Qt found no escape button):
    // the gentlest answer the box offers.
    if (buttons & mbCancel)
        return mbCancel;
    if (buttons & mbNo)
        return mbNo;
    return prompt.defaultButton;
}

} // namespace dv
