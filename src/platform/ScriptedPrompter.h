#pragma once

#include "platform/Prompter.h"

#include <QList>

namespace dv {

// Test backend: records every box and answers from a script; when the script
// is empty it answers with the box's default button.
class ScriptedPrompter : public Prompter {
public:
    using Prompter::ask;
    MsgButton ask(const Prompt &prompt) override;

    void answerNext(MsgButton b) { script_.append(b); }
    const QList<Prompt> &shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); script_.clear(); }

private:
    QList<Prompt> shown_;
    QList<MsgButton> script_;
};

} // namespace dv
