#include "platform/ScriptedPrompter.h"

#include <QStringList>

namespace dv {

MsgButton ScriptedPrompter::ask(const Prompt &prompt)
{
    shown_.append(prompt);
    if (!script_.isEmpty())
        return script_.takeFirst();
    return prompt.defaultButton;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    out.reserve(shown_.size());
    for (const Prompt &p : shown_)
        out.append(p.text);
    return out;
}

} // namespace dv
