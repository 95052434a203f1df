// Command routing: one QAction per command identifier, routed along a chain of command targets.
#pragma once

#include <QAction>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAction;

namespace platform
{

struct CommandState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
};

// Anything that handles commands: the page on show, the document, the frame, the application.
class CommandTarget
{
  public:
    virtual ~CommandTarget() = default;
    // True when this target handles the command in its present state; state may be adjusted
    // (enabled, check mark). A command that no target handles is disabled.
    virtual bool UpdateCommand(int id, CommandState& state) = 0;
    // Runs the command; true when it was handled here.
    virtual bool ExecuteCommand(int id) = 0;
};

class CommandRouter : public QObject
{
    Q_OBJECT

  public:
    using Chain = std::function<std::vector<CommandTarget*>()>;

    explicit CommandRouter(QObject* parent = nullptr);
    void SetChain(Chain chain) { m_chain = std::move(chain); }

    // Routes the action's triggers to the chain and lets the chain decide its state.
    void AddAction(int id, QAction* action);
    QAction* Action(int id) const { return m_actions.value(id); }
    QList<int> Ids() const { return m_actions.keys(); }

    // Runs the command along the chain; true when some target handled it.
    bool Execute(int id);
    // What the chain says of the command now.
    CommandState StateOf(int id) const;

  public slots:
    // Asks the chain for the state of every action and applies it.
    void UpdateAll();

  private:
    Chain m_chain;
    QHash<int, QPointer<QAction>> m_actions;
};

} // namespace platform
