// Shared set-up of the GUI tests: offscreen Qt, scripted message boxes and file dialogs, settings
// and the current directory kept away from the real ones.
#pragma once

#include "platform/FileDialogService.h"
#include "platform/MessageService.h"

#include <QAction>
#include <QKeySequence>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << testing::PrintToString(text.toStdString());
}

namespace vltest
{

// Every test that may meet a message box or a file dialog derives from this. At its end, a box or a
// dialog that the test did not take or answer fails it.
class GuiTest : public ::testing::Test
{
  protected:
    void SetUp() override;
    void TearDown() override;

    // The texts of the boxes shown since the last call.
    QStringList TakeMessages() { return m_messages.TakeTexts(); }
    void Answer(platform::MsgAnswer answer) { m_messages.QueueAnswer(answer); }
    void AnswerDialog(std::optional<QString> path) { m_dialogs.QueueAnswer(std::move(path)); }
    QList<platform::FileDialogRequest> TakeDialogs() { return m_dialogs.TakeRequests(); }

    // A fresh folder for the test's files, removed afterwards; ends without "/".
    QString TempPath() const { return m_temp.path(); }
    QString WriteFile(const QString& name, const QByteArray& bytes) const;
    static QByteArray ReadFile(const QString& path);

    platform::ScriptedMessageService m_messages;
    platform::ScriptedFileDialogService m_dialogs;
    QTemporaryDir m_temp;
    QString m_savedCurrentDir;
};

// Lets queued events (queued edit endings, deferred deletes) run.
void ProcessEvents();

// What a person does, on a shown window. A click goes through the top-level window at the middle of
// the widget (or at pos in it), so Qt gives it to whatever is on top there.
void Click(QWidget* widget, QPoint pos = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton);
// Presses the keys on whatever has the focus.
void Press(const QKeySequence& keys);
// Opens the menu of the window's menu bar that holds the item, clicks the item; false when the item
// is in no menu or its menu does not show.
bool ChooseFromMenu(QWidget* window, QAction* item);

} // namespace vltest
