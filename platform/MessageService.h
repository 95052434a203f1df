// Message boxes: one service, a real one over QMessageBox and a scriptable one for tests.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace platform
{

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgIcon { Default, Information, Question, Warning, Error }; // Default shows the exclamation
enum class MsgAnswer { Ok, Yes, No, Cancel };

// The caption of every box.
QString ApplicationTitle();

class MessageService
{
  public:
    virtual ~MessageService() = default;
    virtual MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) = 0;
};

// Builds a QMessageBox with the caption "Salvage Deck" and waits for the answer.
class QtMessageService : public MessageService
{
  public:
    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) override;
};

// Records every text and answers from a queue. An OK box needs no queued answer; a question with no
// queued answer is recorded as unexpected and cancelled, so a test fails instead of hanging.
class ScriptedMessageService : public MessageService
{
  public:
    struct Shown {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
    };

    MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon) override;

    void QueueAnswer(MsgAnswer answer) { m_answers.append(answer); }
    // The texts shown since the last call, in order; a test takes them to say they were expected.
    QStringList TakeTexts();
    const QList<Shown>& Pending() const { return m_shown; }
    const QStringList& Unexpected() const { return m_unexpected; }
    int QueuedAnswers() const { return static_cast<int>(m_answers.size()); }

  private:
    QList<MsgAnswer> m_answers;
    QList<Shown> m_shown;
    QStringList m_unexpected;
};

// The service in use; the real one unless a test installed another.
MessageService& Messages();
void SetMessageService(MessageService* service); // none restores the real one

// Shorthand for the program's boxes.
inline MsgAnswer ShowMessage(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                             MsgIcon icon = MsgIcon::Default)
{
    return Messages().Show(text, buttons, icon);
}

} // namespace platform
