// Shared set-up of the tests that drive the document alone or the whole application.
#pragma once

#include "document/CVLConfigDoc.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "shell/CMainFrame.h"
#include "shell/CVLConfigApp.h"
#include "support/GuiTest.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

namespace vltest
{

inline const QString kCannotOpen =
    QStringLiteral("File not found in the given location or Unable to open the file");
inline const QString kBadExtension = QStringLiteral("Invalid extension");
inline const QString kSavedInfo = QStringLiteral(
    "A configuration file (.INI) and a batch file (.BAT), both with the same name and folder path, have "
    "been created. You can launch the batch file separately to start Salvage Deck with the "
    "configuration file (or, you can click Preview).");

// A configuration in the writer's own form, so that saving it unchanged gives back these bytes: the
// general section (with a two-line description), MISC, a product with a path and one without.
inline QByteArray SmallConfig()
{
    return QByteArrayLiteral(
        "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Welcome\r\nPATH=C:\\LOGO.PCX\r\n"
        "DESCRIPTION=Pick one\r\rand press Enter\r\n\r\n[MISC]\r\nBIOSSTR=X1\r\n\r\n"
        "[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\nPATH=TOOLS.BAT\r\nDESCRIPTION=\r\n\r\n"
        "[Games]\r\nPARENT=Velmora Products\r\nTITLE=Games\r\nPATH=\r\nDESCRIPTION=\r\n\r\n");
}

// Another configuration, told apart by its title "Other".
inline const QByteArray kOtherConfig =
    "[GENERAL]\r\nPARENT=GENERAL\r\nTITLE=Other\r\nPATH=\r\nDESCRIPTION=d\r\n\r\n"
    "[Tools]\r\nPARENT=Velmora Products\r\nTITLE=Tools\r\nPATH=T.BAT\r\nDESCRIPTION=\r\n";

// A program folder of the test's own holding the real template, settings without a recent-file list,
// a document on its own, and the whole application once Start() is called.
class DocTest : public GuiTest
{
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(m_program));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VL_DATA_DIR "/VLDefault.cfg"),
                                m_program + QLatin1String("VLDefault.cfg")));
        platform::SetProgramFolderOverride(m_program);
        platform::RemoveSettings();
    }
    void TearDown() override
    {
        m_app.reset();
        m_doc.reset();
        platform::RemoveSettings();
        GuiTest::TearDown();
    }

    QString Path(const char* name) const { return TempPath() + QLatin1Char('/') + QLatin1String(name); }
    // Starts the application on a command line; true when it shows its window.
    bool Start(const QStringList& arguments = {})
    {
        m_app.reset();
        m_app = std::make_unique<vl::CVLConfigApp>();
        if (!m_app->InitInstance(arguments))
            return false;
        QApplication::setActiveWindow(m_app->MainFrame());
        ProcessEvents();
        return QTest::qWaitForWindowExposed(m_app->MainFrame());
    }
    vl::CMainFrame* Frame() const { return m_app->MainFrame(); }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    static void Key(int key, Qt::KeyboardModifiers mods = {}) // to the focused control
    {
        ASSERT_NE(Focus(), nullptr) << "no control took the focus";
        Press(QKeyCombination(mods, Qt::Key(key)));
    }
    vl::CVLConfigDoc* Doc() const { return m_app->Document(); }
    // Chooses the command from the window's menus; a file dialog it opens gets this answer.
    void Choose(int id, std::optional<QString> dialog = std::nullopt)
    {
        if (dialog)
            AnswerDialog(dialog);
        ASSERT_TRUE(Frame()->Action(id)->isEnabled()) << id;
        ASSERT_TRUE(ChooseFromMenu(Frame(), Frame()->Action(id))) << id;
    }
    static void Retype(QWidget* field, const QString& text)
    {
        Click(field);
        Press(QKeySequence::SelectAll);
        Press(Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    // The document's title as the window shows it.
    QString Shown() const { return Frame()->windowTitle().section(QStringLiteral(" - "), 1); }
    // A control of a page (the General one by default) by its object name; fails the test when it is missing.
    template <class T> T* Control(const char* name, int pageId = vl::kGeneralPageId) const
    {
        QWidget* page = Frame()->FindPage(pageId);
        T* control = page ? page->findChild<T*>(QLatin1String(name)) : nullptr;
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QString m_program = TempPath() + QStringLiteral("/program/");
    std::unique_ptr<vl::CVLConfigDoc> m_doc = std::make_unique<vl::CVLConfigDoc>();
    std::unique_ptr<vl::CVLConfigApp> m_app;
};

using AppTest = DocTest;

} // namespace vltest
