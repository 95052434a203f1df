// Command routing along the chain of command targets.
#include "CommandRouter.h"

#include <QAction>

namespace platform
{

CommandRouter::CommandRouter(QObject* parent) : QObject(parent)
{
}

void CommandRouter::AddAction(int id, QAction* action)
{
    m_actions.insert(id, action);
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
}

bool CommandRouter::Execute(int id)
{
    // A disabled command is not run, even when its key reaches the action first.
    if (!StateOf(id).enabled)
        return false;
    bool handled = false;
    if (m_chain) {
        for (CommandTarget* target : m_chain()) {
            CommandState state;
            if (target && target->UpdateCommand(id, state)) {
                handled = target->ExecuteCommand(id);
                break;
            }
        }
    }
    UpdateAll();
    return handled;
}

CommandState CommandRouter::StateOf(int id) const
{
    if (m_chain) {
        for (CommandTarget* target : m_chain()) {
            CommandState state;
            if (target && target->UpdateCommand(id, state))
                return state;
        }
    }
    CommandState none;
    none.enabled = false;
    return none;
}

void CommandRouter::UpdateAll()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        QAction* action = it.value();
        if (!action)
            continue;
        const CommandState state = StateOf(it.key());
        action->setEnabled(state.enabled);
        if (action->isCheckable() || state.checkable) {
            action->setCheckable(true);
            action->setChecked(state.checked);
        }
    }
}

} // namespace platform
