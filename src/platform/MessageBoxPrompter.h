#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace dv {

// GUI backend: a modal QMessageBox with the kind's icon and caption, the
// prompt's buttons and its default button.
class MessageBoxPrompter : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr) : parent_(parent) {}
    using Prompter::ask;
    MsgButton ask(const Prompt &prompt) override;

    void setParent(QWidget *parent) { parent_ = parent; }

private:
    QWidget *parent_;
};

} // namespace dv
