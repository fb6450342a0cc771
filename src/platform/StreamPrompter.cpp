#include "platform/StreamPrompter.h"

namespace dv {

MsgButton StreamPrompter::ask(const Prompt &prompt)
{
    // The text exactly as the box would show it, one line per box; nobody is
    // there to answer, so the box's default stands.
    const QByteArray line = prompt.text.toLocal8Bit();
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
    return prompt.defaultButton;
}

} // namespace dv
