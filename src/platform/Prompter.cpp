#include "platform/Prompter.h"

namespace dv {

QString captionFor(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error:
        return QStringLiteral("Error");
    case MsgKind::Warning:
        return QStringLiteral("Warning");
    case MsgKind::Information:
        return QStringLiteral("Information");
    case MsgKind::Confirmation:
        return QStringLiteral("Confirm");
    case MsgKind::Plain:
        break;
    }
    return QStringLiteral("Dorvanel");
}

} // namespace dv
