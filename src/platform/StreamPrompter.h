#pragma once

#include "platform/Prompter.h"

#include <cstdio>

namespace dv {

// Command-line backend: every box is one line of its text on the given stream
// (standard output for the CLI); the answer is the box's default button.
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::FILE *out = stderr) : out_(out) {}
    using Prompter::ask;
    MsgButton ask(const Prompt &prompt) override;

private:
    std::FILE *out_;
};

} // namespace dv
